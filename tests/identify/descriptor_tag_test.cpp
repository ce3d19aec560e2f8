#include "identify/descriptor_tag.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(DescriptorTagTest, ReadsTheValueOfTheLastMatchingLine) {
    struct Case {
        const char* what;
        std::string tag;
        std::vector<std::string> lines;
        std::string expected;
    };
    const Case cases[] = {
        {"plain tag",
         "name",
         {"<application>", "  <name> Foo Player </name>\r", "</application>"},
         "Foo Player"},
        {"no such tag", "name", {"<application>", "<filename>foo</filename>"}, ""},
        {"no lines", "name", {}, ""},
        {"later line wins", "name", {"<name>First</name>", "<name>Second</name>"}, "Second"},
        {"later empty value wins", "name", {"<name>First</name>", "<name></name>"}, ""},
        {"tag inside a comment",
         "versionNumber",
         {"\t<!-- <versionNumber>2.5.1</versionNumber> -->"},
         "2.5.1"},
        {"remark after the tag", "name", {"<name>Foo</name> <!-- shown in the menu -->"}, "Foo"},
        {"remark before the tag", "name", {"<!-- shown in the menu --> <name>Foo</name>"}, "Foo"},
        {"no closing tag", "copyright", {"<copyright>(c) Foo Inc"}, "(c) Foo Inc"},
        {"tag in another case is found but not cut",
         "name",
         {" <NAME>Foo</NAME> "},
         "<NAME>Foo</NAME>"},
        {"other tags on the line",
         "name",
         {"<id>x</id><name>Foo</name><filename>f</filename>"},
         "Foo"},
        {"GBK value", "name", {"<name>\xB3\xCC\xD0\xF2</name>"}, "\xB3\xCC\xD0\xF2"},
        {"UTF-8 value", "name", {"<name>\xE5\x86\x85\xE5\xAD\x98</name>"}, "内存"},
        {"UTF-8 value the code page cannot spell",
         "name",
         {"<name>\xC4\x80 \xF0\x9F\x98\x80 \xC2\xAE</name>"},
         "? ? \xAE"},
        {"last line cut inside a character",
         "name",
         {"<name>\xE5\x86\x85</name>", "<!-- \xE5\xAD"},
         "内"},
        {"value cut inside a character", "name", {"<name>\xE5\x86\x85\xE5\xAD"}, "内"},
        {"another line is not UTF-8",
         "name",
         {"<!-- \xB3\xCC -->", "<name>\xE5\x86\x85</name>"},
         "\xE5\x86\x85"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadDescriptorTag(c.tag, c.lines), c.expected);
    }
}

} // namespace
