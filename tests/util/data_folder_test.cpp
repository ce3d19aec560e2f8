#include "util/data_folder.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

TEST(FolderOfPath, KeepsEverythingUpToTheLastSeparator) {
    EXPECT_EQ(FolderOfPath("C:\\Program Files\\Slotvane\\slotvane.exe"),
              "C:\\Program Files\\Slotvane\\");
    EXPECT_EQ(FolderOfPath("C:\\Tools\\"), "C:\\Tools\\");
    EXPECT_EQ(FolderOfPath("C:slotvane.exe"), "C:\\");
    EXPECT_EQ(FolderOfPath("\\\\server\\share\\slotvane.exe"), "\\\\server\\share\\");
}

TEST(VirtualStoreFolder, PutsTheProgramFolderWithoutItsDriveUnderVirtualStore) {
    EXPECT_EQ(VirtualStoreFolder("C:\\Users\\u\\AppData\\Local", "C:\\Program Files\\Slotvane\\"),
              "C:\\Users\\u\\AppData\\Local\\VirtualStore\\Program Files\\Slotvane\\");
    EXPECT_EQ(VirtualStoreFolder("D:\\Local\\", "E:\\Slotvane\\"),
              "D:\\Local\\VirtualStore\\Slotvane\\");
    EXPECT_EQ(VirtualStoreFolder("D:\\Local", "E:\\"), "D:\\Local\\VirtualStore\\");
    EXPECT_EQ(VirtualStoreFolder("D:\\Local", "E:"), "D:\\Local\\VirtualStore\\");
}

class UserDataFolderTest : public ::testing::Test {
protected:
    TempFolder appData;
    const std::string exePath = "C:\\Program Files\\Slotvane\\slotvane.exe";
    const std::string programFolder = "C:\\Program Files\\Slotvane\\";
};

TEST_F(UserDataFolderTest, CreatesTheMakersFolderAndTheTitlesFolderOnEveryCall) {
    const std::string expected = appData.Path().string() + "\\Tarvik\\Slotvane\\";

    EXPECT_EQ(UserDataFolderIn(appData.Path().string(), exePath, "Slotvane"), expected);
    EXPECT_TRUE(std::filesystem::is_directory(appData.Path() / "Tarvik" / "Slotvane"));

    EXPECT_EQ(UserDataFolderIn(appData.Path().string() + "\\", exePath, "Slotvane"), expected);
    std::filesystem::remove(appData.Path() / "Tarvik" / "Slotvane");
    EXPECT_EQ(UserDataFolderIn(appData.Path().string(), exePath, "Slotvane"), expected);
    EXPECT_TRUE(std::filesystem::is_directory(appData.Path() / "Tarvik" / "Slotvane"));
}

TEST_F(UserDataFolderTest, FallsBackToTheProgramFolderWhenNoDataFolderCanBeHad) {
    EXPECT_EQ(UserDataFolderIn("", exePath, "Slotvane"), programFolder);

    // A file where a folder should be cannot be written into.
    std::ofstream(appData.File("file")) << "x";
    EXPECT_EQ(UserDataFolderIn(appData.File("file"), exePath, "Slotvane"), programFolder);

    std::ofstream(appData.File("Tarvik")) << "x";
    EXPECT_EQ(UserDataFolderIn(appData.Path().string(), exePath, "Slotvane"), programFolder);
}

} // namespace
