#include "identify/identify_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

struct TextCase {
    const char* name;
    std::u16string utf16;
    std::string bytes; // code page 936, written as escapes
};

class IdentifyTextTest : public testing::TestWithParam<TextCase> {};

INSTANTIATE_TEST_SUITE_P(
    Characters, IdentifyTextTest,
    testing::Values(
        TextCase{"Ascii", u"Tarvik Tool 1.0\t!", "Tarvik Tool 1.0\t!"}, TextCase{"Empty", u"", ""},
        TextCase{"Chinese", u"\u4E2D\u6587\u5DE5\u5177", "\xD6\xD0\xCE\xC4\xB9\xA4\xBE\xDF"},
        TextCase{"AccentTheCodePageSpells", u"Pok\u00E8r", "Pok\xA8\xA8r"},
        TextCase{"RuleSymbols", u"Foo\u00AE Bar\u2122 \u00A9 2024", "Foo\xAE Bar\x99 \xA9 2024"},
        TextCase{"Euro", u"\u20AC5",
                 "\x80"
                 "5"},
        TextCase{"FullWidthLetter", u"\uFF21", "\xA3\xC1"},
        TextCase{"UnspellableBecomesQuestionMark", u"\u0100\u2603\u05D0", "???"},
        TextCase{"SurrogatePairIsOneCharacter", u"a\U0001F600b", "a?b"},
        TextCase{"LoneSurrogates",
                 u"a\xD800"
                 u"b\xDC00",
                 "a?b?"},
        TextCase{"PrivateUseOfTheUserArea", u"\uE000", "\xAA\xA1"}),
    [](const testing::TestParamInfo<TextCase>& info) { return info.param.name; });

TEST_P(IdentifyTextTest, ConvertsToCodePage936WithTheRuleSymbolsAsSingleBytes) {
    EXPECT_EQ(IdentifyTextFromUtf16(GetParam().utf16), GetParam().bytes);
}

struct DisplayCase {
    const char* name;
    std::string bytes;
    std::string utf8;
};

class Utf8FromIdentifyTextTest : public testing::TestWithParam<DisplayCase> {};

INSTANTIATE_TEST_SUITE_P(
    Bytes, Utf8FromIdentifyTextTest,
    testing::Values(DisplayCase{"Ascii", "C:\\Tools\\a.exe", "C:\\Tools\\a.exe"},
                    DisplayCase{"Chinese", "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
                    DisplayCase{"SymbolsBeforeBlanks", "Foo\xAE Bar\x99",
                                "Foo\xC2\xAE Bar\xE2\x84\xA2"},
                    DisplayCase{"CopyrightAtTheEnd", "\xA9", "\xC2\xA9"},
                    DisplayCase{"EuroByte", "\x80", "\xE2\x82\xAC"},
                    DisplayCase{"UndefinedByte", "\x81", "\xEF\xBF\xBD"}),
    [](const testing::TestParamInfo<DisplayCase>& info) { return info.param.name; });

TEST_P(Utf8FromIdentifyTextTest, ShowsTheBytesAsUtf8) {
    EXPECT_EQ(Utf8FromIdentifyText(GetParam().bytes), GetParam().utf8);
}

// Every character the code page spells comes back from its bytes.
TEST(IdentifyText, EveryConvertedCharacterReadsBack) {
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const std::u16string one(1, static_cast<char16_t>(c));
        const std::string bytes = IdentifyTextFromUtf16(one);
        if (bytes == "?" || bytes.size() != 2) {
            continue;
        }
        std::string utf8;
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
        if (c < 0x800) {
            utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        }
        ASSERT_EQ(Utf8FromIdentifyText(bytes), utf8)
            << "U+" << std::hex << static_cast<std::uint32_t>(c);
    }
}

TEST(IdentifyText, Utf16BytesReadAsIdentificationText) {
    using namespace std::string_literals;
    struct Case {
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"\xFF\xFEi\0d\0=\0001\0"s, "id=1"},
        {"a\0b\0"s, "ab"},
        {"a\0b"s, "a"},                      // an odd last byte is ignored
        {"-N\x87\x65"s, "\xD6\xD0\xCE\xC4"}, // 中文 in the 8-bit text
        {""s, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IdentifyTextFromUtf16Bytes(c.bytes), c.expected);
    }
}

// Strict UTF-8: every well-formed length decodes, including the limits of each; what is not UTF-8
// gives nothing.
TEST(IdentifyText, Utf8DecodesOnlyWellFormedBytes) {
    using namespace std::string_literals;
    struct Case {
        std::string bytes;
        std::optional<std::u16string> expected;
    };
    const Case cases[] = {
        {"", u""},
        {"id=1\t"s + '\0', u"id=1\t"s + u'\0'},
        {"\xC2\x80\xDF\xBF", u"\u0080\u07FF"},
        {"\xE5\x86\x85\xE5\xAD\x98", u"\u5185\u5B58"},
        {"\xEF\xBB\xBF"
         "a",
         u"\uFEFFa"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"\xC4\xDA\xB4\xE6", std::nullopt}, // GBK
        {"\x80", std::nullopt},             // a stray continuation byte
        {"\xE5\x86", std::nullopt},         // cut
        {"\xC0\xAF", std::nullopt},         // overlong
        {"\xE0\x80\xAF", std::nullopt},     // overlong
        {"\xF0\x80\x80\xAF", std::nullopt}, // overlong
        {"\xED\xA0\x80", std::nullopt},     // a surrogate
        {"\xF4\x90\x80\x80", std::nullopt}, // above U+10FFFF
        {"\xFF", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(Utf16FromUtf8(c.bytes), c.expected);
        EXPECT_EQ(IsUtf8(c.bytes), c.expected.has_value());
    }
}

} // namespace
