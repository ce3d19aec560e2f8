#include "identify/uninstall_lookup.h"

#include "identify/string_helpers.h"
#include "identify/version_text.h"
#include "util/version.h"

#include <functional>

namespace {

constexpr const char* kFieldDelimiters = " -";

bool FirstFieldIs(const std::string& displayName, const std::string& name) {
    return EqualsNoCase(FieldAt(displayName, 0, kFieldDelimiters), name);
}

} // namespace

struct TUninstallLookup::Rule {
    std::function<bool(const std::string& displayName)> matches;
    // The candidate of a matching entry, from its key and its display name.
    std::function<std::string(const std::string& entryKey, const std::string& displayName)> take;
    Combine combine;
};

namespace {

using TakeFunction = std::function<std::string(const std::string&, const std::string&)>;

TakeFunction DisplayVersionOf(IRegistryReader& registry) {
    return [&registry](const std::string& entryKey, const std::string&) {
        return registry.ReadString(RegistryRoot::LocalMachine, entryKey, "DisplayVersion")
            .value.value_or(std::string());
    };
}

std::string TrailingVersionOf(const std::string&, const std::string& displayName) {
    return TrailingVersionText(displayName);
}

} // namespace

std::string TUninstallLookup::Pass(const std::string& prefix, const Rule& rule) const {
    const std::string key =
        "SOFTWARE\\" + prefix + "Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const auto subKeys = registry_.SubKeyNames(RegistryRoot::LocalMachine, key);
    std::string result;
    if (!subKeys) {
        return result;
    }
    for (const std::string& subKey : *subKeys) {
        const std::string entryKey = key + subKey + "\\";
        const RegistryStringRead displayName =
            registry_.ReadString(RegistryRoot::LocalMachine, entryKey, "DisplayName");
        if (!displayName.value || !rule.matches(*displayName.value)) {
            continue;
        }
        std::string candidate = rule.take(entryKey, *displayName.value);
        if (rule.combine == Combine::Last ||
            TVeyraVersion(candidate).IsNewerThan(TVeyraVersion(result))) {
            result = std::move(candidate);
        }
    }
    return result;
}

std::string TUninstallLookup::Lookup(const Rule& rule) const {
    std::string result = Pass("", rule);
    if (result.empty() && is64BitWindows_) {
        result = Pass("Wow6432Node\\", rule);
    }
    return result;
}

std::string TUninstallLookup::FindUninstallVersion(const std::string& name) const {
    return Lookup(
        {[&name](const std::string& displayName) { return ContainsNoCase(name, displayName); },
         DisplayVersionOf(registry_), Combine::Greatest});
}

std::string TUninstallLookup::FindUninstallVersionWith(const std::string& name,
                                                       const std::string& word) const {
    return Lookup({[&name, &word](const std::string& displayName) {
                       return ContainsNoCase(name, displayName) &&
                              ContainsNoCase(word, displayName);
                   },
                   DisplayVersionOf(registry_), Combine::Greatest});
}

std::string TUninstallLookup::FindUninstallVersionWithout(const std::string& name,
                                                          const std::string& word) const {
    return Lookup({[&name, &word](const std::string& displayName) {
                       return ContainsNoCase(name, displayName) &&
                              !ContainsNoCase(word, displayName);
                   },
                   DisplayVersionOf(registry_), Combine::Greatest});
}

std::string TUninstallLookup::FindUninstallNameVersion(const std::string& name) const {
    return Lookup(
        {[&name](const std::string& displayName) { return ContainsNoCase(name, displayName); },
         TrailingVersionOf, Combine::Greatest});
}

std::string TUninstallLookup::FindUninstallTitleVersion(const std::string& name) const {
    return Lookup(
        {[&name](const std::string& displayName) { return FirstFieldIs(displayName, name); },
         TrailingVersionOf, Combine::Greatest});
}

std::string TUninstallLookup::FindUninstallSecondWord(const std::string& name) const {
    return Lookup(
        {[&name](const std::string& displayName) { return FirstFieldIs(displayName, name); },
         [](const std::string&, const std::string& displayName) {
             return FieldAt(displayName, 1, kFieldDelimiters);
         },
         Combine::Last});
}
