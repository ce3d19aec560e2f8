#include "util/uninstall_entries.h"

#include <algorithm>
#include <array>

namespace {

struct UninstallLocation {
    RegistryRoot root;
    const char* rootName;
    const char* key;
};

// Visited in this order; the first only when its key exists.
constexpr std::array<UninstallLocation, 3> kLocations = {{
    {RegistryRoot::CurrentUser, "HKEY_CURRENT_USER\\",
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"},
    {RegistryRoot::LocalMachine, "HKEY_LOCAL_MACHINE\\",
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"},
    {RegistryRoot::LocalMachine, "HKEY_LOCAL_MACHINE\\",
     "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"},
}};
constexpr std::size_t kCurrentUser = 0;
constexpr std::size_t kWow64Branch = 2;

constexpr const char* kUnableToOpen = "Unable to open ";

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

} // namespace

void ListUninstallEntries(IRegistryReader& registry, bool is64BitWindows,
                          std::vector<std::string>& names, std::vector<std::string>& errors) {
    names.clear();
    errors.clear();
    for (std::size_t i = 0; i < kLocations.size(); ++i) {
        const UninstallLocation& location = kLocations[i];
        if (i == kCurrentUser && !registry.KeyExists(location.root, location.key)) {
            continue;
        }
        const std::string keyText = std::string(location.rootName) + location.key;
        names.push_back(keyText);
        const auto subKeys = registry.SubKeyNames(location.root, location.key);
        if (!subKeys) {
            // A 32-bit system normally has no 32-bit branch; only a 64-bit one should.
            if (i != kWow64Branch || is64BitWindows) {
                errors.push_back(kUnableToOpen + keyText);
            }
            continue;
        }
        for (const std::string& subKey : *subKeys) {
            const RegistryStringRead read = registry.ReadString(
                location.root, std::string(location.key) + subKey + "\\", "DisplayName");
            if (read.keyOpened) {
                names.push_back(read.value.value_or(subKey));
            } else {
                errors.push_back(kUnableToOpen + keyText + subKey);
            }
        }
    }
}

bool IsProgramInstalled(IRegistryReader& registry, bool is64BitWindows, const std::string& prefix) {
    std::vector<std::string> names;
    std::vector<std::string> errors;
    ListUninstallEntries(registry, is64BitWindows, names, errors);
    return std::any_of(names.begin(), names.end(), [&prefix](const std::string& name) {
        return StartsWithNoCase(name, prefix);
    });
}
