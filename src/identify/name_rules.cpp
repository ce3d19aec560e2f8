#include "identify/name_rules.h"

#include "identify/string_helpers.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

unsigned char Fold(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

const std::string& FieldText(const NameRuleContext& context, RuleField field) {
    static const std::string kNone;
    switch (field) {
    case RuleField::Name:
        return context.name;
    case RuleField::Base:
        return context.base;
    case RuleField::Folder:
        return context.folder;
    case RuleField::Path:
        return context.path;
    case RuleField::FileName:
        return context.fileName;
    case RuleField::FolderName:
        return context.folderName;
    case RuleField::FileDescription:
        return context.info.FileDescription;
    case RuleField::CompanyName:
        return context.info.CompanyName;
    case RuleField::InternalName:
        return context.info.InternalName;
    case RuleField::ProductName:
        return context.info.ProductName;
    case RuleField::Product:
        return context.product;
    case RuleField::DescriptionWords:
    case RuleField::ProductWords:
    case RuleField::InternalWords:
    case RuleField::Machine:
        break;
    }
    return kNone;
}

// The word count fields give their count; a text field its number of space-separated words.
int WordCount(const NameRuleContext& context, RuleField field) {
    switch (field) {
    case RuleField::DescriptionWords:
        return context.descriptionWords;
    case RuleField::ProductWords:
        return context.productWords;
    case RuleField::InternalWords:
        return context.internalWords;
    default:
        return CountInSet(FieldText(context, field), " ");
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool TestHolds(const RuleTest& test, NameRuleContext& context) {
    const std::string& value = FieldText(context, test.field);
    switch (test.compare) {
    case RuleCompare::Is:
        return EqualsNoCase(value, test.text);
    case RuleCompare::IsExactly:
        return value == test.text;
    case RuleCompare::IsNot:
        return !EqualsNoCase(value, test.text);
    case RuleCompare::Starts:
        return StartsWithNoCase(value, test.text);
    case RuleCompare::StartsExactly:
        return StartsWithExact(value, test.text);
    case RuleCompare::Ends:
        return EndsWithNoCase(value, test.text);
    case RuleCompare::Has:
        return ContainsNoCase(test.text, value);
    case RuleCompare::HasExactly:
        return !test.text.empty() && value.find(test.text) != std::string::npos;
    case RuleCompare::Lacks:
        return !ContainsNoCase(test.text, value);
    case RuleCompare::IsEmpty:
        return value.empty();
    case RuleCompare::Matches:
        return MatchesNoCase(value, test.text);
    case RuleCompare::StartsWithField:
        return StartsWithNoCase(value, FieldText(context, test.other));
    case RuleCompare::WordsAre:
        return WordCount(context, test.field) == test.n;
    case RuleCompare::WordsAbove:
        return WordCount(context, test.field) > test.n;
    case RuleCompare::LongerThan:
        return static_cast<int>(value.size()) > test.n;
    case RuleCompare::DigitAt:
        return test.n >= 1 && static_cast<int>(value.size()) > test.n &&
               IsDigit(value[static_cast<std::size_t>(test.n - 1)]);
    case RuleCompare::ExactlyAfter: {
        const std::size_t at = value.find(test.text);
        return at != std::string::npos && static_cast<int>(at) + 1 > test.n;
    }
    case RuleCompare::FileBesideExists:
        return context.platform.FileExistsNonEmpty(value + std::string(test.text));
    case RuleCompare::NoUninstallVersion:
        return context.platform.FindUninstallVersion(std::string(test.text)).empty();
    }
    return false;
}

void Apply(const RuleAction& action, NameRuleContext& context) {
    std::string& name = context.name;
    switch (action.kind) {
    case RuleActionKind::Set:
        name = std::string(action.text);
        break;
    case RuleActionKind::CopyField:
        name = FieldText(context, action.field);
        break;
    case RuleActionKind::Clear:
        name.clear();
        break;
    case RuleActionKind::CutPrefix:
        name = CutPrefixNoCase(name, action.text);
        break;
    case RuleActionKind::CutSuffix:
        name = CutSuffixNoCase(name, action.text);
        break;
    case RuleActionKind::SwapPrefix:
        name = std::string(action.replacement) + CutPrefixNoCase(name, action.text);
        break;
    case RuleActionKind::SwapSuffix:
        name = CutSuffixNoCase(name, action.text) + std::string(action.replacement);
        break;
    case RuleActionKind::KeepBefore:
        name = Trim(TextBefore(name, action.text));
        break;
    case RuleActionKind::ReplaceNoCase:
        name = ReplaceAllNoCase(name, action.text, action.replacement);
        break;
    case RuleActionKind::ReplaceExact:
        name = ReplaceAllExact(name, action.text, action.replacement);
        break;
    case RuleActionKind::Append:
        name += action.text;
        break;
    case RuleActionKind::Trim:
        name = Trim(name);
        break;
    case RuleActionKind::Call:
        action.function(context);
        break;
    }
}

} // namespace

NameRuleContext::NameRuleContext(IIdentifyPlatform& machine, std::string filePath)
    : platform(machine), path(std::move(filePath)), base(FileBaseName(path)),
      folder(PathFolder(path)), fileName(PathFileName(path)) {
    const std::string_view holder = folder;
    if (!holder.empty()) {
        folderName = PathFileName(holder.substr(0, holder.size() - 1));
    }
}

bool RuleConditionHolds(const RuleCondition& condition, NameRuleContext& context) {
    const auto tests = std::span(condition.tests).first(static_cast<std::size_t>(condition.count));
    const auto required = tests.first(static_cast<std::size_t>(condition.required));
    const auto alternatives = tests.subspan(required.size());
    const auto holds = [&context](const RuleTest& test) { return TestHolds(test, context); };
    return std::all_of(required.begin(), required.end(), holds) &&
           (alternatives.empty() || std::any_of(alternatives.begin(), alternatives.end(), holds));
}

void ApplyNameRules(std::span<const NameRule> rules, NameRuleContext& context) {
    for (const NameRule& rule : rules) {
        if (RuleConditionHolds(rule.when, context)) {
            Apply(rule.then, context);
        }
    }
}

std::string ReplaceAllNoCase(std::string_view subject, std::string_view text,
                             std::string_view replacement) {
    if (text.empty()) {
        return std::string(subject);
    }
    std::string result;
    std::size_t at = 0;
    while (at < subject.size()) {
        if (StartsWithNoCase(subject.substr(at), text)) {
            result += replacement;
            at += text.size();
        } else {
            result += subject[at];
            ++at;
        }
    }
    return result;
}

std::string ReplaceAllExact(std::string_view subject, std::string_view text,
                            std::string_view replacement) {
    if (text.empty()) {
        return std::string(subject);
    }
    std::string result;
    std::size_t at = 0;
    for (std::size_t found = subject.find(text); found != std::string_view::npos;
         found = subject.find(text, at)) {
        result.append(subject.substr(at, found - at)).append(replacement);
        at = found + text.size();
    }
    result.append(subject.substr(at));
    return result;
}

bool MatchesNoCase(std::string_view text, std::string_view pattern) {
    // Classic two-pointer match with backtracking to the last "*": linear in practice and never
    // recursive, whatever the pattern.
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(text[t]))) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = t;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}
