// The Windows version as a short text, from the numbers the system reports.
#pragma once

#include <functional>
#include <optional>
#include <string>

// What the version query tells: platform 1 is the 95/98/ME family, 2 the NT family.
struct OsVersionRecord {
    unsigned platformId = 0;
    unsigned major = 0;
    unsigned minor = 0;
    std::string servicePack;
};

// Major and minor version of the running NT system, as the workstation information gives them.
struct NtVersionNumbers {
    unsigned major = 0;
    unsigned minor = 0;
};

// "10.0 (Windows10)", the bare numbers for a release without a name, "Unknown" without numbers.
std::string NtVersionText(const std::optional<NtVersionNumbers>& numbers);

// The text for the version record; the NT family's text is asked for only when the record
// names that family. "Unknown" without a record or for an unknown platform.
std::string WindowsVersionText(const std::optional<OsVersionRecord>& record,
                               const std::function<std::string()>& ntVersionText);

// "Yes" or "No".
std::string YesNoText(bool value);
