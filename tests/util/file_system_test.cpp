#include "util/file_system.h"

#include "support/temp_folder.h"
#include "util/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kGbkName = "\xB3\xCC\xD0\xF2"; // "程序"

// A folder with a file, a hidden-style file, a sub-folder and a file with a GBK name. The paths
// handed to the file system use "\" as the program does.
class SystemFileSystemTest : public ::testing::Test {
protected:
    SystemFileSystemTest() {
        std::filesystem::create_directory(folder.Path() / "sub");
        const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
        for (const std::string& name : {std::string("a.txt"), std::string(".hidden"), kGbkName}) {
            WriteWholeFile(folder.Path().string() + separator + name, "x");
        }
    }

    std::vector<std::string> SortedEntries(const std::string& pattern) {
        std::vector<std::string> names = SystemFileSystem().ListEntries(pattern, 100);
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder;
    const std::string base = folder.Path().string() + "\\";
};

TEST_F(SystemFileSystemTest, ListsEveryEntryOfAFolder) {
    EXPECT_EQ(SortedEntries(base + "*"),
              (std::vector<std::string>{".", "..", ".hidden", "a.txt", "sub", kGbkName}));
    EXPECT_EQ(SortedEntries(base + "sub\\*"), (std::vector<std::string>{".", ".."}));
}

TEST_F(SystemFileSystemTest, ListsNothingForAMissingFolderOrAFile) {
    EXPECT_TRUE(SystemFileSystem().ListEntries(base + "missing\\*", 100).empty());
    EXPECT_TRUE(SystemFileSystem().ListEntries(base + "a.txt\\*", 100).empty());
}

TEST_F(SystemFileSystemTest, ListsNoMoreThanAskedFor) {
    EXPECT_EQ(SystemFileSystem().ListEntries(base + "*", 4).size(), 4u);
    EXPECT_TRUE(SystemFileSystem().ListEntries(base + "*", 0).empty());
}

TEST_F(SystemFileSystemTest, TellsFoldersFromFiles) {
    struct Case {
        std::string path;
        bool expected;
    };
    const Case cases[] = {
        {base + "sub", true},     {folder.Path().string(), true}, {base + "a.txt", false},
        {base + kGbkName, false}, {base + "missing", false},      {base + "missing\\deeper", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(SystemFileSystem().WideDirectoryExists(c.path), c.expected);
    }
}

TEST_F(SystemFileSystemTest, RedirectionSwitchSucceedsAndLeavesFilesReachable) {
    EXPECT_TRUE(SystemFileSystem().SetWow64Redirection(true));
    EXPECT_TRUE(SystemFileSystem().WideDirectoryExists(base + "sub"));
    EXPECT_TRUE(SystemFileSystem().SetWow64Redirection(false));
    EXPECT_TRUE(SystemFileSystem().WideDirectoryExists(base + "sub"));
}

} // namespace
