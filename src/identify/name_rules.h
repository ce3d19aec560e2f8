// The rule tables of the product and company name clean-up: one row per rule, tried once each,
// top to bottom. Every row whose condition holds changes the working name, and later rows see
// what earlier ones produced.
//
// A row is its number, a condition of up to four tests and one action. The tests compare a field
// of the working values (the name, the file's path pieces, a version-resource string, a word
// count, the product name of the same file) with a text; the action replaces, cuts or extends the
// name, or calls a small named function where the rule is an algorithm of its own.
#pragma once

#include "identify/identify_platform.h"
#include "identify/version_info.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

// The working values of one run over a rule table.
struct NameRuleContext {
    // Fills the path pieces from path.
    NameRuleContext(IIdentifyPlatform& machine, std::string filePath);

    IIdentifyPlatform& platform;
    std::string name;
    std::string path;
    std::string base;       // FileBaseName of path
    std::string folder;     // path up to and with its last "\"
    std::string fileName;   // path after its last "\"
    std::string folderName; // the name of the folder that holds the file
    FileVersionInfoRec info;
    std::string product; // product name of the same file (company rules only)
    int descriptionWords = 0;
    int productWords = 0;
    int internalWords = 0;
};

enum class RuleField {
    Name,
    Base,
    Folder,
    Path,
    FileName,
    FolderName,
    FileDescription,
    CompanyName,
    InternalName,
    ProductName,
    Product,
    DescriptionWords,
    ProductWords,
    InternalWords,
    Machine, // no text: the test asks the machine
};

enum class RuleCompare {
    Is,            // ignoring case
    IsExactly,     // byte for byte
    IsNot,         // ignoring case
    Starts,        // ignoring case
    StartsExactly, // byte for byte
    Ends,          // ignoring case
    Has,           // ignoring case
    HasExactly,    // byte for byte
    Lacks,         // ignoring case
    IsEmpty,
    Matches,            // wildcard pattern ("*" any run, "?" one character), ignoring case
    StartsWithField,    // starts with the other field's text, ignoring case (empty matches)
    WordsAre,           // number of words (or the word count field) equals n
    WordsAbove,         // number of words (or the word count field) is above n
    LongerThan,         // more than n characters
    DigitAt,            // more than n characters and character n (from 1) is a digit
    ExactlyAfter,       // the first exact occurrence of text lies after position n
    FileBesideExists,   // the field (a folder) followed by text passes FileExistsNonEmpty
    NoUninstallVersion, // FindUninstallVersion of text is empty
};

struct RuleTest {
    RuleField field = RuleField::Name;
    RuleCompare compare = RuleCompare::Is;
    std::string_view text;
    int n = 0;
    RuleField other = RuleField::Name;

    constexpr RuleTest() = default;
    constexpr RuleTest(RuleField f, RuleCompare c, std::string_view t = {})
        : field(f), compare(c), text(t) {}
    constexpr RuleTest(RuleField f, RuleCompare c, int count) : field(f), compare(c), n(count) {}
    constexpr RuleTest(RuleField f, RuleCompare c, std::string_view t, int count)
        : field(f), compare(c), text(t), n(count) {}
    constexpr RuleTest(RuleField f, RuleCompare c, RuleField o) : field(f), compare(c), other(o) {}
};

// The first `required` tests must all hold; when more tests follow, one of them must hold too.
struct RuleCondition {
    std::array<RuleTest, 4> tests{};
    int count = 0;
    int required = 0;
};

// No test: the row always applies.
constexpr RuleCondition Always() {
    return {};
}

// Every test must hold.
template <typename... Tests>
constexpr RuleCondition All(Tests... tests) {
    static_assert(sizeof...(Tests) >= 1 && sizeof...(Tests) <= 4);
    return {{tests...}, sizeof...(Tests), sizeof...(Tests)};
}

// One of the tests must hold.
template <typename... Tests>
constexpr RuleCondition Any(Tests... tests) {
    static_assert(sizeof...(Tests) >= 2 && sizeof...(Tests) <= 4);
    return {{tests...}, sizeof...(Tests), 0};
}

// The first test must hold, and one of the others.
template <typename... Tests>
constexpr RuleCondition FirstAndAnyOf(RuleTest first, Tests... others) {
    static_assert(sizeof...(Tests) >= 2 && sizeof...(Tests) <= 3);
    return {{first, others...}, 1 + sizeof...(Tests), 1};
}

using RuleFunction = void (*)(NameRuleContext& context);

enum class RuleActionKind {
    Set,           // name = text
    CopyField,     // name = the field's text
    Clear,         // name = empty
    CutPrefix,     // CutPrefixNoCase by text
    CutSuffix,     // CutSuffixNoCase by text
    SwapPrefix,    // replacement followed by (CutPrefixNoCase by text)
    SwapSuffix,    // (CutSuffixNoCase by text) followed by replacement
    KeepBefore,    // the text before the first exact text, trimmed
    ReplaceNoCase, // every text, in any case, becomes replacement
    ReplaceExact,  // every exact text becomes replacement
    Append,        // name followed by text
    Trim,          // name trimmed
    Call,          // a named function changes the name
};

struct RuleAction {
    RuleActionKind kind = RuleActionKind::Set;
    std::string_view text;
    std::string_view replacement;
    RuleField field = RuleField::Name;
    RuleFunction function = nullptr;
};

constexpr RuleAction Set(std::string_view text) {
    return {RuleActionKind::Set, text, {}, RuleField::Name, nullptr};
}
constexpr RuleAction CopyOf(RuleField field) {
    return {RuleActionKind::CopyField, {}, {}, field, nullptr};
}
constexpr RuleAction Clear() {
    return {RuleActionKind::Clear, {}, {}, RuleField::Name, nullptr};
}
constexpr RuleAction CutPrefix(std::string_view text) {
    return {RuleActionKind::CutPrefix, text, {}, RuleField::Name, nullptr};
}
constexpr RuleAction CutSuffix(std::string_view text) {
    return {RuleActionKind::CutSuffix, text, {}, RuleField::Name, nullptr};
}
constexpr RuleAction SwapPrefix(std::string_view cut, std::string_view put) {
    return {RuleActionKind::SwapPrefix, cut, put, RuleField::Name, nullptr};
}
constexpr RuleAction SwapSuffix(std::string_view cut, std::string_view put) {
    return {RuleActionKind::SwapSuffix, cut, put, RuleField::Name, nullptr};
}
constexpr RuleAction KeepBefore(std::string_view marker) {
    return {RuleActionKind::KeepBefore, marker, {}, RuleField::Name, nullptr};
}
constexpr RuleAction ReplaceNoCase(std::string_view text, std::string_view replacement) {
    return {RuleActionKind::ReplaceNoCase, text, replacement, RuleField::Name, nullptr};
}
constexpr RuleAction ReplaceExact(std::string_view text, std::string_view replacement) {
    return {RuleActionKind::ReplaceExact, text, replacement, RuleField::Name, nullptr};
}
constexpr RuleAction Append(std::string_view text) {
    return {RuleActionKind::Append, text, {}, RuleField::Name, nullptr};
}
constexpr RuleAction TrimName() {
    return {RuleActionKind::Trim, {}, {}, RuleField::Name, nullptr};
}
constexpr RuleAction Call(RuleFunction function) {
    return {RuleActionKind::Call, {}, {}, RuleField::Name, function};
}

struct NameRule {
    int number = 0;
    RuleCondition when;
    RuleAction then;
};

// Runs every row once, in order, on context.name.
void ApplyNameRules(std::span<const NameRule> rules, NameRuleContext& context);

// Whether one row's condition holds for context (exposed for the tables' own tests).
bool RuleConditionHolds(const RuleCondition& condition, NameRuleContext& context);

// Every occurrence of text in subject, ignoring case, replaced by replacement.
std::string ReplaceAllNoCase(std::string_view subject, std::string_view text,
                             std::string_view replacement);
// Every exact occurrence of text in subject replaced by replacement.
std::string ReplaceAllExact(std::string_view subject, std::string_view text,
                            std::string_view replacement);
// Wildcard match, ignoring case: "*" matches any run of characters, "?" any one character.
bool MatchesNoCase(std::string_view text, std::string_view pattern);
