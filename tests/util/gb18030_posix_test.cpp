#include "util/gb18030.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

// One conversion of the C library's iconv; nothing when it cannot convert the whole text.
class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    ~Iconv() { iconv_close(handle_); }

    std::optional<std::string> operator()(std::string_view text) const {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string in(text);
        std::string out(in.size() * 4 + 16, '\0');
        char* inPointer = in.data();
        size_t inLeft = in.size();
        char* outPointer = out.data();
        size_t outLeft = out.size();
        if (iconv(handle_, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1)) {
            return std::nullopt;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t handle_;
};

std::string Utf32(char32_t codePoint) {
    return std::string(reinterpret_cast<const char*>(&codePoint), sizeof codePoint);
}

std::optional<char32_t> CodePointOfUtf32(const std::optional<std::string>& text) {
    if (!text || text->size() != sizeof(char32_t)) {
        return std::nullopt;
    }
    char32_t codePoint = 0;
    text->copy(reinterpret_cast<char*>(&codePoint), sizeof codePoint);
    return codePoint;
}

bool IsSurrogate(char32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

bool IsPrivateUse(char32_t codePoint) {
    return codePoint >= 0xE000 && codePoint <= 0xF8FF;
}

struct Converters {
    Iconv toGb18030{"GB18030", "UTF-32LE"};
    Iconv fromGb18030{"UTF-32LE", "GB18030"};
    Iconv toCp936{"CP936", "UTF-32LE"};
    Iconv fromCp936{"UTF-32LE", "CP936"};
    Iconv toUtf16{"UTF-16LE", "CP936"};
    Iconv fromUtf16{"CP936", "UTF-16LE"};

    // Whether the C library's code page 936 spells the character and reads it back. Windows
    // spells more: the private-use characters of GBK's user-defined areas.
    bool Cp936Spells(char32_t codePoint) const {
        const auto bytes = toCp936(Utf32(codePoint));
        return bytes && CodePointOfUtf32(fromCp936(*bytes)) == codePoint;
    }
};

const Converters& Iconvs() {
    static const Converters converters;
    return converters;
}

// The four-byte forms are GB18030's for every character of the Basic Multilingual Plane that
// GB18030 spells in four bytes, both ways.
TEST(Gb18030Test, BmpFourByteFormsAreGb18030s) {
    const Converters& iconvs = Iconvs();
    int compared = 0;
    for (char32_t codePoint = 0x80; codePoint <= 0xFFFF; ++codePoint) {
        if (IsSurrogate(codePoint)) {
            continue;
        }
        const auto expected = iconvs.toGb18030(Utf32(codePoint));
        if (!expected || expected->size() != 4) {
            continue;
        }
        ++compared;
        ASSERT_EQ(FourByteFormOf(codePoint), *expected)
            << std::hex << static_cast<uint32_t>(codePoint);
        if (!IsPrivateUse(codePoint)) {
            ASSERT_EQ(CodePointOfFourByteForm(*expected), codePoint)
                << std::hex << static_cast<uint32_t>(codePoint);
        }
    }
    // Most of the plane outside the CJK block is spelled in four bytes.
    EXPECT_GT(compared, 39000);
}

// Every character that code page 936 does not spell comes back from its four-byte form, and
// the forms of two characters never meet. Windows' own code page is checked under Wine; here
// its private-use characters are left out, which the C library's code page 936 does not spell.
TEST(Gb18030Test, EveryCharacterOutsideCodePage936RoundTrips) {
    const Converters& iconvs = Iconvs();
    for (char32_t codePoint = 0x80; codePoint <= 0x10FFFF; ++codePoint) {
        if (IsSurrogate(codePoint) || IsPrivateUse(codePoint) ||
            (codePoint <= 0xFFFF && iconvs.Cp936Spells(codePoint))) {
            continue;
        }
        const std::string form = FourByteFormOf(codePoint);
        ASSERT_EQ(form.size(), 4u) << std::hex << static_cast<uint32_t>(codePoint);
        ASSERT_EQ(CodePointOfFourByteForm(form), codePoint)
            << std::hex << static_cast<uint32_t>(codePoint);
    }
}

// Characters that GB18030 spells in two bytes where code page 936 has a private-use character
// take that private-use character's four-byte form; characters that the newer edition of
// GB18030 moved into two bytes keep the four-byte forms of the earlier one.
TEST(Gb18030Test, CharactersGb18030SpellsInTwoBytesGetFreeFourByteForms) {
    const Converters& iconvs = Iconvs();
    for (char32_t codePoint = 0x80; codePoint <= 0xFFFF; ++codePoint) {
        if (IsSurrogate(codePoint) || IsPrivateUse(codePoint) || iconvs.Cp936Spells(codePoint)) {
            continue;
        }
        const auto gb18030 = iconvs.toGb18030(Utf32(codePoint));
        if (!gb18030 || gb18030->size() != 2) {
            continue;
        }
        const auto heldBy = CodePointOfUtf32(iconvs.fromGb18030(FourByteFormOf(codePoint)));
        EXPECT_TRUE(!heldBy || IsPrivateUse(*heldBy))
            << std::hex << static_cast<uint32_t>(codePoint);
    }
    struct Case {
        char32_t codePoint;
        std::string form;
    };
    const Case cases[] = {
        {0x1E3F, "\x81\x35\xF4\x37"}, // the form U+E7C7 had
        {0x01F9, "\x83\x36\xC8\x30"}, // U+E7C8's
        {0xFE10, "\x84\x31\x82\x36"},
        {0x9FB4, "\x82\x35\x90\x37"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FourByteFormOf(c.codePoint), c.form)
            << std::hex << static_cast<uint32_t>(c.codePoint);
        EXPECT_EQ(CodePointOfFourByteForm(c.form), c.codePoint)
            << std::hex << static_cast<uint32_t>(c.codePoint);
    }
}

TEST(Gb18030Test, SupplementaryPlanesFollowGb18030) {
    const Converters& iconvs = Iconvs();
    for (char32_t codePoint = 0x10000; codePoint <= 0x10FFFF; codePoint += 97) {
        const auto expected = iconvs.toGb18030(Utf32(codePoint));
        ASSERT_TRUE(expected);
        if (expected->size() != 4) {
            continue; // the few that GB18030 spells in two bytes
        }
        ASSERT_EQ(FourByteFormOf(codePoint), *expected)
            << std::hex << static_cast<uint32_t>(codePoint);
        ASSERT_EQ(CodePointOfFourByteForm(*expected), codePoint)
            << std::hex << static_cast<uint32_t>(codePoint);
    }
    EXPECT_EQ(FourByteFormOf(0x10000), "\x90\x30\x81\x30");
    EXPECT_EQ(FourByteFormOf(0x1F600), "\x94\x39\xFC\x36");
    EXPECT_EQ(FourByteFormOf(0x10FFFF), "\xE3\x32\x9A\x35");
}

TEST(Gb18030Test, WhatHasNoFourByteForm) {
    for (const char32_t codePoint :
         {U'\0', U'A', U'\x7F', char32_t{0xD800}, char32_t{0xDFFF}, char32_t{0x110000}}) {
        EXPECT_EQ(FourByteFormOf(codePoint), "") << std::hex << static_cast<uint32_t>(codePoint);
    }
    const std::string notForms[] = {
        "",
        "\x81\x30\x81",
        "\x81\x30\x81\x30\x30",
        "\x80\x30\x81\x30",
        "\x81\x30\x80\x30",
        "\x81\x3A\x81\x30",
        "\x84\x31\xA5\x30", // after U+FFFF
        "\x8F\x39\xFE\x39", // between the planes
        "\xE3\x32\x9A\x36", // after U+10FFFF
        "\xFE\x39\xFE\x39",
    };
    for (const std::string& form : notForms) {
        EXPECT_EQ(CodePointOfFourByteForm(form), std::nullopt) << form;
    }
    EXPECT_EQ(CodePointOfFourByteForm("\x81\x30\x81\x30"), U'\x80');
    EXPECT_EQ(CodePointOfFourByteForm("\x84\x31\xA4\x39"), U'\xFFFF');
}

// The C library's code page 936 stands in for Windows' in the conversions.
CodePage936 IconvCodePage() {
    return {
        [](char16_t character) { return Iconvs().Cp936Spells(character); },
        [](std::u16string_view run) {
            const std::string utf16(reinterpret_cast<const char*>(run.data()), run.size() * 2);
            return Iconvs().fromUtf16(utf16).value_or("?");
        },
        [](std::string_view run) {
            const std::string utf16 = Iconvs().toUtf16(run).value_or("?\0");
            return std::u16string(reinterpret_cast<const char16_t*>(utf16.data()),
                                  utf16.size() / 2);
        },
    };
}

TEST(Gb18030Test, TextKeepsGbkAndSpellsTheRestInFourBytes) {
    struct Case {
        std::u16string wide;
        std::string eightBit;
    };
    const Case cases[] = {
        {u"", ""},
        {u"C:\\Users\\Jim", "C:\\Users\\Jim"},
        {u"内存条", "\xC4\xDA\xB4\xE6\xCC\xF5"},
        {u"C:\\Users\\J\u00F8rgen", "C:\\Users\\J\x81\x30\x8B\x33rgen"},
        {u"\uD55C\uAD6D\uC5B4", "\x83\x36\x84\x33\x82\x37\xF4\x30\x83\x32\xEB\x35"},
        {u"a\U0001F600b", "a\x94\x39\xFC\x36"
                          "b"},
        {u"内\u00DF存", "\xC4\xDA\x81\x30\x89\x38\xB4\xE6"},
        {u"\u00E5\u00F1", "\x81\x30\x8A\x32\x81\x30\x8A\x39"},
    };
    const CodePage936 codePage = IconvCodePage();
    for (const Case& c : cases) {
        EXPECT_EQ(EightBitFromUtf16(c.wide, codePage), c.eightBit) << c.eightBit;
        EXPECT_EQ(Utf16FromEightBit(c.eightBit, codePage), c.wide) << c.eightBit;
    }
}

// A lone surrogate has no spelling anywhere: the code page writes its default character.
TEST(Gb18030Test, LoneSurrogatesAreLeftToTheCodePage) {
    const CodePage936 codePage = IconvCodePage();
    std::u16string seen;
    CodePage936 recording = codePage;
    recording.encode = [&](std::u16string_view run) {
        seen += run;
        std::string bytes;
        for (const char16_t unit : run) {
            bytes += unit < 0x80 ? static_cast<char>(unit) : '?';
        }
        return bytes;
    };
    const std::u16string text = {u'a', char16_t{0xD800}, u'b', char16_t{0xDC00}};
    EXPECT_EQ(EightBitFromUtf16(text, recording), "a?b?");
    EXPECT_EQ(seen, text);
}

// Bytes that only look like the start of a four-byte form, and GBK pairs whose trail byte is a
// lead byte, are read as code page 936 text.
TEST(Gb18030Test, OnlyWholeFourByteFormsAreReadAsOne) {
    std::string passed;
    CodePage936 recording = IconvCodePage();
    recording.decode = [&](std::string_view run) {
        passed += std::string(run) + "|";
        return std::u16string(run.size(), u'.');
    };
    struct Case {
        std::string eightBit;
        std::string passedOn;
    };
    const Case cases[] = {
        {"\x81\x30\x81", "\x81\x30\x81|"},
        // A GBK pair first: its trail byte does not start the form "\x81\x30\x81\x30".
        {"\xB0\x81\x30\x81\x30", "\xB0\x81\x30\x81\x30|"},
        {"ab\x81\x30\x8B\x33"
         "cd",
         "ab|cd|"},
        {"\x84\x31\xA5\x30", "\x84\x31\xA5\x30|"},
    };
    for (const Case& c : cases) {
        passed.clear();
        Utf16FromEightBit(c.eightBit, recording);
        EXPECT_EQ(passed, c.passedOn) << c.eightBit;
    }
}

} // namespace
