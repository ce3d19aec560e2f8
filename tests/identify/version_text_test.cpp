#include "identify/version_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CutCase {
    const char* text;
    const char* expected;
};

class LeadingVersionTextTest : public testing::TestWithParam<CutCase> {};

INSTANTIATE_TEST_SUITE_P(Texts, LeadingVersionTextTest,
                         testing::Values(CutCase{"1, 2, 3, 4", "1.2.3.4"},
                                         CutCase{"3.6.12 (build 5)", "3.6.12"}, CutCase{"v1.2", ""},
                                         CutCase{"", ""}, CutCase{"  7 .8", "7.8"},
                                         CutCase{"10,0,1b", "10.0.1"}, CutCase{"1.2-beta", "1.2"}));

TEST_P(LeadingVersionTextTest, TakesTheLeadingRunOfDigitsPointsCommasAndBlanks) {
    EXPECT_EQ(LeadingVersionText(GetParam().text), GetParam().expected);
}

class TrailingVersionTextTest : public testing::TestWithParam<CutCase> {};

INSTANTIATE_TEST_SUITE_P(Names, TrailingVersionTextTest,
                         testing::Values(CutCase{"GIMP 2.10.34", "2.10.34"},
                                         CutCase{"Foo 1.3.2 final", "1.3.2"},
                                         CutCase{"Foo (x64) 5.1", "5.1"}, CutCase{"Foo", ""},
                                         CutCase{"", ""}, CutCase{"Tool v2", "2"},
                                         CutCase{"7-Zip 23.01 (x64)", "64"},
                                         CutCase{"1.0", "1.0"}));

TEST_P(TrailingVersionTextTest, CollectsTheLastRunOfDigitsAndPoints) {
    EXPECT_EQ(TrailingVersionText(GetParam().text), GetParam().expected);
}

struct TestCase {
    const char* text;
    bool expected;
};

class IsDigitsAndDotsTest : public testing::TestWithParam<TestCase> {};

INSTANTIATE_TEST_SUITE_P(Texts, IsDigitsAndDotsTest,
                         testing::Values(TestCase{"", true}, TestCase{"1.2.3", true},
                                         TestCase{"...", true}, TestCase{"1,2", false},
                                         TestCase{"1.2 ", false}, TestCase{"v1", false}));

TEST_P(IsDigitsAndDotsTest, AcceptsOnlyDigitsAndPoints) {
    EXPECT_EQ(IsDigitsAndDots(GetParam().text), GetParam().expected);
}

class IsValidVersionTextTest : public testing::TestWithParam<TestCase> {};

INSTANTIATE_TEST_SUITE_P(Texts, IsValidVersionTextTest,
                         testing::Values(TestCase{"", false}, TestCase{"0.0.0.0", false},
                                         TestCase{"0", false}, TestCase{"0.0.0.1", true},
                                         TestCase{"2", true}, TestCase{"abc", false}));

TEST_P(IsValidVersionTextTest, NeedsANonEmptyTextWithSomePartAboveZero) {
    EXPECT_EQ(IsValidVersionText(GetParam().text), GetParam().expected);
}

} // namespace
