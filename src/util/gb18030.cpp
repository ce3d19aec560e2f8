#include "util/gb18030.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace {

// GB18030's ranges of the Basic Multilingual Plane in four bytes: each row is the pointer
// (the four-byte form's index) of a code point from which both count up together, until the
// next row. Ordered by pointer and by code point alike.
struct Range {
    uint32_t pointer;
    char32_t codePoint;
};

constexpr Range kRanges[] = {
    {0, 0x0080},     {36, 0x00A5},    {38, 0x00A9},    {45, 0x00B2},    {50, 0x00B8},
    {81, 0x00D8},    {89, 0x00E2},    {95, 0x00EB},    {96, 0x00EE},    {100, 0x00F4},
    {103, 0x00F8},   {104, 0x00FB},   {105, 0x00FD},   {109, 0x0102},   {126, 0x0114},
    {133, 0x011C},   {148, 0x012C},   {172, 0x0145},   {175, 0x0149},   {179, 0x014E},
    {208, 0x016C},   {306, 0x01CF},   {307, 0x01D1},   {308, 0x01D3},   {309, 0x01D5},
    {310, 0x01D7},   {311, 0x01D9},   {312, 0x01DB},   {313, 0x01DD},   {341, 0x01FA},
    {428, 0x0252},   {443, 0x0262},   {544, 0x02C8},   {545, 0x02CC},   {558, 0x02DA},
    {741, 0x03A2},   {742, 0x03AA},   {749, 0x03C2},   {750, 0x03CA},   {805, 0x0402},
    {819, 0x0450},   {820, 0x0452},   {7922, 0x2011},  {7924, 0x2017},  {7925, 0x201A},
    {7927, 0x201E},  {7934, 0x2027},  {7943, 0x2031},  {7944, 0x2034},  {7945, 0x2036},
    {7950, 0x203C},  {8062, 0x20AD},  {8148, 0x2104},  {8149, 0x2106},  {8152, 0x210A},
    {8164, 0x2117},  {8174, 0x2122},  {8236, 0x216C},  {8240, 0x217A},  {8262, 0x2194},
    {8264, 0x219A},  {8374, 0x2209},  {8380, 0x2210},  {8381, 0x2212},  {8384, 0x2216},
    {8388, 0x221B},  {8390, 0x2221},  {8392, 0x2224},  {8393, 0x2226},  {8394, 0x222C},
    {8396, 0x222F},  {8401, 0x2238},  {8406, 0x223E},  {8416, 0x2249},  {8419, 0x224D},
    {8424, 0x2253},  {8437, 0x2262},  {8439, 0x2268},  {8445, 0x2270},  {8482, 0x2296},
    {8485, 0x229A},  {8496, 0x22A6},  {8521, 0x22C0},  {8603, 0x2313},  {8936, 0x246A},
    {8946, 0x249C},  {9046, 0x254C},  {9050, 0x2574},  {9063, 0x2590},  {9066, 0x2596},
    {9076, 0x25A2},  {9092, 0x25B4},  {9100, 0x25BE},  {9108, 0x25C8},  {9111, 0x25CC},
    {9113, 0x25D0},  {9131, 0x25E6},  {9162, 0x2607},  {9164, 0x260A},  {9218, 0x2641},
    {9219, 0x2643},  {11329, 0x2E82}, {11331, 0x2E85}, {11334, 0x2E89}, {11336, 0x2E8D},
    {11346, 0x2E98}, {11361, 0x2EA8}, {11363, 0x2EAB}, {11366, 0x2EAF}, {11370, 0x2EB4},
    {11372, 0x2EB8}, {11375, 0x2EBC}, {11389, 0x2ECB}, {11682, 0x2FFC}, {11686, 0x3004},
    {11687, 0x3018}, {11692, 0x301F}, {11694, 0x302A}, {11714, 0x303F}, {11716, 0x3094},
    {11723, 0x309F}, {11725, 0x30F7}, {11730, 0x30FF}, {11736, 0x312A}, {11982, 0x322A},
    {11989, 0x3232}, {12102, 0x32A4}, {12336, 0x3390}, {12348, 0x339F}, {12350, 0x33A2},
    {12384, 0x33C5}, {12393, 0x33CF}, {12395, 0x33D3}, {12397, 0x33D6}, {12510, 0x3448},
    {12553, 0x3474}, {12851, 0x359F}, {12962, 0x360F}, {12973, 0x361B}, {13738, 0x3919},
    {13823, 0x396F}, {13919, 0x39D1}, {13933, 0x39E0}, {14080, 0x3A74}, {14298, 0x3B4F},
    {14585, 0x3C6F}, {14698, 0x3CE1}, {15583, 0x4057}, {15847, 0x4160}, {16318, 0x4338},
    {16434, 0x43AD}, {16438, 0x43B2}, {16481, 0x43DE}, {16729, 0x44D7}, {17102, 0x464D},
    {17122, 0x4662}, {17315, 0x4724}, {17320, 0x472A}, {17402, 0x477D}, {17418, 0x478E},
    {17859, 0x4948}, {17909, 0x497B}, {17911, 0x497E}, {17915, 0x4984}, {17916, 0x4987},
    {17936, 0x499C}, {17939, 0x49A0}, {17961, 0x49B8}, {18664, 0x4C78}, {18703, 0x4CA4},
    {18814, 0x4D1A}, {18962, 0x4DAF}, {19043, 0x9FA6}, {33469, 0xE76C}, {33470, 0xE7C8},
    {33471, 0xE7E7}, {33484, 0xE815}, {33485, 0xE819}, {33490, 0xE81F}, {33497, 0xE827},
    {33501, 0xE82D}, {33505, 0xE833}, {33513, 0xE83C}, {33520, 0xE844}, {33536, 0xE856},
    {33550, 0xE865}, {37845, 0xF92D}, {37921, 0xF97A}, {37948, 0xF996}, {38029, 0xF9E8},
    {38038, 0xF9F2}, {38064, 0xFA10}, {38065, 0xFA12}, {38066, 0xFA15}, {38069, 0xFA19},
    {38075, 0xFA22}, {38076, 0xFA25}, {38078, 0xFA2A}, {39108, 0xFE32}, {39109, 0xFE45},
    {39113, 0xFE53}, {39114, 0xFE58}, {39115, 0xFE67}, {39116, 0xFE6C}, {39265, 0xFF5F},
    {39394, 0xFFE6},
};

// The one four-byte form outside the ranges: GB18030 gave U+1E3F a two-byte form and U+E7C7 the
// four-byte form that U+1E3F had.
constexpr uint32_t kE7C7Pointer = 7457;
constexpr char32_t kE7C7 = 0xE7C7;

// The last pointer of the Basic Multilingual Plane (U+FFFF), and the first of the
// supplementary planes (U+10000), which take the rest in code point order.
constexpr uint32_t kLastBmpPointer = 39419;
constexpr uint32_t kFirstSupplementaryPointer = 189000;

// Characters that GB18030 spells in a two-byte form which code page 936 keeps for a private-use
// character: they take that private-use character's four-byte form instead, which is free
// because code page 936 spells the private-use character in two bytes.
struct Swap {
    char32_t character;
    char32_t privateUse;
};

constexpr Swap kSwaps[] = {
    {0x01F9, 0xE7C8}, {0x1E3F, 0xE7C7}, {0x2E81, 0xE815}, {0x2E84, 0xE819}, {0x2E88, 0xE81C},
    {0x2E8B, 0xE81D}, {0x2E8C, 0xE822}, {0x2E97, 0xE823}, {0x2EA7, 0xE830}, {0x2EAA, 0xE833},
    {0x2EAE, 0xE836}, {0x2EB3, 0xE838}, {0x2EB6, 0xE839}, {0x2EB7, 0xE83A}, {0x2EBB, 0xE83E},
    {0x2ECA, 0xE848}, {0x2FF0, 0xE7E8}, {0x2FF1, 0xE7E9}, {0x2FF2, 0xE7EA}, {0x2FF3, 0xE7EB},
    {0x2FF4, 0xE7EC}, {0x2FF5, 0xE7ED}, {0x2FF6, 0xE7EE}, {0x2FF7, 0xE7EF}, {0x2FF8, 0xE7F0},
    {0x2FF9, 0xE7F1}, {0x2FFA, 0xE7F2}, {0x2FFB, 0xE7F3}, {0x303E, 0xE7E7}, {0x3447, 0xE81B},
    {0x3473, 0xE81A}, {0x359E, 0xE81F}, {0x360E, 0xE821}, {0x361A, 0xE820}, {0x3918, 0xE825},
    {0x396E, 0xE824}, {0x39CF, 0xE827}, {0x39D0, 0xE82A}, {0x39DF, 0xE828}, {0x3A73, 0xE829},
    {0x3B4E, 0xE82D}, {0x3C6E, 0xE82E}, {0x3CE0, 0xE82F}, {0x4056, 0xE834}, {0x415F, 0xE835},
    {0x4337, 0xE837}, {0x43AC, 0xE83D}, {0x43B1, 0xE83C}, {0x43DD, 0xE83F}, {0x44D6, 0xE840},
    {0x464C, 0xE842}, {0x4661, 0xE841}, {0x4723, 0xE844}, {0x4729, 0xE845}, {0x477C, 0xE846},
    {0x478D, 0xE847}, {0x4947, 0xE849}, {0x497A, 0xE84A}, {0x497D, 0xE84B}, {0x4982, 0xE84C},
    {0x4983, 0xE84D}, {0x4985, 0xE84E}, {0x4986, 0xE84F}, {0x499B, 0xE851}, {0x499F, 0xE850},
    {0x49B6, 0xE853}, {0x49B7, 0xE852}, {0x4C77, 0xE85A}, {0x4C9F, 0xE857}, {0x4CA0, 0xE858},
    {0x4CA1, 0xE859}, {0x4CA2, 0xE85B}, {0x4CA3, 0xE856}, {0x4D13, 0xE85C}, {0x4D14, 0xE85D},
    {0x4D15, 0xE85E}, {0x4D16, 0xE85F}, {0x4D17, 0xE860}, {0x4D18, 0xE861}, {0x4D19, 0xE862},
    {0x4DAE, 0xE863},
};

uint32_t RangesPointerOf(char32_t codePoint) {
    if (codePoint == kE7C7) {
        return kE7C7Pointer;
    }
    const auto row = std::prev(std::upper_bound(
        std::begin(kRanges), std::end(kRanges), codePoint,
        [](char32_t wanted, const Range& range) { return wanted < range.codePoint; }));
    return row->pointer + static_cast<uint32_t>(codePoint - row->codePoint);
}

std::optional<char32_t> RangesCodePointOf(uint32_t pointer) {
    if (pointer == kE7C7Pointer) {
        return kE7C7;
    }
    const auto row = std::prev(std::upper_bound(
        std::begin(kRanges), std::end(kRanges), pointer,
        [](uint32_t wanted, const Range& range) { return wanted < range.pointer; }));
    return row->codePoint + (pointer - row->pointer);
}

bool IsLead(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool IsDigit(unsigned char byte) {
    return byte >= 0x30 && byte <= 0x39;
}

bool IsSurrogate(char32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

std::string FormOfPointer(uint32_t pointer) {
    std::string form(4, '\0');
    form[3] = static_cast<char>(0x30 + pointer % 10);
    pointer /= 10;
    form[2] = static_cast<char>(0x81 + pointer % 126);
    pointer /= 126;
    form[1] = static_cast<char>(0x30 + pointer % 10);
    pointer /= 10;
    form[0] = static_cast<char>(0x81 + pointer);
    return form;
}

void AppendUtf16(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

} // namespace

std::string FourByteFormOf(char32_t codePoint) {
    if (codePoint < 0x80 || IsSurrogate(codePoint) || codePoint > 0x10FFFF) {
        return {};
    }
    if (codePoint >= 0x10000) {
        return FormOfPointer(kFirstSupplementaryPointer + (codePoint - 0x10000));
    }
    const auto swap = std::find_if(std::begin(kSwaps), std::end(kSwaps),
                                   [&](const Swap& row) { return row.character == codePoint; });
    return FormOfPointer(RangesPointerOf(swap != std::end(kSwaps) ? swap->privateUse : codePoint));
}

std::optional<char32_t> CodePointOfFourByteForm(std::string_view form) {
    if (form.size() != 4 || !StartsWithFourByteForm(form)) {
        return std::nullopt;
    }
    const auto byte = [&](size_t index) { return static_cast<unsigned char>(form[index]); };
    const uint32_t pointer =
        ((static_cast<uint32_t>(byte(0) - 0x81) * 10 + (byte(1) - 0x30)) * 126 + (byte(2) - 0x81)) *
            10 +
        (byte(3) - 0x30);
    if (pointer >= kFirstSupplementaryPointer) {
        const uint32_t codePoint = 0x10000 + (pointer - kFirstSupplementaryPointer);
        return codePoint <= 0x10FFFF ? std::optional<char32_t>(codePoint) : std::nullopt;
    }
    if (pointer > kLastBmpPointer) {
        return std::nullopt;
    }
    const std::optional<char32_t> codePoint = RangesCodePointOf(pointer);
    const auto swap = std::find_if(std::begin(kSwaps), std::end(kSwaps),
                                   [&](const Swap& row) { return row.privateUse == *codePoint; });
    return swap != std::end(kSwaps) ? swap->character : *codePoint;
}

bool StartsWithFourByteForm(std::string_view text) {
    const auto byte = [&](size_t index) { return static_cast<unsigned char>(text[index]); };
    return text.size() >= 4 && IsLead(byte(0)) && IsDigit(byte(1)) && IsLead(byte(2)) &&
           IsDigit(byte(3));
}

std::string EightBitFromUtf16(std::u16string_view text, const CodePage936& codePage) {
    std::string result;
    size_t runStart = 0;
    const auto endRun = [&](size_t end) {
        if (end > runStart) {
            result += codePage.encode(text.substr(runStart, end - runStart));
        }
    };
    for (size_t i = 0; i < text.size();) {
        const char16_t unit = text[i];
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            endRun(i);
            result += FourByteFormOf(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                     (static_cast<char32_t>(text[i + 1]) - 0xDC00));
            i += 2;
            runStart = i;
        } else if (unit >= 0x80 && !IsSurrogate(unit) && !codePage.spells(unit)) {
            endRun(i);
            result += FourByteFormOf(unit);
            runStart = ++i;
        } else {
            ++i;
        }
    }
    endRun(text.size());
    return result;
}

std::u16string Utf16FromEightBit(std::string_view text, const CodePage936& codePage) {
    std::u16string result;
    size_t runStart = 0;
    for (size_t i = 0; i < text.size();) {
        const std::optional<char32_t> codePoint = StartsWithFourByteForm(text.substr(i))
                                                      ? CodePointOfFourByteForm(text.substr(i, 4))
                                                      : std::nullopt;
        if (!codePoint) {
            // A GBK lead byte takes its trail byte along, which may look like a lead itself.
            i += IsLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
            continue;
        }
        if (i > runStart) {
            result += codePage.decode(text.substr(runStart, i - runStart));
        }
        AppendUtf16(result, *codePoint);
        i += 4;
        runStart = i;
    }
    if (text.size() > runStart) {
        result += codePage.decode(text.substr(runStart));
    }
    return result;
}
