#include "util/os_version.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct NtCase {
    std::optional<NtVersionNumbers> numbers;
    std::string expected;
};

TEST(NtVersionText, NamesKnownReleasesAndLeavesOthersBare) {
    const NtCase cases[] = {
        {NtVersionNumbers{5, 0}, "5.0 (Windows 2000)"},
        {NtVersionNumbers{5, 1}, "5.1 (Windows XP)"},
        {NtVersionNumbers{5, 2}, "5.2"},
        {NtVersionNumbers{6, 0}, "6.0 (Vista)"},
        {NtVersionNumbers{6, 1}, "6.1 (Seven)"},
        {NtVersionNumbers{6, 2}, "6.2 (Windows8)"},
        {NtVersionNumbers{6, 3}, "6.3 (Windows8.1)"},
        {NtVersionNumbers{6, 4}, "6.4"},
        {NtVersionNumbers{10, 0}, "10.0 (Windows10)"},
        {NtVersionNumbers{10, 1}, "10.1"},
        {NtVersionNumbers{11, 0}, "11.0"},
        {std::nullopt, "Unknown"},
    };
    for (const NtCase& c : cases) {
        EXPECT_EQ(NtVersionText(c.numbers), c.expected);
    }
}

struct WindowsCase {
    std::optional<OsVersionRecord> record;
    std::string expected;
};

TEST(WindowsVersionText, NamesThe9xFamilyAndAsksForTheNtText) {
    const WindowsCase cases[] = {
        {OsVersionRecord{1, 4, 0, ""}, "4.0 (95)"},
        {OsVersionRecord{1, 4, 0, " B"}, "4.0 (95)"},
        {OsVersionRecord{1, 4, 10, ""}, "4.10 (98)"},
        {OsVersionRecord{1, 4, 10, " A "}, "4.10 (98SE)"},
        {OsVersionRecord{1, 4, 10, "A"}, "4.10 (98)"},
        {OsVersionRecord{1, 4, 10, " a"}, "4.10 (98)"},
        {OsVersionRecord{1, 4, 90, " "}, "4.90 (ME)"},
        {OsVersionRecord{1, 3, 95, ""}, "3.95 (Unknown)"},
        {OsVersionRecord{2, 4, 0, ""}, "nt text"},
        {OsVersionRecord{0, 3, 10, ""}, "Unknown"},
        {OsVersionRecord{3, 10, 0, ""}, "Unknown"},
        {std::nullopt, "Unknown"},
    };
    for (const WindowsCase& c : cases) {
        EXPECT_EQ(WindowsVersionText(c.record, [] { return std::string("nt text"); }), c.expected);
    }
}

TEST(WindowsVersionText, AsksForTheNtTextOnlyForTheNtFamily) {
    int asked = 0;
    const auto nt = [&asked] {
        ++asked;
        return std::string("10.0 (Windows10)");
    };
    WindowsVersionText(OsVersionRecord{1, 4, 10, ""}, nt);
    WindowsVersionText(std::nullopt, nt);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(WindowsVersionText(OsVersionRecord{2, 6, 2, ""}, nt), "10.0 (Windows10)");
    EXPECT_EQ(asked, 1);
}

TEST(YesNoText, SaysYesForTrueAndNoForFalse) {
    EXPECT_EQ(YesNoText(true), "Yes");
    EXPECT_EQ(YesNoText(false), "No");
}

} // namespace
