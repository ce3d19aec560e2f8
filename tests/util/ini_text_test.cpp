#include "util/ini_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kLinks =
    "[general]\r\nram=wrong\r\n[Links]\r\n RAM = https://shop.example/ram \r\n";

TEST(IniTextTest, FindsValuesAsAnIniReaderShould) {
    struct Case {
        const char* what;
        std::string text;
        const char* section;
        const char* key;
        std::string expected;
    };
    const Case cases[] = {
        {"names ignore case, value trimmed", kLinks, "links", "ram", "https://shop.example/ram"},
        {"the section decides", kLinks, "general", "RAM", "wrong"},
        {"missing section", kLinks, "other", "ram", "-"},
        {"missing key", kLinks, "links", "cpu", "-"},
        {"empty text", "", "links", "ram", "-"},
        {"key before any section", "ram=x\n", "links", "ram", "-"},
        {"LF line ends", "[links]\nram=a\nrom=b\n", "links", "rom", "b"},
        {"CR line ends", "[links]\rram=a\rrom=b", "links", "rom", "b"},
        {"byte-order mark skipped", "\xEF\xBB\xBF[links]\nram=a", "links", "ram", "a"},
        {"empty value is not missing", "[links]\nram=\n", "links", "ram", ""},
        {"first key wins", "[links]\nram=1\nram=2\n[links]\nram=3", "links", "ram", "1"},
        {"later section of the same name", "[links]\nrom=1\n[x]\n[LINKS]\nram=3", "links", "ram",
         "3"},
        {"quotes removed", "[links]\nram=\"a b\"\n", "links", "ram", "a b"},
        {"unpaired quote kept", "[links]\nram=\"a\n", "links", "ram", "\"a"},
        {"value with equals signs", "[links]\nram=https://x/?a=b=c\n", "links", "ram",
         "https://x/?a=b=c"},
        {"comments ignored", "[links]\n;ram=1\n#ram=2\nram=3\n", "links", "ram", "3"},
        {"section line with blanks", "[ links ]\nram=a\n", "links", "ram", "a"},
        {"unclosed section header ends the section", "[links]\n[broken\nram=a\n", "links", "ram",
         "-"},
        {"line without equals sign", "[links]\nram\nram=b\n", "links", "ram", "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadIniValue(c.text, c.section, c.key, "-"), c.expected);
    }
}

TEST(IniTextTest, ReadsAnOverlongLineOnlyUpToTheBound) {
    const std::string longValue(kIniMaxLineLength * 3, 'v');
    const std::string text = "[links]\nram=" + longValue + "\nrom=after\n";
    const std::string value = ReadIniValue(text, "links", "ram", "-");
    EXPECT_EQ(value.size(), kIniMaxLineLength - 4);
    EXPECT_EQ(ReadIniValue(text, "links", "rom", "-"), "after");
}

} // namespace
