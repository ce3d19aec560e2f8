#include "identify/symbol_bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "\xB0\xAE" is one Chinese character whose second byte is the registered sign's byte;
// "\x81\x99" one whose second byte is the trade mark's byte.
const std::string kLoveSign = "\xB0\xAE";
const std::string kWideWithTrademarkByte = "\x81\x99";
const std::string kRegistered = "\xAE";
const std::string kTrademark = "\x99";

TEST(SymbolBytesTest, SymbolsCountOnlyAsCharactersOfTheirOwn) {
    struct Case {
        std::string text;
        bool holds;
        std::string removed;
        std::string cut;
    };
    const std::vector<Case> cases = {
        {"Foo\xAE", true, "Foo", "Foo"},
        {"Foo \xAE ", true, "Foo  ", "Foo \xAE "},
        {"Foo" + kLoveSign, false, "Foo" + kLoveSign, "Foo" + kLoveSign},
        {kLoveSign + "\xAE", true, kLoveSign, kLoveSign},
        {kRegistered + "Bar", true, "Bar", kRegistered + "Bar"},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HoldsSymbol(c.text, '\xAE'), c.holds);
        EXPECT_EQ(RemoveSymbol(c.text, '\xAE'), c.removed);
        EXPECT_EQ(CutSymbolSuffix(c.text, '\xAE'), c.cut);
    }
}

TEST(SymbolBytesTest, TrademarkRemovalKeepsDoubleByteCharacters) {
    EXPECT_EQ(RemoveSymbol("Foo\x99 Bar\x99", '\x99'), "Foo Bar");
    EXPECT_EQ(RemoveSymbol("Foo" + kTrademark + "Bar", '\x99'), "FooBar");
    EXPECT_EQ(RemoveSymbol(kWideWithTrademarkByte + "\x99", '\x99'), kWideWithTrademarkByte);
}

TEST(SymbolBytesTest, SecondBytesAreFoundFromTheStart) {
    const std::string text = "a" + kLoveSign + "\xB0\xAE\xAE";
    EXPECT_FALSE(IsSecondByteAt(text, 0));
    EXPECT_FALSE(IsSecondByteAt(text, 1));
    EXPECT_TRUE(IsSecondByteAt(text, 2));
    EXPECT_TRUE(IsSecondByteAt(text, 4));
    EXPECT_FALSE(IsSecondByteAt(text, 5));
}

} // namespace
