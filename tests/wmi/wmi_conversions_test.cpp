#include "wmi/wmi_conversions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

// 31 January 2024 is day 45322 after 30 December 1899.
constexpr double kJan31_2024 = 45322.0;

TEST(WmiConversionsTest, NullGivesTheDefaultAndEmptyTheOrdinaryConversion) {
    for (const TVariant& value : {TVariant::Null(), TVariant()}) {
        EXPECT_EQ(WmiVarToText(value), "");
        EXPECT_EQ(WmiVarToWord(value), 0);
        EXPECT_EQ(WmiVarToCardinal(value), 0u);
        EXPECT_EQ(WmiVarToInt64(value), 0);
        EXPECT_FALSE(WmiVarToBoolean(value));
        EXPECT_EQ(WmiVarToDouble(value), 0.0);
        EXPECT_EQ(WmiVarToDateTime(value), 0.0);
    }
    // Empty text is neither: it is text, and not a number.
    EXPECT_THROW(WmiVarToInt64(TVariant::Text("")), ConversionError);
    EXPECT_THROW(WmiVarToWord(TVariant::Text("")), ConversionError);
    EXPECT_FALSE(VariantEquals(TVariant::Null(), TVariant()));
}

TEST(WmiConversionsTest, SixtyFourBitNumbersArriveAsDecimalText) {
    EXPECT_EQ(WmiVarToInt64(TVariant::Text("8589934592")), 8589934592);
    EXPECT_EQ(WmiVarToInt64(TVariant::Text("34359738368")), 34359738368);
    EXPECT_EQ(WmiVarToInt64(TVariant::Text(" -12 ")), -12);
    EXPECT_EQ(WmiVarToInt64(TVariant::UInt64(8589934592u)), 8589934592);
    EXPECT_THROW(WmiVarToInt64(TVariant::Text("8 GB")), ConversionError);
    EXPECT_THROW(WmiVarToInt64(TVariant::Text("99999999999999999999")), ConversionError);
    EXPECT_THROW(WmiVarToInt64(TVariant::UInt64(std::numeric_limits<std::uint64_t>::max())),
                 ConversionError);
}

TEST(WmiConversionsTest, NarrowIntegersKeepTheirLowBits) {
    struct Case {
        TVariant value;
        std::uint16_t word;
        std::uint32_t cardinal;
    };
    const Case cases[] = {
        {TVariant::Int32(24), 24, 24},
        {TVariant::Int32(70000), 4464, 70000},
        {TVariant::Int32(-1), 0xFFFF, 0xFFFFFFFF},
        {TVariant::UInt8(200), 200, 200},
        {TVariant::Int16(-2), 0xFFFE, 0xFFFFFFFE},
        {TVariant::Text("1600"), 1600, 1600},
        {TVariant::Real(2.5), 2, 2}, // half to even
        {TVariant::Real(3.5), 4, 4},
        {TVariant::Boolean(true), 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WmiVarToText(c.value));
        EXPECT_EQ(WmiVarToWord(c.value), c.word);
        EXPECT_EQ(WmiVarToCardinal(c.value), c.cardinal);
    }
    // A word goes through a 32-bit integer, a cardinal through a 64-bit one.
    EXPECT_THROW(WmiVarToWord(TVariant::Text("4294967297")), ConversionError);
    EXPECT_EQ(WmiVarToCardinal(TVariant::Text("4294967297")), 1u);
}

TEST(WmiConversionsTest, TextBooleanAndRealForms) {
    EXPECT_EQ(WmiVarToText(TVariant::Text("DIMM 1")), "DIMM 1");
    EXPECT_EQ(WmiVarToText(TVariant::Int8(-5)), "-5");
    EXPECT_EQ(WmiVarToText(TVariant::UInt64(18446744073709551615u)), "18446744073709551615");
    EXPECT_EQ(WmiVarToText(TVariant::Real(0.1)), "0.1");
    EXPECT_EQ(WmiVarToText(TVariant::Boolean(true)), "True");

    EXPECT_TRUE(WmiVarToBoolean(TVariant::Boolean(true)));
    EXPECT_TRUE(WmiVarToBoolean(TVariant::Text("TRUE")));
    EXPECT_FALSE(WmiVarToBoolean(TVariant::Text("false")));
    EXPECT_TRUE(WmiVarToBoolean(TVariant::Int32(-1)));
    EXPECT_FALSE(WmiVarToBoolean(TVariant::Real(0.0)));
    EXPECT_THROW(WmiVarToBoolean(TVariant::Text("yes")), ConversionError);

    EXPECT_EQ(WmiVarToDouble(TVariant::Real(static_cast<float>(1.25))), 1.25);
    EXPECT_EQ(WmiVarToDouble(TVariant::Text("2.5")), 2.5);
    EXPECT_EQ(WmiVarToDouble(TVariant::Int64(-3)), -3.0);
    EXPECT_THROW(WmiVarToDouble(TVariant::Text("wide")), ConversionError);
}

TEST(WmiConversionsTest, DateTimeReadsTheFirstFourteenDigitsWithoutTimeZone) {
    struct Case {
        std::string text;
        double expected;
    };
    const Case cases[] = {
        {"20240131235959.000000+060", kJan31_2024 + 86399.0 / 86400.0},
        {"20240131000000.999999-300", kJan31_2024},
        {"18991230120000.", 0.5},
        {"18991229000000.000000+000", -1.0},
        {"20000229060000.000000+000", 36585.25},
        {"2024013123595", 0.0}, // shorter than 15 characters
        {"", 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(WmiVarToDateTime(TVariant::Text(c.text)), c.expected);
    }
    EXPECT_EQ(WmiVarToDateTime(TVariant::Null()), 0.0);
}

TEST(WmiConversionsTest, DateTimeDigitsThatGiveNoDateOrTimeRaise) {
    for (const std::string text :
         {"20241331000000.000000+000", "20230229000000.000000+000", "00000101000000.000000+000",
          "20240131240000.000000+000", "20240131235960.000000+000", "2024-1-31 23:59:59",
          "********000000.000000+000"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(WmiVarToDateTime(TVariant::Text(text)), ConversionError);
    }
}

TEST(WmiConversionsTest, VariantEqualityComparesValuesAcrossKinds) {
    struct Case {
        TVariant left;
        TVariant right;
        bool equal;
    };
    const Case cases[] = {
        {TVariant::Null(), TVariant::Null(), true},
        {TVariant(), TVariant(), true},
        {TVariant::Null(), TVariant::Int32(0), false},
        {TVariant(), TVariant::Text(""), false},
        {TVariant::Text("DIMM 1"), TVariant::Text("DIMM 1"), true},
        {TVariant::Text("DIMM 1"), TVariant::Text("dimm 1"), false},
        {TVariant::Int32(8), TVariant::UInt64(8), true},
        {TVariant::Int8(-1), TVariant::UInt64(std::numeric_limits<std::uint64_t>::max()), false},
        {TVariant::Int64(std::numeric_limits<std::int64_t>::min()),
         TVariant::Int64(std::numeric_limits<std::int64_t>::min()), true},
        {TVariant::Text("8589934592"), TVariant::Int64(8589934592), true},
        {TVariant::Int32(-4), TVariant::Text(" -4"), true},
        {TVariant::Text("8 GB"), TVariant::Int64(8), false},
        {TVariant::Real(1.5), TVariant::Text("1.5"), true},
        {TVariant::Real(2.0), TVariant::Int16(2), true},
        {TVariant::Boolean(true), TVariant::Boolean(true), true},
        {TVariant::Boolean(true), TVariant::Int32(1), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WmiVarToText(c.left) + " vs " + WmiVarToText(c.right));
        EXPECT_EQ(VariantEquals(c.left, c.right), c.equal);
        EXPECT_EQ(VariantEquals(c.right, c.left), c.equal);
    }
}

} // namespace
