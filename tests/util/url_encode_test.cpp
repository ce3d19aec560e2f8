#include "util/url_encode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UrlEncodeTest, KeepsUnreservedBytesAndEscapesEveryOther) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"", ""},
        {"a b/c", "a%20b%2Fc"},
        {"DDR3-1600_x.y", "DDR3-1600_x.y"},
        {"AZaz09", "AZaz09"},
        {"a:b+c~d", "a%3Ab%2Bc%7Ed"},
        {"?&=%#", "%3F%26%3D%25%23"},
        {"\xC4\xDA\xB4\xE6", "%C4%DA%B4%E6"}, // GBK for "内存"
        {std::string("a\0b", 3), "a%00b"},
        {"\t\x7F\xFF", "%09%7F%FF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UrlEncode(c.text), c.expected) << c.text;
    }
}

TEST(UrlEncodeTest, GbkLiteralsBecomeTwoEscapesPerCharacter) {
    EXPECT_EQ(UrlEncode("内存 条"), "%C4%DA%B4%E6%20%CC%F5");
}

} // namespace
