#include "util/uninstall_entries.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kWowUninstall =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kUserHeader = "HKEY_CURRENT_USER\\" + kUninstall;
const std::string kMachineHeader = "HKEY_LOCAL_MACHINE\\" + kUninstall;
const std::string kWowHeader = "HKEY_LOCAL_MACHINE\\" + kWowUninstall;

struct FakeEntry {
    std::string subKey;
    std::optional<std::string> displayName; // what a string DisplayName holds
    bool opens = true;
};

// Uninstall keys by root and key text; a key not in the map does not exist.
class FakeRegistry final : public IRegistryReader {
public:
    void Add(RegistryRoot root, const std::string& key, std::vector<FakeEntry> entries) {
        keys_[{root, key}] = std::move(entries);
    }

    bool KeyExists(RegistryRoot root, const std::string& key) override {
        return keys_.count({root, key}) != 0;
    }

    std::optional<std::vector<std::string>> SubKeyNames(RegistryRoot root,
                                                        const std::string& key) override {
        const auto found = keys_.find({root, key});
        if (found == keys_.end()) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        for (const FakeEntry& entry : found->second) {
            names.push_back(entry.subKey);
        }
        return names;
    }

    RegistryStringRead ReadString(RegistryRoot root, const std::string& key,
                                  const std::string& valueName) override {
        EXPECT_EQ(valueName, "DisplayName");
        for (const auto& [location, entries] : keys_) {
            for (const FakeEntry& entry : entries) {
                if (location.first == root && location.second + entry.subKey + "\\" == key) {
                    return entry.opens ? RegistryStringRead{true, entry.displayName}
                                       : RegistryStringRead{};
                }
            }
        }
        return {};
    }

private:
    std::map<std::pair<RegistryRoot, std::string>, std::vector<FakeEntry>> keys_;
};

TEST(ListUninstallEntries, ListsHeadersThenDisplayNamesOrSubKeyNamesInOrder) {
    FakeRegistry registry;
    registry.Add(RegistryRoot::CurrentUser, kUninstall,
                 {{"{A1}", "Tarvik Slotvane 4.5"}, {"NoName", std::nullopt}});
    registry.Add(RegistryRoot::LocalMachine, kUninstall,
                 {{"Zeta", "Zeta Tool"}, {"Blank", ""}, {"Locked", "never read", false}});
    registry.Add(RegistryRoot::LocalMachine, kWowUninstall, {{"Old32", "Old 32-bit tool"}});

    std::vector<std::string> names{"stale"};
    std::vector<std::string> errors{"stale"};
    ListUninstallEntries(registry, true, names, errors);

    EXPECT_EQ(names, (std::vector<std::string>{kUserHeader, "Tarvik Slotvane 4.5", "NoName",
                                               kMachineHeader, "Zeta Tool", "", kWowHeader,
                                               "Old 32-bit tool"}));
    EXPECT_EQ(errors, (std::vector<std::string>{"Unable to open " + kMachineHeader + "Locked"}));
}

struct MissingKeyCase {
    const char* name;
    bool userKey;
    bool machineKey;
    bool wowKey;
    bool is64Bit;
    std::vector<std::string> names;
    std::vector<std::string> errors;
};

TEST(ListUninstallEntries, SkipsAMissingUserKeyAndReportsOtherMissingKeys) {
    const MissingKeyCase cases[] = {
        {"no user key", false, true, true, true, {kMachineHeader, kWowHeader}, {}},
        {"no 32-bit branch on a 64-bit system",
         true,
         true,
         false,
         true,
         {kUserHeader, kMachineHeader, kWowHeader},
         {"Unable to open " + kWowHeader}},
        {"no 32-bit branch on a 32-bit system",
         true,
         true,
         false,
         false,
         {kUserHeader, kMachineHeader, kWowHeader},
         {}},
        {"nothing at all",
         false,
         false,
         false,
         true,
         {kMachineHeader, kWowHeader},
         {"Unable to open " + kMachineHeader, "Unable to open " + kWowHeader}},
    };
    for (const MissingKeyCase& c : cases) {
        FakeRegistry registry;
        if (c.userKey) {
            registry.Add(RegistryRoot::CurrentUser, kUninstall, {});
        }
        if (c.machineKey) {
            registry.Add(RegistryRoot::LocalMachine, kUninstall, {});
        }
        if (c.wowKey) {
            registry.Add(RegistryRoot::LocalMachine, kWowUninstall, {});
        }
        std::vector<std::string> names;
        std::vector<std::string> errors;
        ListUninstallEntries(registry, c.is64Bit, names, errors);
        EXPECT_EQ(names, c.names) << c.name;
        EXPECT_EQ(errors, c.errors) << c.name;
    }
}

struct PrefixCase {
    const char* prefix;
    bool installed;
};

TEST(IsProgramInstalled, MatchesTheStartOfAnyNameIgnoringAsciiCase) {
    FakeRegistry registry;
    registry.Add(RegistryRoot::LocalMachine, kUninstall,
                 {{"{1}", "Tarvik Slotvane 4.5"},
                  {"{2}", "tarvik melvo"},
                  {"{3}", "Slotvane"},
                  {"{4}", "\xC4\xDA\xB4\xE6\xB9\xA4\xBE\xDF"}}); // a GBK name
    const PrefixCase cases[] = {
        {"", true},
        {"hkey_local_machine", true},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\", true},
        {"HKEY_CURRENT_USER", false},
        {"Tarvik Slotvane", true},
        {"TARVIK MELVO", true},
        {"Tarvik Melvo 2", false},
        {"Slotvane", true},
        {"Slotvane ", false},
        {"Tarvik Slotvane 4.5 beta", false},
        {"\xC4\xDA\xB4\xE6", true},
        {"\xC4\xFA\xB4\xE6", false},
    };
    for (const PrefixCase& c : cases) {
        EXPECT_EQ(IsProgramInstalled(registry, true, c.prefix), c.installed) << c.prefix;
    }
}

TEST(IsProgramInstalled, FindsALowerCaseDisplayNameButNotAShorterOne) {
    FakeRegistry lowerCase;
    lowerCase.Add(RegistryRoot::CurrentUser, kUninstall, {{"x", "tarvik slotvane"}});
    EXPECT_TRUE(IsProgramInstalled(lowerCase, false, "Tarvik Slotvane"));

    FakeRegistry shortName;
    shortName.Add(RegistryRoot::CurrentUser, kUninstall, {{"x", "Slotvane"}});
    EXPECT_FALSE(IsProgramInstalled(shortName, false, "Tarvik Slotvane"));
}

} // namespace
