#include "util/wide_file_win.h"

#include "fixture_path_win.h"
#include "support/temp_folder.h"
#include "util/codepage_win.h"
#include "util/data_folder.h"
#include "util/file_info.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

TEST(WideFiles, TheSystemHasTheWideApi) {
    EXPECT_TRUE(WideApiAvailable());
}

TEST(WideFiles, VersionTextOfProgramsWithAndWithoutAVersionResource) {
    EXPECT_EQ(GetFileVersionText(FixturePath("slotvane_fixture_versioned.exe")), "1.2.3.4");
    EXPECT_EQ(GetFileVersionText(FixturePath("slotvane_fixture_plain.exe")), "");
    EXPECT_EQ(GetFileVersionText(FixturePath("slotvane_fixture_missing.exe")), "File not found");
}

TEST(WideFiles, TheEightBitFunctionsGiveWhatTheWideOnesGive) {
    const std::string path = FixturePath("slotvane_fixture_versioned.exe");

    WIN32_FIND_DATAW wide{};
    WIN32_FIND_DATAW narrow{};
    ASSERT_TRUE(WideFindFirstFile(path, wide, true));
    ASSERT_TRUE(WideFindFirstFile(path, narrow, false));
    EXPECT_EQ(std::wstring(narrow.cFileName), L"slotvane_fixture_versioned.exe");
    EXPECT_EQ(narrow.dwFileAttributes, wide.dwFileAttributes);
    EXPECT_EQ(narrow.nFileSizeLow, wide.nFileSizeLow);
    EXPECT_EQ(narrow.nFileSizeHigh, wide.nFileSizeHigh);
    EXPECT_EQ(std::memcmp(&narrow.ftLastWriteTime, &wide.ftLastWriteTime, sizeof(FILETIME)), 0);
    EXPECT_FALSE(WideFindFirstFile(FixturePath("slotvane_fixture_missing.exe"), narrow, false));

    const auto narrowResource = WideLoadFileVersionInfo(path, kMaxVersionInfoSize, false);
    ASSERT_TRUE(narrowResource);
    EXPECT_EQ(narrowResource, WideLoadFileVersionInfo(path, kMaxVersionInfoSize, true));
    EXPECT_FALSE(WideLoadFileVersionInfo(FixturePath("slotvane_fixture_plain.exe"),
                                         kMaxVersionInfoSize, false));
}

// The size the system reports is compared with the cap before anything is allocated.
TEST(WideFiles, AVersionResourceAboveTheCapIsNotLoaded) {
    const std::string path = FixturePath("slotvane_fixture_versioned.exe");
    const auto resource = WideLoadFileVersionInfo(path);
    ASSERT_TRUE(resource);
    const auto size = static_cast<DWORD>(resource->size());
    EXPECT_EQ(WideLoadFileVersionInfo(path, size), resource);
    EXPECT_FALSE(WideLoadFileVersionInfo(path, size - 1));
}

TEST(WideFiles, ASearchGoesOnWithTheFunctionsThatStartedIt) {
    TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "a");
    std::filesystem::create_directory(folder.Path() / "b");
    for (const bool wideApi : {true, false}) {
        WIN32_FIND_DATAW data{};
        const FindHandle search = WideFindFirstFile(folder.Path().string() + "\\*", data, wideApi);
        std::vector<std::wstring> names;
        for (bool found = static_cast<bool>(search); found; found = search.Next(data)) {
            names.emplace_back(data.cFileName);
        }
        EXPECT_EQ(names, (std::vector<std::wstring>{L".", L"..", L"a", L"b"})) << wideApi;
    }
}

TEST(WideFiles, CreatesFoldersBeyondTheShortPathLimit) {
    TempFolder folder;
    std::string path = folder.Path().string();
    while (path.size() < 300) {
        path += "\\" + std::string(40, 'd');
        ASSERT_TRUE(WideCreateDirectory(path)) << path.size();
    }
    EXPECT_TRUE(
        std::filesystem::is_directory(std::filesystem::path(L"\\\\?\\" + WideFromGbk(path))));
    EXPECT_FALSE(WideCreateDirectory(path));

    // The 8-bit function has no long-path form.
    const std::string shortPath = folder.File("narrow");
    EXPECT_TRUE(WideCreateDirectory(shortPath, false));
    EXPECT_TRUE(std::filesystem::is_directory(shortPath));
}

TEST(WideFiles, ChineseNamesReachTheFileSystem) {
    TempFolder folder;
    // 内存 (memory) as GBK bytes.
    const std::string path = folder.File("") + "\xC4\xDA\xB4\xE6";
    ASSERT_TRUE(WideCreateDirectory(path));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / L"内存"));
    std::filesystem::path file = folder.Path() / L"内存" / L"数据.txt";
    HANDLE created = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(created, "12345", 5, &written, nullptr);
    CloseHandle(created);
    EXPECT_TRUE(FileExistsNonEmpty(path + "\\\xCA\xFD\xBE\xDD.txt"));
    EXPECT_EQ(GetFileSize64(path + "\\\xCA\xFD\xBE\xDD.txt"), 5u);
}

} // namespace
