#include "util/version.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(VersionTest, NewVersionIsAllZeroAndNotValid) {
    const TVeyraVersion version;
    EXPECT_EQ(version.AsText(), "0.0.0.0");
    EXPECT_FALSE(version.IsValid());
}

TEST(VersionTest, SetTextSplitsPadsAndConvertsFields) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"", "0.0.0.0"},
        {"5", "5.0.0.0"},
        {"1.2", "1.2.0.0"},
        {"1.2.3", "1.2.3.0"},
        {"1.2.3.4", "1.2.3.4"},
        {"1.2.3.4.5", "1.2.3.0"}, // the fourth field "4.5" is no number
        {"1.2.3.4 ", "1.2.3.0"},  // a trailing blank spoils the field
        {" 7.1", "7.1.0.0"},      // leading blanks are skipped
        {"1..3", "1.0.3.0"},
        {"...", "0.0.0.0"},
        {"1,2,3,4", "0.0.0.0"},
        {"70000.1.1.1", "0.1.1.1"}, // above 65535 becomes 0, not 65535
        {"65535.65536.1.1", "65535.0.1.1"},
        {"-1.2.3.4", "-1.2.3.4"},
        {"+3.-0.4.-70000", "3.0.4.-70000"}, // negative parts are kept whatever their size
        {"01.002.3.4", "1.2.3.4"},
        {"$10.x1F.0X20.0xff", "16.31.32.255"},
        {"-$10.-0x10.$.0x", "-16.-16.0.0"}, // a prefix without digits is 0
        {"1a.$1g.- 1.++1", "0.0.0.0"},
        {"--1.1-.1 2. 3", "0.0.0.3"},
        {"2147483647.-2147483648.2147483648.-2147483649", "0.-2147483648.0.0"},
        {"$FFFFFFFF.99999999999999999999.$7FFFFFFF.1", "0.0.0.1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TVeyraVersion(c.text).AsText(), c.expected) << "text: '" << c.text << "'";
    }
}

TEST(VersionTest, SetTextReplacesEveryPreviousField) {
    TVeyraVersion version("9.9.9.9");
    version.SetText("1");
    EXPECT_EQ(version.AsText(), "1.0.0.0");
}

TEST(VersionTest, ValidWhenThePartsAddUpToMoreThanZero) {
    struct Case {
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"0.0.0.1", true},
        {"0.0.0.0", false},
        {"-1.1.0.0", false},
        {"-1.2.0.0", true},
        {"-2147483648.-1.0.0", false}, // must not wrap round to a positive sum
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TVeyraVersion(c.text).IsValid(), c.valid) << c.text;
    }
}

TEST(VersionTest, IsNewerThanComparesPartsInOrderAsSignedNumbers) {
    struct Case {
        std::string mine;
        std::string other;
        bool newer;
    };
    const Case cases[] = {
        {"2.10.0.0", "2.9.0.0", true}, // numbers, not text
        {"2.9.0.0", "2.10.0.0", false}, {"1.2.3.4", "1.2.3.4", false},
        {"1.2.3.5", "1.2.3.4", true},   {"1.2.4.0", "1.2.3.9", true},
        {"2.0.0.0", "1.9.9.9", true},   {"1.9.9.9", "2.0.0.0", false},
        {"1.0.0.0", "1.0.0.1", false},  {"0.0.0.0", "-1.5.5.5", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TVeyraVersion(c.mine).IsNewerThan(TVeyraVersion(c.other)), c.newer)
            << c.mine << " vs " << c.other;
    }
}

TEST(VersionTest, PartsPackTwoFieldsIntoEachHalf) {
    struct Case {
        std::string text;
        std::uint32_t high;
        std::uint32_t low;
        std::string highText;
        std::string lowText;
    };
    const Case cases[] = {
        {"1.2.3.4", 65538u, 196612u, "65538", "196612"},
        {"65535.65535.0.65535", 4294967295u, 65535u, "4294967295", "65535"},
        {"0.0.0.0", 0u, 0u, "0", "0"},
        // Negative parts wrap round in 32 bits: (-1 << 16) + 2 and (1 << 16) - 1.
        {"-1.2.1.-1", 0xFFFF0002u, 0x0000FFFFu, "4294901762", "65535"},
    };
    for (const Case& c : cases) {
        const TVeyraVersion version(c.text);
        EXPECT_EQ(version.HighPart(), c.high) << c.text;
        EXPECT_EQ(version.LowPart(), c.low) << c.text;
        EXPECT_EQ(version.HighPartText(), c.highText) << c.text;
        EXPECT_EQ(version.LowPartText(), c.lowText) << c.text;
    }
}

TEST(VersionTest, PartsWrapForFieldsSetOutsideTheParsedRange) {
    TVeyraVersion version;
    version.Major = -2147483647 - 1;
    version.Minor = -1;
    version.Release = 2147483647;
    version.Build = 2147483647;
    EXPECT_EQ(version.HighPart(), 0xFFFFFFFFu);
    EXPECT_EQ(version.LowPart(), 0x7FFEFFFFu);
}

TEST(VersionTest, IsNewerThanPartsComparesHighThenLowUnsigned) {
    const TVeyraVersion version("1.2.3.4"); // high 65538, low 196612
    struct Case {
        std::uint32_t high;
        std::uint32_t low;
        bool newer;
    };
    const Case cases[] = {
        {65538u, 196612u, false},    {65538u, 196611u, true}, {65538u, 196613u, false},
        {65537u, 0xFFFFFFFFu, true}, {65539u, 0u, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(version.IsNewerThanParts(c.high, c.low), c.newer) << c.high << "." << c.low;
    }
    // Unsigned: a negative major part packs to a high half above every positive one.
    EXPECT_TRUE(TVeyraVersion("-1.0.0.0").IsNewerThanParts(0x7FFFFFFFu, 0u));
}

} // namespace
