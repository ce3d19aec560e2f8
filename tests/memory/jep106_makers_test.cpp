#include "memory/jep106_makers.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

namespace {

TEST(Jep106MakersTest, HoldsThirteenBanksInOrderWithEveryBankButTheLastFull) {
    ASSERT_EQ(Jep106BankCount(), 13);
    std::map<int, int> codesPerBank;
    std::tuple<int, int> previous{0, 0};
    for (const Jep106Maker& maker : Jep106Makers()) {
        EXPECT_LT(previous, std::tuple(maker.bank, maker.code));
        previous = std::tuple(maker.bank, maker.code);
        EXPECT_GE(maker.code, 1);
        EXPECT_LE(maker.code, 126);
        EXPECT_FALSE(maker.name.empty());
        ++codesPerBank[maker.bank];
    }
    for (int bank = 1; bank <= 12; ++bank) {
        EXPECT_EQ(codesPerBank[bank], 126) << "bank " << bank;
    }
    EXPECT_GT(codesPerBank[13], 0);
}

TEST(Jep106MakersTest, KnownCodesNameTheirMakerAndOthersNone) {
    struct Case {
        int bank;
        int code;
        std::string expected;
    };
    const Case cases[] = {
        {1, 0x01, "AMD"},
        {1, 0x2C, "Micron Technology"},
        {1, 0x4E, "Samsung"},
        {2, 0x18, "Kingston"},
        {3, 0x1E, "Corsair"},
        {5, 0x4D, "G Skill Intl"},
        {6, 0x1B, "Crucial Technology"},
        {13, 0x01, "Beijing Haawking Technology Co Ltd"},
        {1, 0x00, ""},
        {1, 0x7F, ""},
        {0, 0x01, ""},
        {13, 0x7E, ""},
        {14, 0x01, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(Jep106MakerName(c.bank, c.code)), c.expected)
            << "bank " << c.bank << ", code " << c.code;
    }
}

} // namespace
