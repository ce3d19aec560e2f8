#include "util/os_version.h"

#include <array>

namespace {

constexpr const char* kUnknown = "Unknown";
constexpr unsigned kPlatform9x = 1;
constexpr unsigned kPlatformNt = 2;

struct NtRelease {
    unsigned major;
    unsigned minor;
    const char* suffix;
};

// The first matching row names the release; other numbers go without a name.
constexpr std::array<NtRelease, 7> kNtReleases = {{
    {5, 0, " (Windows 2000)"},
    {5, 1, " (Windows XP)"},
    {6, 0, " (Vista)"},
    {6, 1, " (Seven)"},
    {6, 2, " (Windows8)"},
    {6, 3, " (Windows8.1)"},
    {10, 0, " (Windows10)"},
}};

std::string Numbers(unsigned major, unsigned minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

std::string Win9xSuffix(const OsVersionRecord& record) {
    if (record.major == 4 && record.minor == 0) {
        return " (95)";
    }
    if (record.major == 4 && record.minor == 10) {
        // The second edition marks itself with an "A" as the service-pack text's second letter.
        return record.servicePack.size() >= 2 && record.servicePack[1] == 'A' ? " (98SE)" : " (98)";
    }
    if (record.major == 4 && record.minor == 90) {
        return " (ME)";
    }
    return " (Unknown)";
}

} // namespace

std::string NtVersionText(const std::optional<NtVersionNumbers>& numbers) {
    if (!numbers) {
        return kUnknown;
    }
    std::string text = Numbers(numbers->major, numbers->minor);
    for (const NtRelease& release : kNtReleases) {
        if (release.major == numbers->major && release.minor == numbers->minor) {
            text += release.suffix;
            break;
        }
    }
    return text;
}

std::string WindowsVersionText(const std::optional<OsVersionRecord>& record,
                               const std::function<std::string()>& ntVersionText) {
    if (!record) {
        return kUnknown;
    }
    if (record->platformId == kPlatform9x) {
        return Numbers(record->major, record->minor) + Win9xSuffix(*record);
    }
    if (record->platformId == kPlatformNt) {
        return ntVersionText();
    }
    return kUnknown;
}

std::string YesNoText(bool value) {
    return value ? "Yes" : "No";
}
