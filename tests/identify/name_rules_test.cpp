#include "identify/name_rules.h"

#include "identify/fake_identify_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using enum RuleField;
using enum RuleCompare;

TEST(NameRulesTest, WildcardsMatchIgnoringCase) {
    struct Case {
        std::string text;
        std::string pattern;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"VSO Software", "*VSO?SOFTWARE*", true},
        {"vso-software sarl", "*VSO?SOFTWARE*", true},
        {"by VSO Software", "*VSO?SOFTWARE*", true},
        {"VSOSoftware", "*VSO?SOFTWARE*", false},
        {"VSO  Software", "*VSO?SOFTWARE*", false},
        {"", "*", true},
        {"", "?", false},
        {"abc", "a*c", true},
        {"abcbc", "a*bc", true},
        {"abcb", "a*bc", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*c", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " ~ " + c.pattern);
        EXPECT_EQ(MatchesNoCase(c.text, c.pattern), c.matches);
    }
}

TEST(NameRulesTest, ReplacementsCoverEveryOccurrenceOnce) {
    EXPECT_EQ(ReplaceAllNoCase("PuTTY and putty", "Putty", "KiTTY"), "KiTTY and KiTTY");
    EXPECT_EQ(ReplaceAllNoCase("Java(TM) x java(tm)", "Java(TM)", "JavaFX(TM)"),
              "JavaFX(TM) x JavaFX(TM)");
    EXPECT_EQ(ReplaceAllNoCase("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAllNoCase("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAllExact("G DATA and g data", "G DATA", "G Data"), "G Data and g data");
    EXPECT_EQ(ReplaceAllExact("G DATAG DATA", "G DATA", "G Data"), "G DataG Data");
}

TEST(NameRulesTest, ConditionsJoinTheirTests) {
    FakeIdentifyPlatform machine;
    NameRuleContext context(machine, "C:\\Apps\\Tool\\kitty.exe");
    context.name = "Foo";
    const RuleTest yes{Name, Is, "foo"};
    const RuleTest no{Name, Is, "bar"};
    struct Case {
        std::string label;
        RuleCondition condition;
        bool holds;
    };
    const std::vector<Case> cases = {
        {"always", Always(), true},
        {"all hold", All(yes, yes, yes), true},
        {"one of all fails", All(yes, no), false},
        {"any, one holds", Any(no, yes), true},
        {"any, none holds", Any(no, no), false},
        {"first and one other", FirstAndAnyOf(yes, no, yes), true},
        {"first but no other", FirstAndAnyOf(yes, no, no), false},
        {"others but not first", FirstAndAnyOf(no, yes, yes), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(RuleConditionHolds(c.condition, context), c.holds);
    }
}

TEST(NameRulesTest, PathPiecesAndFieldTests) {
    FakeIdentifyPlatform machine;
    NameRuleContext context(machine, "C:\\Apps\\FILEminimizer Office\\fileminimizer.exe");
    EXPECT_EQ(context.base, "fileminimizer");
    EXPECT_EQ(context.folder, "C:\\Apps\\FILEminimizer Office\\");
    EXPECT_EQ(context.fileName, "fileminimizer.exe");
    EXPECT_EQ(context.folderName, "FILEminimizer Office");

    NameRuleContext bare(machine, "setup.exe");
    EXPECT_EQ(bare.folder, "");
    EXPECT_EQ(bare.folderName, "");

    context.name = "Flash Player 10.1";
    struct Case {
        RuleTest test;
        bool holds;
    };
    const std::vector<Case> cases = {
        {{Name, DigitAt, 14}, true},
        {{Name, DigitAt, 13}, false},
        {{Name, DigitAt, 17}, false},
        {{Name, LongerThan, 16}, true},
        {{Name, LongerThan, 17}, false},
        {{Name, ExactlyAfter, " 10", 12}, true},
        {{Name, ExactlyAfter, " 10", 13}, false},
        {{Name, WordsAre, 3}, true},
        {{Name, WordsAbove, 3}, false},
        {{Name, HasExactly, "flash"}, false},
        {{Name, Has, "flash"}, true},
        {{Name, Lacks, "flash"}, false},
        {{FolderName, StartsExactly, "FILEminimizer"}, true},
        {{Base, StartsExactly, "FILEminimizer"}, false},
        {{Folder, FileBesideExists, "update-settings.ini"}, false},
        {{Machine, NoUninstallVersion, "Foo"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.test.text) + " " + std::to_string(c.test.n));
        EXPECT_EQ(RuleConditionHolds(All(c.test), context), c.holds);
    }
}

} // namespace
