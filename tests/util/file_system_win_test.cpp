#include "util/file_system.h"

#include "support/temp_folder.h"
#include "util/handle_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A drive letter that has no volume on this machine, as "Q:".
std::string UnusedDrive() {
    const DWORD drives = GetLogicalDrives();
    for (int letter = 25; letter >= 3; --letter) {
        if ((drives & (1u << letter)) == 0) {
            return std::string(1, static_cast<char>('A' + letter)) + ":";
        }
    }
    return {};
}

TEST(WindowsFileSystemTest, BareDrivesAreAnsweredByTheirType) {
    const std::string unused = UnusedDrive();
    ASSERT_FALSE(unused.empty());
    struct Case {
        std::string path;
        bool expected;
    };
    const Case cases[] =
        {
            {"C:", true},
            {"c:", true},
            {"C:\\", true},
            {unused, false},
            {unused + "\\", false},
            {"C:\\Windows", true},
            {"C:\\Windows\\", false}, // a search on a name that ends in "\" finds nothing
        };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(SystemFileSystem().WideDirectoryExists(c.path), c.expected);
    }
}

void CreateWideFile(const std::wstring& path, DWORD attributes) {
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
    ASSERT_TRUE(file) << GetLastError();
}

TEST(WindowsFileSystemTest, ListsHiddenEntriesAndNamesOutsideGbk) {
    TempFolder folder;
    const std::wstring wideBase = folder.Path().wstring() + L"\\";
    CreateWideFile(wideBase + L"hidden.exe", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    // Hangul: four bytes each.
    CreateWideFile(wideBase + L"\xD55C\xAE00.exe", FILE_ATTRIBUTE_NORMAL);
    CreateWideFile(wideBase + L"\x7A0B\x5E8F.exe", FILE_ATTRIBUTE_NORMAL); // "程序"

    std::vector<std::string> names =
        SystemFileSystem().ListEntries(folder.Path().string() + "\\*", 100);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "hidden.exe",
                                               "\x83\x36\x84\x33\x82\x38\x84\x37.exe",
                                               "\xB3\xCC\xD0\xF2.exe"}));
}

} // namespace
