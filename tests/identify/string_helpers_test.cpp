#include "identify/string_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

// "程序" in GBK: bytes of 0x80 and above, which are neither letters nor trimmed.
const std::string kGbkWord = "\xB3\xCC\xD0\xF2";

TEST(TrimTest, RemovesBytesUpToCode32AtBothEndsOnly) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"", ""},
        {"   ", ""},
        {" \t\r\nFoo Bar\x01\x1F ", "Foo Bar"},
        {"a", "a"},
        {"  a  b  ", "a  b"},
        {"\x7F x \x7F", "\x7F x \x7F"},
        {" " + kGbkWord + " ", kGbkWord},
        {"\xA9 Foo \xA0", "\xA9 Foo \xA0"},
        {std::string("\0a\0", 3), "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Trim(c.text), c.expected);
    }
}

TEST(CaseTest, TestsFoldAsciiLettersOnly) {
    using Test = bool (*)(std::string_view, std::string_view);
    struct Case {
        const char* name;
        Test test;
        std::string a;
        std::string b;
        bool expected;
    };
    const Case cases[] = {
        {"EqualsNoCase", EqualsNoCase, "Foo Inc", "fOO iNC", true},
        {"EqualsNoCase", EqualsNoCase, "Foo", "Foo ", false},
        {"EqualsNoCase", EqualsNoCase, "", "", true},
        {"EqualsNoCase", EqualsNoCase, "\xC0", "\xE0", false},
        {"EqualsNoCase", EqualsNoCase, "[", "{", false},
        {"EqualsNoCase", EqualsNoCase, "@", "`", false},
        {"EqualsNoCase", EqualsNoCase, kGbkWord + "A", kGbkWord + "a", true},
        {"ContainsNoCase", ContainsNoCase, "", "anything", false},
        {"ContainsNoCase", ContainsNoCase, "", "", false},
        {"ContainsNoCase", ContainsNoCase, "MEDIA", "JRiver Media Center", true},
        {"ContainsNoCase", ContainsNoCase, "center", "JRiver Media Center", true},
        {"ContainsNoCase", ContainsNoCase, "Centre", "JRiver Media Center", false},
        {"ContainsNoCase", ContainsNoCase, "JRiver Media Center!", "JRiver Media Center", false},
        {"ContainsNoCase", ContainsNoCase, "\xD0\xF2", kGbkWord, true},
        {"StartsWithNoCase", StartsWithNoCase, "Foo", "", true},
        {"StartsWithNoCase", StartsWithNoCase, "", "", true},
        {"StartsWithNoCase", StartsWithNoCase, "Foo", "fOO", true},
        {"StartsWithNoCase", StartsWithNoCase, "Fo", "Foo", false},
        {"StartsWithNoCase", StartsWithNoCase, "xFoo", "Foo", false},
        {"EndsWithNoCase", EndsWithNoCase, "Foo.EXE", ".exe", true},
        {"EndsWithNoCase", EndsWithNoCase, "exe", ".exe", false},
        {"EndsWithNoCase", EndsWithNoCase, "Foo", "", true},
        {"EndsWithNoCase", EndsWithNoCase, "Foo.exe ", ".exe", false},
        {"StartsWithExact", StartsWithExact, "Foo", "Foo", true},
        {"StartsWithExact", StartsWithExact, "Foo", "foo", false},
        {"StartsWithExact", StartsWithExact, "Foo", "", true},
        {"StartsWithExact", StartsWithExact, "F", "Fo", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "('" + c.a + "', '" + c.b + "')");
        EXPECT_EQ(c.test(c.a, c.b), c.expected);
    }
}

TEST(CutTest, CutsAndMarkersGiveTheirDocumentedResults) {
    using Cut = std::string (*)(std::string_view, std::string_view);
    struct Case {
        const char* name;
        Cut cut;
        std::string text;
        std::string marker;
        std::string expected;
    };
    const Case cases[] = {
        {"CutPrefixNoCase", CutPrefixNoCase, "JRiver Media Center", "JRiver ", "Media Center"},
        {"CutPrefixNoCase", CutPrefixNoCase, "jriver   Media Center ", "JRIVER", "Media Center"},
        {"CutPrefixNoCase", CutPrefixNoCase, "  Media Center  ", "JRiver", "  Media Center  "},
        {"CutPrefixNoCase", CutPrefixNoCase, "JRiver", "JRiver", ""},
        {"CutPrefixNoCase", CutPrefixNoCase, "JRiv", "JRiver", "JRiv"},
        {"CutPrefixNoCase", CutPrefixNoCase, " padded ", "", "padded"},
        {"CutSuffixNoCase", CutSuffixNoCase, "Foo Setup -", " -", "Foo Setup"},
        {"CutSuffixNoCase", CutSuffixNoCase, " Foo  SETUP", "setup", "Foo"},
        {"CutSuffixNoCase", CutSuffixNoCase, " Foo Setup ", "Setup", " Foo Setup "},
        {"CutSuffixNoCase", CutSuffixNoCase, "-", " -", "-"},
        {"TextAfter", TextAfter, "a<b>c<b>d", "<b>", "c<b>d"},
        {"TextAfter", TextAfter, "a<b>c", "<B>", "a<b>c"},
        {"TextAfter", TextAfter, "abc", "", "abc"},
        {"TextAfter", TextAfter, "abc", "c", ""},
        {"TextBefore", TextBefore, "a<b>c<b>d", "<b>", "a"},
        {"TextBefore", TextBefore, "abc", "x", "abc"},
        {"TextBefore", TextBefore, "abc", "", "abc"},
        {"TextBefore", TextBefore, "abc", "a", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "('" + c.text + "', '" + c.marker + "')");
        EXPECT_EQ(c.cut(c.text, c.marker), c.expected);
    }
}

TEST(PartTest, CountsAreClampedToTheText) {
    struct Case {
        int n;
        std::string left;
        std::string right;
    };
    const Case cases[] = {
        {-5, "", ""},
        {0, "", ""},
        {2, "ab", "de"},
        {5, "abcde", "abcde"},
        {6, "abcde", "abcde"},
        {std::numeric_limits<int>::max(), "abcde", "abcde"},
        {std::numeric_limits<int>::min(), "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(LeftPart("abcde", c.n), c.left);
        EXPECT_EQ(RightPart("abcde", c.n), c.right);
    }
    EXPECT_EQ(LeftPart("", 3), "");
    EXPECT_EQ(RightPart("", 3), "");
}

TEST(LargerTest, ComparesSignedValues) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(Larger(3, -4), 3);
    EXPECT_EQ(Larger(-4, 3), 3);
    EXPECT_EQ(Larger(kMin, -1), -1);
    EXPECT_EQ(Larger(7, 7), 7);
}

TEST(FieldTest, CountInSetAndFieldAtAgreeOnTheFields) {
    struct Case {
        std::string text;
        std::string delimiters;
        int count;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"", " ", 0, {}},
        {"abc", " ", 1, {"abc"}},
        {"a  b", " ", 3, {"a", "", "b"}},
        {"a,,b", ",", 3, {"a", "", "b"}},
        {" a ", " ", 3, {"", "a", ""}},
        {"2005-2010 Foo", " -", 3, {"2005", "2010", "Foo"}},
        {",", ",", 2, {"", ""}},
        {"a.b", "", 1, {"a.b"}},
        {kGbkWord + " x", " ", 2, {kGbkWord, "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.text + "' at '" + c.delimiters + "'");
        EXPECT_EQ(CountInSet(c.text, c.delimiters), c.count);
        for (std::size_t i = 0; i < c.fields.size(); ++i) {
            EXPECT_EQ(FieldAt(c.text, static_cast<int>(i), c.delimiters), c.fields[i]);
        }
        EXPECT_EQ(FieldAt(c.text, static_cast<int>(c.fields.size()), c.delimiters), "");
        EXPECT_EQ(FieldAt(c.text, -1, c.delimiters), "");
    }
}

TEST(FileBaseNameTest, CutsFolderAndLastExtension) {
    struct Case {
        std::string path;
        std::string expected;
    };
    const Case cases[] = {
        {"C:\\Program Files\\App\\app.setup.exe", "app.setup"},
        {"C:\\Tools\\README", "README"},
        {"C:\\Tools\\.cfg", ""},
        {"C:app.exe", "app"},
        {"app.exe", "app"},
        {"C:\\v1.2\\tool", "tool"},
        {"C:\\Tools\\", ""},
        {"", ""},
        {"C:\\" + kGbkWord + ".exe", kGbkWord},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileBaseName(c.path), c.expected);
    }
}

// "運" is 0xDF 0x5C in GBK: its second byte is no "\\". Four-byte GB18030 forms
// ("\x81\x30\x81\x30") are walked as two pairs.
TEST(PathPartsTest, SecondBytesOfDoubleByteCharactersAreNoSeparators) {
    struct Case {
        std::string path;
        std::string folder;
        std::string fileName;
        std::string base;
    };
    const Case cases[] = {
        {"C:\\Apps\\運动.exe", "C:\\Apps\\", "運动.exe", "運动"},
        {"C:\\運\\tool.exe", "C:\\運\\", "tool.exe", "tool"},
        {"C:\\Apps\\運", "C:\\Apps\\", "運", "運"},
        {"運.exe", "", "運.exe", "運"},
        {"C:\\\x81\x30\x81\x30\\a.exe", "C:\\\x81\x30\x81\x30\\", "a.exe", "a"},
        {"C:\\Apps\\", "C:\\Apps\\", "", ""},
        {"\xDF", "", "\xDF", "\xDF"}, // a lead byte at the end
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(PathFolder(c.path), c.folder);
        EXPECT_EQ(PathFileName(c.path), c.fileName);
        EXPECT_EQ(FileBaseName(c.path), c.base);
    }
    EXPECT_FALSE(EndsWithSeparator("C:\\Apps\\運"));
    EXPECT_TRUE(EndsWithSeparator("C:\\Apps\\運\\"));
    EXPECT_FALSE(EndsWithSeparator(""));
}

TEST(NameTailTest, TrailingWebWordsAndSeparatorsGo) {
    using Strip = std::string (*)(std::string_view);
    struct Case {
        const char* name;
        Strip strip;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"StripTrailingWebWords", StripTrailingWebWords, "Foo http://a.com HTTP://b.org", "Foo"},
        {"StripTrailingWebWords", StripTrailingWebWords, "http://a.com", "http://a.com"},
        {"StripTrailingWebWords", StripTrailingWebWords, "Foo", "Foo"},
        {"StripTrailingWebWords", StripTrailingWebWords, "", ""},
        {"StripTrailingWebWords", StripTrailingWebWords, "Foo https://a.com", "Foo https://a.com"},
        {"StripTrailingWebWords", StripTrailingWebWords, "http://a.com Foo", "http://a.com Foo"},
        {"StripTrailingWebWords", StripTrailingWebWords, "Foo http://a.com ", "Foo http://a.com "},
        {"StripTrailingWebWords", StripTrailingWebWords, "Foo  http://a.com", "Foo"},
        {"StripTrailingWebWords", StripTrailingWebWords, " http://a.com", ""},
        {"StripNameTail", StripNameTail, "Foo - http://a.com -", "Foo"},
        {"StripNameTail", StripNameTail, "  Foo Player  ", "Foo Player"},
        {"StripNameTail", StripNameTail, "Foo - -", "Foo"},
        {"StripNameTail", StripNameTail, "Foo-", "Foo-"},
        {"StripNameTail", StripNameTail, " -", "-"},
        {"StripNameTail", StripNameTail, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "('" + c.text + "')");
        EXPECT_EQ(c.strip(c.text), c.expected);
    }
}

} // namespace
