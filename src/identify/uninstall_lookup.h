// Versions recorded in the uninstall entries of the machine (HKEY_LOCAL_MACHINE), found by the
// entries' display names.
#pragma once

#include "util/registry_reader.h"

#include <string>

// Every lookup reads "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" and considers the
// entries whose DisplayName is a string, in the order the registry lists them.
// When that finds nothing and the system is 64-bit, the same lookup runs once more under
// "SOFTWARE\Wow6432Node\" and gives the answer. The registry reader is given the 64-bit view on
// a 64-bit system by its owner. A missing or unreadable key matches nothing; an expandable string
// reads as its stored text, and a DisplayVersion that is not a string reads as empty text.
//
// "Greatest wins": a candidate replaces the result (which starts empty) only when its version
// number is newer, so of two equal versions the first listed stays, character for character,
// and 0.0.0.0 never replaces the empty start.
class TUninstallLookup {
public:
    TUninstallLookup(IRegistryReader& registry, bool is64BitWindows)
        : registry_(registry), is64BitWindows_(is64BitWindows) {}

    // DisplayVersion of entries whose name contains name (ASCII case ignored); greatest wins.
    std::string FindUninstallVersion(const std::string& name) const;
    // ... whose name contains name and word; greatest wins.
    std::string FindUninstallVersionWith(const std::string& name, const std::string& word) const;
    // ... whose name contains name but not word; greatest wins.
    std::string FindUninstallVersionWithout(const std::string& name, const std::string& word) const;
    // The trailing version text of names that contain name; greatest wins.
    std::string FindUninstallNameVersion(const std::string& name) const;
    // The trailing version text of names whose first field (delimiters blank and "-") is name,
    // ignoring case; greatest wins.
    std::string FindUninstallTitleVersion(const std::string& name) const;
    // The second field of names whose first field is name; the last match in listing order wins.
    std::string FindUninstallSecondWord(const std::string& name) const;

private:
    enum class Combine { Greatest, Last };
    struct Rule;

    std::string Lookup(const Rule& rule) const;
    std::string Pass(const std::string& prefix, const Rule& rule) const;

    IRegistryReader& registry_;
    bool is64BitWindows_;
};
