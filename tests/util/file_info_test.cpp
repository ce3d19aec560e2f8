#include "util/file_info.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(FormatFileVersion, JoinsTheFourSixteenBitNumbersMostSignificantFirst) {
    EXPECT_EQ(FormatFileVersion(0x0001000200030004), "1.2.3.4");
    EXPECT_EQ(FormatFileVersion(0x00020004'00010003), "2.4.1.3");
    EXPECT_EQ(FormatFileVersion(0xFFFF0000'0000FFFF), "65535.0.0.65535");
    EXPECT_EQ(FormatFileVersion(0), "0.0.0.0");
}

// Records the redirection switch; the folder functions are not asked here.
class RedirectionRecorder final : public IFileSystem {
public:
    std::vector<std::string> ListEntries(const std::string&, std::size_t) override { return {}; }
    bool WideDirectoryExists(const std::string&) override { return false; }
    bool IsLink(const std::string&) override { return false; }
    bool SetWow64Redirection(bool disable) override {
        switches.push_back(disable);
        return true;
    }

    std::vector<bool> switches;
};

class FileInfoTest : public ::testing::Test {
protected:
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string path = folder.File(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    TempFolder folder;
};

TEST_F(FileInfoTest, ANonEmptyFileExistsButNotAnEmptyOneAFolderOrNothing) {
    const struct {
        std::string path;
        bool expected;
    } cases[] = {
        {WriteFile("one.bin", "x"), true},
        {WriteFile("empty.bin", ""), false},
        {folder.Path().string(), false},
        {folder.File("missing.bin"), false},
    };
    for (const auto& c : cases) {
        RedirectionRecorder fileSystem;
        EXPECT_EQ(FileExistsNonEmpty(c.path, fileSystem), c.expected) << c.path;
        // Switched off for the test and on again afterwards.
        EXPECT_EQ(fileSystem.switches, (std::vector<bool>{true, false})) << c.path;
    }
}

TEST_F(FileInfoTest, TellsFilesFromFolders) {
    EXPECT_TRUE(WideFileExists(WriteFile("empty.bin", "")));
    EXPECT_FALSE(WideFileExists(folder.Path().string()));
    EXPECT_FALSE(WideFileExists(folder.File("missing.bin")));
}

TEST_F(FileInfoTest, MeasuresFilesOfFourGibibytesAndMore) {
    const std::uint64_t fourGiB = 4294967296;
    const struct {
        const char* name;
        std::uint64_t size;
    } cases[] = {{"exact.bin", fourGiB}, {"above.bin", fourGiB + 5}, {"small.bin", 3}};
    for (const auto& c : cases) {
        const std::string path = WriteFile(c.name, "");
        // Grown without writing: a sparse file costs no disk space.
        std::filesystem::resize_file(path, c.size);
        EXPECT_EQ(GetFileSize64(path), c.size) << c.name;
        EXPECT_EQ(GetFileSizeByFind(path), c.size) << c.name;
        std::filesystem::remove(path);
    }
    EXPECT_EQ(GetFileSize64(folder.File("missing.bin")), 0u);
    EXPECT_EQ(GetFileSizeByFind(folder.File("missing.bin")), 0u);
}

TEST_F(FileInfoTest, VersionTextIsEmptyWithoutAResourceAndSaysWhenThereIsNoFile) {
    EXPECT_EQ(GetFileVersionText(WriteFile("readme.txt", "no resources here")), "");
    EXPECT_EQ(GetFileVersionText(folder.File("missing.exe")), "File not found");
    EXPECT_EQ(GetFileVersionText(folder.Path().string()), "File not found");
}

} // namespace
