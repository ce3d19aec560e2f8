#include "util/folders_win.h"

#include "slotvane_config.h"
#include "support/temp_folder.h"
#include "util/codepage_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

std::string Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    GetEnvironmentVariableW(name, value, MAX_PATH);
    return GbkFromWide(value);
}

TEST(SpecialFolders, NameTheUsersApplicationDataFolders) {
    EXPECT_EQ(GetSpecialFolderPath(kRoamingAppDataFolder), Environment(L"APPDATA"));
    EXPECT_EQ(GetSpecialFolderPath(kLocalAppDataFolder), Environment(L"LOCALAPPDATA"));
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(GetSpecialFolderPath(kSystemFolder), GbkFromWide(system));
    EXPECT_EQ(GetSpecialFolderPath(0x7FFF), "");
}

TEST(SpecialFolders, TheDataFolderLiesInTheRoamingApplicationData) {
    const std::string folder = GetUserDataFolder("C:\\Tools\\slotvane.exe", config::kAppTitle);

    EXPECT_EQ(folder, Environment(L"APPDATA") + "\\Tarvik\\Slotvane\\");
    EXPECT_TRUE(std::filesystem::is_directory(WideFromGbk(folder)));
}

// A program folder C:\<random>\ whose virtual-store copy the test fills with a tree.
class VirtualStoreTest : public ::testing::Test {
protected:
    VirtualStoreTest() {
        std::random_device random;
        const std::string name = "SlotvaneTest" + std::to_string(random());
        programFolder = "C:\\" + name + "\\";
        store = std::filesystem::path(WideFromGbk(Environment(L"LOCALAPPDATA"))) / "VirtualStore" /
                name;
        std::filesystem::create_directories(store);
    }
    ~VirtualStoreTest() override {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(store, ignored)) {
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::filesystem::remove_all(store, ignored);
    }

    void File(const std::filesystem::path& relative, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
        std::filesystem::create_directories((store / relative).parent_path());
        std::ofstream(store / relative) << "x";
        SetFileAttributesW((store / relative).c_str(), attributes);
    }
    bool Exists(const std::filesystem::path& relative) const {
        return std::filesystem::exists(store / relative);
    }

    std::string programFolder;
    std::filesystem::path store;
};

TEST_F(VirtualStoreTest, DeletesOnlySpkEntriesClearingTheirAttributes) {
    File("settings.SPK");
    File("locked.spk", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    File("keep.ini");
    File("keep.SPK.bak");
    File("cache.SPK\\inner.SPK", FILE_ATTRIBUTE_READONLY);
    File("mixed.SPK\\inner.SPK");
    File("mixed.SPK\\keep.txt");
    File("plain\\skipped.SPK");

    const std::string cleaned = CleanVirtualStore(programFolder);

    EXPECT_EQ(cleaned, GbkFromWide(store.wstring()) + "\\");
    EXPECT_FALSE(Exists("settings.SPK"));
    EXPECT_FALSE(Exists("locked.spk"));
    EXPECT_FALSE(Exists("cache.SPK"));
    EXPECT_FALSE(Exists("mixed.SPK\\inner.SPK"));
    EXPECT_TRUE(Exists("mixed.SPK\\keep.txt"));
    EXPECT_TRUE(Exists("keep.ini"));
    EXPECT_TRUE(Exists("keep.SPK.bak"));
    // Only entries that match the pattern are visited, folders included.
    EXPECT_TRUE(Exists("plain\\skipped.SPK"));
}

TEST_F(VirtualStoreTest, RemovesTheCopyOnceNothingIsLeftInIt) {
    File("only.SPK");

    EXPECT_FALSE(CleanVirtualStore(programFolder).empty());
    EXPECT_FALSE(std::filesystem::exists(store));
}

TEST_F(VirtualStoreTest, AnswersEmptyWhenThereIsNoCopy) {
    EXPECT_EQ(CleanVirtualStore(programFolder + "Missing\\"), "");
}

TEST(DeleteFilesByExtension, IsTrueAlsoForAMissingFolder) {
    TempFolder folder;
    EXPECT_TRUE(DeleteFilesByExtension(folder.File("missing"), "SPK"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path()));
}

} // namespace
