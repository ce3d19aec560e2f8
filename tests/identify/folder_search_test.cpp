#include "identify/folder_search.h"

#include "support/temp_folder.h"
#include "util/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// A file system made of listings. It records what the search asks, in order, so that the tests
// can see where redirection was switched and which paths were taken for folders.
class FakeFileSystem final : public IFileSystem {
public:
    std::map<std::string, std::vector<std::string>> listings; // pattern -> names
    std::set<std::string> folders;
    std::set<std::string> links;
    std::string failingPattern;
    std::vector<std::string> events;
    std::vector<std::string> folderQueries;

    std::vector<std::string> ListEntries(const std::string& pattern,
                                         std::size_t maxNames) override {
        events.push_back("list " + pattern);
        if (pattern == failingPattern) {
            throw std::runtime_error("listing failed");
        }
        const auto found = listings.find(pattern);
        std::vector<std::string> names =
            found == listings.end() ? std::vector<std::string>() : found->second;
        names.resize(std::min(names.size(), maxNames));
        return names;
    }

    bool WideDirectoryExists(const std::string& path) override {
        folderQueries.push_back(path);
        return folders.contains(path);
    }

    bool IsLink(const std::string& path) override { return links.contains(path); }

    bool SetWow64Redirection(bool disable) override {
        events.push_back(disable ? "redirection off" : "redirection on");
        return true;
    }
};

// C:\App holds files and folders in an order that is not alphabetical; "tools.exe" is a folder.
class FolderSearchTest : public ::testing::Test {
protected:
    FolderSearchTest() {
        fs.listings["C:\\App\\*"] = {"..",        ".",     "b.EXE", "sub",      "readme.txt",
                                     "tools.exe", "a.exe", "zz",    "java.exe", "exe"};
        fs.listings["C:\\App\\sub\\*"] = {".", "..", "inner", "x.exe", "Java.EXE"};
        fs.listings["C:\\App\\sub\\inner\\*"] = {".", "..", "deep.exe", "deep.exe.txt"};
        fs.listings["C:\\App\\tools.exe\\*"] = {"t.exe"};
        // "zz" has no listing: a folder that cannot be read.
        fs.folders = {"C:\\App\\sub",    "C:\\App\\sub\\inner", "C:\\App\\tools.exe",
                      "C:\\App\\zz",     "C:\\App\\.",          "C:\\App\\..",
                      "C:\\App\\sub\\.", "C:\\App\\sub\\.."};
    }

    FakeFileSystem fs;
    std::vector<std::string> list{"kept"};
};

TEST_F(FolderSearchTest, FindsFilesByExtensionDepthFirstInListingOrder) {
    FindFilesByExtension("C:\\App", ".exe", list, fs);
    EXPECT_EQ(list, (std::vector<std::string>{
                        "kept", "C:\\App\\b.EXE", "C:\\App\\sub\\inner\\deep.exe",
                        "C:\\App\\sub\\x.exe", "C:\\App\\sub\\Java.EXE",
                        "C:\\App\\tools.exe\\t.exe", "C:\\App\\a.exe", "C:\\App\\java.exe"}));
}

TEST_F(FolderSearchTest, FindsFilesByNameIgnoringCase) {
    FindFilesByName("C:\\App\\", "JAVA.exe", list, fs);
    EXPECT_EQ(list,
              (std::vector<std::string>{"kept", "C:\\App\\sub\\Java.EXE", "C:\\App\\java.exe"}));
}

TEST_F(FolderSearchTest, ListsOnlyTheFoldersDirectlyInside) {
    ListSubfolders("C:\\App", list, fs);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "C:\\App\\sub", "C:\\App\\tools.exe",
                                              "C:\\App\\zz"}));
    EXPECT_EQ(fs.events,
              (std::vector<std::string>{"redirection off", "list C:\\App\\*", "redirection on"}));
}

TEST_F(FolderSearchTest, RedirectionIsOffOnceForTheWholeSearch) {
    FindFilesByExtension("C:\\App\\", ".exe", list, fs);
    EXPECT_EQ(fs.events, (std::vector<std::string>{
                             "redirection off", "list C:\\App\\*", "list C:\\App\\sub\\*",
                             "list C:\\App\\sub\\inner\\*", "list C:\\App\\tools.exe\\*",
                             "list C:\\App\\zz\\*", "redirection on"}));
}

TEST_F(FolderSearchTest, DotEntriesAreNeverTakenForFolders) {
    FindFilesByName("C:\\App", ".", list, fs);
    ListSubfolders("C:\\App", list, fs);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "C:\\App\\sub", "C:\\App\\tools.exe",
                                              "C:\\App\\zz"}));
    for (const std::string& path : fs.folderQueries) {
        EXPECT_FALSE(path.ends_with("\\.") || path.ends_with("\\..")) << path;
    }
}

TEST_F(FolderSearchTest, AnUnreadableFolderAddsNothingAndRestoresRedirection) {
    using Search = std::function<void(std::vector<std::string>&, IFileSystem&)>;
    const std::map<std::string, Search> searches = {
        {"FindFilesByExtension",
         [](auto& found, auto& files) { FindFilesByExtension("C:\\Gone", ".exe", found, files); }},
        {"FindFilesByName",
         [](auto& found, auto& files) { FindFilesByName("C:\\Gone", "java.exe", found, files); }},
        {"ListSubfolders",
         [](auto& found, auto& files) { ListSubfolders("C:\\Gone", found, files); }},
    };
    for (const auto& [name, search] : searches) {
        SCOPED_TRACE(name);
        FakeFileSystem empty;
        std::vector<std::string> found{"kept"};
        search(found, empty);
        EXPECT_EQ(found, std::vector<std::string>{"kept"});
        EXPECT_EQ(empty.events, (std::vector<std::string>{"redirection off", "list C:\\Gone\\*",
                                                          "redirection on"}));
    }
}

// "tools.exe" is a link to a folder: neither searched nor listed as a file.
TEST_F(FolderSearchTest, LinkedFoldersAreNotEntered) {
    fs.links = {"C:\\App\\tools.exe", "C:\\App\\sub\\inner"};
    FindFilesByExtension("C:\\App", ".exe", list, fs);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "C:\\App\\b.EXE", "C:\\App\\sub\\x.exe",
                                              "C:\\App\\sub\\Java.EXE", "C:\\App\\a.exe",
                                              "C:\\App\\java.exe"}));
    EXPECT_EQ(std::count(fs.events.begin(), fs.events.end(), "list C:\\App\\tools.exe\\*"), 0);
}

// A tree without end, as links the system does not report would make one: every folder holds
// the same entries, and the given pattern decides how many folders.
class EndlessFileSystem final : public IFileSystem {
public:
    explicit EndlessFileSystem(std::vector<std::string> names) : names_(std::move(names)) {}

    std::size_t listings = 0;
    std::size_t namesListed = 0;
    std::size_t deepest = 0; // in folders below "C:\"

    std::vector<std::string> ListEntries(const std::string& pattern,
                                         std::size_t maxNames) override {
        ++listings;
        deepest =
            std::max<std::size_t>(deepest, std::count(pattern.begin(), pattern.end(), '\\') - 1);
        std::vector<std::string> names = names_;
        names.resize(std::min(names.size(), maxNames));
        namesListed += names.size();
        return names;
    }
    bool WideDirectoryExists(const std::string& path) override { return !path.ends_with(".exe"); }
    bool IsLink(const std::string&) override { return false; }
    bool SetWow64Redirection(bool) override { return true; }

private:
    std::vector<std::string> names_;
};

TEST(FolderSearchLimits, TheWalkStopsSixteenLevelsDown) {
    EndlessFileSystem deep({".", "..", "d", "f.exe"});
    std::vector<std::string> found;
    FindFilesByExtension("C:\\", ".exe", found, deep);
    EXPECT_EQ(deep.deepest, 16u);
    ASSERT_EQ(found.size(), 17u);
    std::string deepestFile = "C:\\";
    for (int level = 0; level < 16; ++level) {
        deepestFile += "d\\";
    }
    EXPECT_EQ(found.front(), deepestFile + "f.exe"); // depth first: the deepest comes first
}

TEST(FolderSearchLimits, TheWalkStopsAfterAHundredThousandEntries) {
    EndlessFileSystem wide({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "f.exe"});
    std::vector<std::string> found;
    FindFilesByName("C:\\", "F.EXE", found, wide);
    EXPECT_EQ(wide.namesListed, kMaxSearchEntries);
    EXPECT_LE(wide.listings, kMaxSearchEntries / 11 + 1);
    EXPECT_FALSE(found.empty());
}

TEST_F(FolderSearchTest, RedirectionIsRestoredWhenListingFails) {
    fs.failingPattern = "C:\\App\\sub\\inner\\*";
    EXPECT_THROW(FindFilesByExtension("C:\\App", ".exe", list, fs), std::runtime_error);
    EXPECT_EQ(fs.events.front(), "redirection off");
    EXPECT_EQ(fs.events.back(), "redirection on");
    EXPECT_EQ(std::count(fs.events.begin(), fs.events.end(), "redirection on"), 1);
}

// The same searches on a real folder tree, through the system's file system.
TEST(FolderSearchOnDisk, FindsFilesInARealTree) {
    TempFolder folder;
    const std::filesystem::path root = folder.Path();
    std::filesystem::create_directories(root / "sub" / "inner");
    std::filesystem::create_directories(root / "tools.exe");
    const std::string native = root.string();
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string gbkName = "\xB3\xCC\xD0\xF2.EXE"; // "程序.EXE"
    for (const std::string& file :
         {std::string("a.exe"), std::string("readme.txt"), gbkName,
          "sub" + std::string(1, separator) + "java.exe",
          "sub" + std::string(1, separator) + "inner" + std::string(1, separator) + "deep.exe",
          "tools.exe" + std::string(1, separator) + "t.exe"}) {
        WriteWholeFile(native + separator + file, "MZ");
    }
    const std::string base = native + "\\";

    std::vector<std::string> executables;
    FindFilesByExtension(native, ".exe", executables);
    std::sort(executables.begin(), executables.end());
    std::vector<std::string> expected = {base + "a.exe", base + gbkName, base + "sub\\java.exe",
                                         base + "sub\\inner\\deep.exe", base + "tools.exe\\t.exe"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(executables, expected);

    std::vector<std::string> javas;
    FindFilesByName(native, "JAVA.EXE", javas);
    EXPECT_EQ(javas, std::vector<std::string>{base + "sub\\java.exe"});

    std::vector<std::string> folders;
    ListSubfolders(native, folders);
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::string>{base + "sub", base + "tools.exe"}));
}

// A package folder with two links under App\\ to App itself and one back to the package (made by
// the test build): the search finds the real file once and ends. Followed, the links make a walk
// without end.
TEST(FolderSearchOnDisk, LinksAreNotFollowed) {
    std::string package = SLOTVANE_LINK_LOOP;
    std::replace(package.begin(), package.end(), '/', '\\');
    ASSERT_TRUE(SystemFileSystem().IsLink(package + "\\App\\self"));
    EXPECT_FALSE(SystemFileSystem().IsLink(package + "\\App\\Foo"));

    std::vector<std::string> found;
    FindFilesByExtension(package + "\\App\\", ".exe", found);
    EXPECT_EQ(found, std::vector<std::string>{package + "\\App\\Foo\\Foo.exe"});
}

} // namespace
