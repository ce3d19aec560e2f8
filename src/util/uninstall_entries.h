// The programs that the registry announces for uninstallation, by name.
#pragma once

#include "util/registry_reader.h"

#include <string>
#include <vector>

// Lists the uninstall keys of the current user (when that key exists), of the machine and of the
// machine's 32-bit branch. Names gets a header line per key visited, then each entry's display
// name (the sub-key name when the display name is missing or not a string); Errors gets a line per
// key that does not open. A missing 32-bit branch is an error only on a 64-bit system. Both lists
// are emptied first.
void ListUninstallEntries(IRegistryReader& registry, bool is64BitWindows,
                          std::vector<std::string>& names, std::vector<std::string>& errors);

// True when a line of Names, header lines included, begins with the prefix, ASCII letter case
// ignored.
bool IsProgramInstalled(IRegistryReader& registry, bool is64BitWindows, const std::string& prefix);
