#include "identify/identify_text.h"

#include "identify/cp936_table.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace {

struct SymbolByte {
    char16_t character;
    char byte;
};

// The symbols the name rules compare as Windows-1252 bytes.
constexpr std::array<SymbolByte, 3> kRuleSymbols = {{
    {u'\u00AE', '\xAE'}, // registered sign
    {u'\u2122', '\x99'}, // trade mark sign
    {u'\u00A9', '\xA9'}, // copyright sign
}};

// Windows-1252 bytes 0x80 to 0x9F; 0 where the code page leaves a byte undefined. From 0xA0 on
// the byte is the character of the same number.
constexpr std::array<char16_t, 32> kWindows1252High = {
    u'\u20AC', 0,         u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', 0,         u'\u017D', 0,
    0,         u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', 0,         u'\u017E', u'\u0178'};

std::optional<std::uint16_t> CodeOf(char16_t character) {
    const auto pairs = Cp936PairsByCharacter();
    const auto found = std::lower_bound(
        pairs.begin(), pairs.end(), character,
        [](const Cp936Pair& pair, char16_t wanted) { return pair.character < wanted; });
    if (found == pairs.end() || found->character != character) {
        return std::nullopt;
    }
    return found->code;
}

std::optional<char16_t> CharacterOf(std::uint16_t code) {
    const auto pairs = Cp936PairsByCode();
    const auto found = std::lower_bound(
        pairs.begin(), pairs.end(), code,
        [](const Cp936Pair& pair, std::uint16_t wanted) { return pair.code < wanted; });
    if (found == pairs.end() || found->code != code) {
        return std::nullopt;
    }
    return found->character;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes strict UTF-8, handing each code point to take; false at the first byte that is not
// UTF-8.
template <typename Take>
bool DecodeUtf8(std::string_view bytes, Take take) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        // The length of the sequence, and the least code point it may spell (shorter forms of
        // the same code point are not UTF-8).
        std::size_t length = 0;
        char32_t least = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            length = 1;
            c = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            least = 0x80;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            least = 0x800;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            least = 0x10000;
            c = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto trail = static_cast<unsigned char>(bytes[i + k]);
            if ((trail & 0xC0) != 0x80) {
                return false;
            }
            c = c << 6 | (trail & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        take(c);
        i += length;
    }
    return true;
}

} // namespace

std::string IdentifyTextFromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
            out += '?';
            continue;
        }
        const auto symbol = std::find_if(kRuleSymbols.begin(), kRuleSymbols.end(),
                                         [c](const SymbolByte& s) { return s.character == c; });
        if (symbol != kRuleSymbols.end()) {
            out += symbol->byte;
            continue;
        }
        const auto code = CodeOf(c);
        if (!code) {
            out += '?';
        } else if (*code < 0x100) {
            out += static_cast<char>(*code);
        } else {
            out += static_cast<char>(*code >> 8);
            out += static_cast<char>(*code & 0xFF);
        }
    }
    return out;
}

std::string Utf8FromIdentifyText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            continue;
        }
        if (i + 1 < text.size()) {
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            if (const auto character = CharacterOf(static_cast<std::uint16_t>(byte << 8 | trail))) {
                AppendUtf8(out, *character);
                ++i;
                continue;
            }
        }
        const char16_t single = byte >= 0xA0 ? char16_t{byte} : kWindows1252High[byte - 0x80];
        AppendUtf8(out, single != 0 ? char32_t{single} : char32_t{0xFFFD});
    }
    return out;
}

bool IsUtf8(std::string_view bytes) {
    return DecodeUtf8(bytes, [](char32_t) {});
}

std::optional<std::u16string> Utf16FromUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    const bool decoded = DecodeUtf8(bytes, [&text](char32_t c) {
        if (c >= 0x10000) {
            text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += static_cast<char16_t>(c);
        }
    });
    if (!decoded) {
        return std::nullopt;
    }
    return text;
}

std::string IdentifyTextFromUtf16Bytes(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        bytes.remove_prefix(2);
    }
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    return IdentifyTextFromUtf16(text);
}
