#include "util/utf8_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

TEST(Utf8TextTest, ProgramTextBecomesUtf8) {
    struct Case {
        std::string text;
        std::u8string expected;
    };
    const Case cases[] = {
        {"", u8""},
        {"DDR5 / PC5-38400\r\n", u8"DDR5 / PC5-38400\r\n"},
        {"\xB2\xE5\xB2\xDB\xC3\xFB\xB3\xC6", u8"插槽名称"},
        {"[\xD0\xF2\xC1\xD0\xBA\xC5]\t0", u8"[序列号]\t0"},
        {"\xA1\xAF", u8"\u2019"}, // the right quotation mark of a maker's name
        // Longer than one block of the conversion.
        {std::string(300, 'x') + "\xC0\xE0\xD0\xCD", std::u8string(300, u8'x') + u8"类型"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8FromProgramText(c.text), std::string(c.expected.begin(), c.expected.end()));
    }
}

} // namespace
