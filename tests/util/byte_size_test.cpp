#include "util/byte_size.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

const SizeUnitNameList kInitialNames = {"b.", "Kb.", "Mb.", "Gb.", "Tb."};
const SizeUnitNameList kFinalNames = {"B", "KB", "MB", "GB", "TB"};

constexpr std::int64_t kTera = std::int64_t{1} << 40;

// Gives each test the names the program sets at start-up, and puts the initial ones back.
class ByteSizeTest : public ::testing::Test {
protected:
    void SetUp() override { SetSizeUnitNames(kFinalNames); }
    void TearDown() override { SetSizeUnitNames(kInitialNames); }
};

struct Case {
    std::int64_t bytes;
    std::string expected;
};

TEST_F(ByteSizeTest, FormatsCountsWithThePointSeparator) {
    const Case cases[] = {
        {0, "0    B"},
        {512, "512  B"},
        {1023, "1023 B"},
        {1024, "1 KB"},
        {1536, "1.5 KB"},
        {1047552, "1023 KB"}, // 1000 to 1023.99 of a unit: whole numbers
        {1048575, "1023 KB"}, // still below one MB
        {1048576, "1 MB"},
        {1050000000, "1001 MB"},
        {1048000000, "999 MB"},
        {1048051712, "1e+03 MB"}, // 999.5 MB rounds to 1000 at three digits
        {1023475, "999 KB"},      // 999.487 KB
        {4000000000, "3.73 GB"},
        {8589934592, "8 GB"},
        {12884901887, "12 GB"},
        {kTera, "1 TB"},
        {1000 * kTera, "1000 TB"},
        {2048 * kTera, "2048 TB"}, // nothing above terabytes
        {INT64_MAX, "8388608 TB"},
        {-1, "-1   B"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatByteSize(c.bytes, "."), c.expected) << c.bytes;
    }
}

TEST_F(ByteSizeTest, PutsTheGivenSeparatorInPlaceOfThePoint) {
    const Case cases[] = {
        {1536, "1,5 KB"},         {4000000000, "3,73 GB"}, {8589934592, "8 GB"},
        {1048051712, "1e+03 MB"}, {1050000000, "1001 MB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatByteSize(c.bytes, ","), c.expected) << c.bytes;
    }
    EXPECT_EQ(FormatByteSize(1536, "\xA1\xA4"), "1\xA1\xA4"
                                                "5 KB"); // a GBK double-byte mark
}

TEST_F(ByteSizeTest, UsesTheUnitNamesInForceWhenCalled) {
    SetSizeUnitNames({"u0", "u1", "u2", "u3", "u4"});
    EXPECT_EQ(FormatByteSize(5, "."), "5    u0");
    EXPECT_EQ(FormatByteSize(4000000000, "."), "3.73 u3");
    EXPECT_EQ(FormatByteSize(3 * kTera, "."), "3 u4");
    EXPECT_EQ(SizeUnitNames()[2], "u2");
}

TEST(ByteSizeInitialNamesTest, StartWithTheInitialNames) {
    EXPECT_EQ(SizeUnitNames(), kInitialNames);
    EXPECT_EQ(FormatByteSize(4000000000, "."), "3.73 Gb.");
    EXPECT_EQ(FormatByteSize(100, "."), "100  b.");
}

TEST(ByteSizeUserSeparatorTest, UsesTheUserDecimalSeparator) {
    // Whatever the user's separator is, the point is replaced by it.
    const std::string text = FormatByteSize(1536);
    ASSERT_GE(text.size(), std::string("1?5 Kb.").size());
    EXPECT_EQ(text.front(), '1');
    EXPECT_TRUE(text.ends_with("5 Kb."));
}

} // namespace
