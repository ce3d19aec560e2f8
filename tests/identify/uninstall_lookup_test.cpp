#include "identify/uninstall_lookup.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kWowUninstall =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct FakeEntry {
    std::string subKey;
    std::optional<std::string> displayName;    // a string; nothing for another type
    std::optional<std::string> displayVersion; // a string; nothing when missing or another type
};

// Uninstall branches of HKEY_LOCAL_MACHINE; a branch not added does not exist.
class FakeUninstallRegistry final : public IRegistryReader {
public:
    void Add(const std::string& key, std::vector<FakeEntry> entries) {
        branches_[key] = std::move(entries);
    }

    bool KeyExists(RegistryRoot, const std::string& key) override {
        return branches_.count(key) != 0;
    }

    std::optional<std::vector<std::string>> SubKeyNames(RegistryRoot root,
                                                        const std::string& key) override {
        EXPECT_EQ(root, RegistryRoot::LocalMachine);
        const auto found = branches_.find(key);
        if (found == branches_.end()) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        for (const FakeEntry& entry : found->second) {
            names.push_back(entry.subKey);
        }
        return names;
    }

    RegistryStringRead ReadString(RegistryRoot, const std::string& key,
                                  const std::string& valueName) override {
        for (const auto& [branch, entries] : branches_) {
            for (const FakeEntry& entry : entries) {
                if (branch + entry.subKey + "\\" == key) {
                    return {true,
                            valueName == "DisplayName" ? entry.displayName : entry.displayVersion};
                }
            }
        }
        return {};
    }

private:
    std::map<std::string, std::vector<FakeEntry>> branches_;
};

using Lookup = std::function<std::string(const TUninstallLookup&)>;

struct LookupCase {
    const char* name;
    std::vector<FakeEntry> first;  // the main branch
    std::vector<FakeEntry> second; // the Wow6432Node branch
    bool is64BitWindows;
    Lookup lookup;
    const char* expected;
};

Lookup Version(const char* name) {
    return [name](const TUninstallLookup& l) { return l.FindUninstallVersion(name); };
}

class UninstallLookupTest : public testing::TestWithParam<LookupCase> {};

INSTANTIATE_TEST_SUITE_P(
    Entries, UninstallLookupTest,
    testing::Values(
        LookupCase{"GreatestWins",
                   {{"a", "Tool 1", "1.9"}, {"b", "tool 2", "1.10"}, {"c", "Tool 3", "1.2"}},
                   {},
                   false,
                   Version("TOOL"),
                   "1.10"},
        LookupCase{"EqualVersionsKeepTheFirstListedText",
                   {{"a", "Tool", "2.0"}, {"b", "Tool", "2.0.0.0"}},
                   {},
                   false,
                   Version("Tool"),
                   "2.0"},
        LookupCase{"OnlyZeroVersionsAnswerEmpty",
                   {{"a", "Tool", "0.0.0.0"}, {"b", "Tool", "0"}},
                   {},
                   false,
                   Version("Tool"),
                   ""},
        LookupCase{"ZeroVersionsThenTheWow64Branch",
                   {{"a", "Tool", "0.0.0.0"}},
                   {{"w", "Tool (32-bit)", "3.1"}},
                   true,
                   Version("Tool"),
                   "3.1"},
        LookupCase{"Wow64BranchOnlyOnA64BitSystem",
                   {},
                   {{"w", "Tool", "3.1"}},
                   false,
                   Version("Tool"),
                   ""},
        LookupCase{"MainBranchFoundSkipsTheWow64Branch",
                   {{"a", "Tool", "1.0"}},
                   {{"w", "Tool", "9.0"}},
                   true,
                   Version("Tool"),
                   "1.0"},
        LookupCase{"NameOfAnotherTypeIsSkipped",
                   {{"a", std::nullopt, "5.0"}, {"b", "Tool", "1.0"}},
                   {},
                   false,
                   Version("Tool"),
                   "1.0"},
        LookupCase{"VersionOfAnotherTypeReadsEmpty",
                   {{"a", "Tool", std::nullopt}},
                   {},
                   false,
                   Version("Tool"),
                   ""},
        LookupCase{
            "With",
            {{"a", "Tool Pro", "5.0"}, {"b", "Tool Lite", "4.0"}},
            {},
            false,
            [](const TUninstallLookup& l) { return l.FindUninstallVersionWith("tool", "lite"); },
            "4.0"},
        LookupCase{
            "Without",
            {{"a", "Tool Pro", "5.0"}, {"b", "Tool Lite", "4.0"}},
            {},
            false,
            [](const TUninstallLookup& l) { return l.FindUninstallVersionWithout("tool", "PRO"); },
            "4.0"},
        LookupCase{"NameVersion",
                   {{"a", "GIMP 2.10.34", "2.10"}, {"b", "GIMP 2.8 final", ""}},
                   {},
                   false,
                   [](const TUninstallLookup& l) { return l.FindUninstallNameVersion("gimp"); },
                   "2.10.34"},
        LookupCase{"TitleVersionNeedsTheFirstField",
                   {{"a", "Super Tool 9.0", ""},
                    {"b", "Toolkit 1.5", ""},
                    {"d", "Tool-Kit 1.3", ""},
                    {"c", "tool 1.2", ""}},
                   {},
                   false,
                   [](const TUninstallLookup& l) { return l.FindUninstallTitleVersion("Tool"); },
                   "1.3"},
        LookupCase{"SecondWordLastMatchWins",
                   {{"a", "Tool 9 Pro", ""}, {"b", "Tool-2", ""}, {"c", "Toolbox 3", ""}},
                   {},
                   false,
                   [](const TUninstallLookup& l) { return l.FindUninstallSecondWord("tool"); },
                   "2"},
        LookupCase{"SecondWordOfTheWow64Branch",
                   {{"a", "Other 1", ""}},
                   {{"w", "Tool Lite", ""}},
                   true,
                   [](const TUninstallLookup& l) { return l.FindUninstallSecondWord("Tool"); },
                   "Lite"}),
    [](const testing::TestParamInfo<LookupCase>& info) { return info.param.name; });

TEST_P(UninstallLookupTest, FindsTheVersionOfTheMatchingEntries) {
    FakeUninstallRegistry registry;
    if (!GetParam().first.empty()) {
        registry.Add(kUninstall, GetParam().first);
    }
    if (!GetParam().second.empty()) {
        registry.Add(kWowUninstall, GetParam().second);
    }
    const TUninstallLookup lookup(registry, GetParam().is64BitWindows);
    EXPECT_EQ(GetParam().lookup(lookup), GetParam().expected);
}

} // namespace
