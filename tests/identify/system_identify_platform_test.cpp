#include "identify/system_identify_platform.h"

#include "identify/version_detection.h"
#include "support/pe_builder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

// Folders by search pattern; every listed name is a folder.
class FakeFolders final : public IFileSystem {
public:
    std::map<std::string, std::vector<std::string>> entries;

    std::vector<std::string> ListEntries(const std::string& pattern, std::size_t) override {
        return entries[pattern];
    }
    bool WideDirectoryExists(const std::string&) override { return true; }
    bool IsLink(const std::string&) override { return false; }
    bool SetWow64Redirection(bool) override { return true; }
};

struct SubfolderCase {
    const char* name;
    std::vector<std::string> folders;
    const char* expected;
};

class HighestVersionSubfolderTest : public testing::TestWithParam<SubfolderCase> {};

INSTANTIATE_TEST_SUITE_P(
    Folders, HighestVersionSubfolderTest,
    testing::Values(SubfolderCase{"CutBeforeTheLastPoint",
                                  {".", "..", "120.0.6099.130", "119.0.1.5", "Locales"},
                                  "120.0.6099"},
                    SubfolderCase{"NumbersNotText", {"9.1.1", "10.0.1"}, "10.0"},
                    SubfolderCase{"FirstOfEqualVersionsStays", {"2.0.0", "2.0.1"}, "2.0"},
                    SubfolderCase{"NoVersionFolders", {"Locales", "bin"}, ""},
                    SubfolderCase{"None", {}, ""}),
    [](const testing::TestParamInfo<SubfolderCase>& info) { return info.param.name; });

TEST_P(HighestVersionSubfolderTest, NamesTheNewestFolderBesideTheFile) {
    FakeFolders folders;
    folders.entries["C:\\App\\*"] = GetParam().folders;
    EXPECT_EQ(HighestVersionSubfolder("C:\\App\\app.exe", folders), GetParam().expected);
}

struct LinesCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
};

class SplitLinesTest : public testing::TestWithParam<LinesCase> {};

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitLinesTest,
    testing::Values(LinesCase{"Empty", "", {}}, LinesCase{"NoLineEnd", "a", {"a"}},
                    LinesCase{"EveryLineEnd", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                    LinesCase{"FinalLineEndAddsNoLine", "a\r\n", {"a"}},
                    LinesCase{"EmptyLinesKept", "a\n\n\r\nb", {"a", "", "", "b"}}),
    [](const testing::TestParamInfo<LinesCase>& info) { return info.param.name; });

TEST_P(SplitLinesTest, SplitsAtEachKindOfLineEnd) {
    EXPECT_EQ(SplitLines(GetParam().text), GetParam().lines);
}

// The real platform of this build on real files.
TEST(SystemIdentifyPlatform, ReadsFilesOfThisMachine) {
    TempFolder folder;
    const std::string program = folder.File("tool.exe");
    {
        std::ofstream(program, std::ios::binary)
            << pe_builder::BuildImage(
                   pe_builder::UsualBlock({pe_builder::String(u"FileDescription", u"Tool"),
                                           pe_builder::String(u"FileVersion", u"1, 0")}))
                   .bytes;
        std::ofstream(folder.File("lines.txt"), std::ios::binary) << "one\r\ntwo\n";
    }
    const auto platform = MakeSystemIdentifyPlatform();
    EXPECT_EQ(platform->ReadVersionStrings(program).FileDescription, "Tool");
    EXPECT_EQ(platform->ReadVersionStrings(program).FileVersion, "1.0");
    bool is64 = false;
    EXPECT_TRUE(platform->IsPEImage(program, is64));
    EXPECT_TRUE(is64);
    EXPECT_EQ(platform->GetFileVersionText(program), "1.2.3.4");
    EXPECT_EQ(platform->GetFileVersionText(folder.File("missing.exe")), "File not found");
    EXPECT_EQ(platform->LoadLines(folder.File("lines.txt")),
              (std::vector<std::string>{"one", "two"}));
    EXPECT_THROW(platform->LoadLines(folder.File("missing.txt")), std::exception);
    EXPECT_TRUE(platform->FileExistsNonEmpty(program));
    EXPECT_FALSE(platform->FileExistsNonEmpty(folder.File("missing.exe")));
}

// A one-line file is read to 256 KiB at most, and once while an identification is open.
TEST(SystemIdentifyPlatform, ReadsTheStartOfALinesFileOncePerIdentification) {
    TempFolder folder;
    const std::string file = folder.File("settings.ini");
    const auto write = [&file](const std::string& text) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    };
    constexpr std::size_t kBound = 256 * 1024;
    write("first\n" + std::string(kBound, 'x') + "\nlast\n");
    const auto platform = MakeSystemIdentifyPlatform();
    const std::vector<std::string> cut = platform->LoadLines(file);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0], "first");
    EXPECT_EQ(cut[1], std::string(kBound - 6, 'x'));

    write("one\n");
    {
        const IdentificationScope identification(*platform);
        EXPECT_EQ(platform->LoadLines(file), std::vector<std::string>{"one"});
        write("two\n");
        {
            const IdentificationScope nested(*platform);
            EXPECT_EQ(platform->LoadLines(file), std::vector<std::string>{"one"});
        }
        EXPECT_EQ(platform->LoadLines(file), std::vector<std::string>{"one"});
    }
    EXPECT_EQ(platform->LoadLines(file), std::vector<std::string>{"two"});
}

// A UTF-8 descriptor longer than the part that is read, cut inside a character.
std::string Utf8DescriptorCutInsideACharacter() {
    constexpr std::size_t kBound = 256 * 1024;
    std::string text = "<name>\xE5\x86\x85\xE5\xAD\x98\xE5\xB7\xA5\xE5\x85\xB7</name>\n"
                       "<versionNumber>2.5.1</versionNumber>\n<!--";
    while ((kBound - text.size()) % 3 != 1) {
        text += ' ';
    }
    while (text.size() < kBound + 64) {
        text += "\xE5\x86\x85";
    }
    return text + "-->\n";
}

// An application descriptor beside a program without version resource names the product and
// gives the version; UTF-8 text is converted to the identification's text, GBK text is taken as
// it is.
TEST(SystemIdentifyPlatform, ReadsUtf8AndGbkDescriptors) {
    struct Case {
        const char* what;
        std::string descriptor;
    };
    const Case cases[] = {
        {"UTF-8 beyond the part read", Utf8DescriptorCutInsideACharacter()},
        {"UTF-8", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<application>\r\n"
                  "  <name>\xE5\x86\x85\xE5\xAD\x98\xE5\xB7\xA5\xE5\x85\xB7</name>\r\n"
                  "  <versionNumber>2.5.1</versionNumber>\r\n</application>\r\n"},
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBF<application><name>\xE5\x86\x85\xE5\xAD\x98\xE5\xB7\xA5\xE5\x85\xB7"
         "</name>\n<versionNumber>2.5.1</versionNumber></application>"},
        {"GBK", "<application>\n<name>内存工具</name>\n<versionNumber>2.5.1</versionNumber>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        std::filesystem::create_directories(folder.Path() / "META-INF" / "AIR");
        std::ofstream(folder.Path() / "META-INF" / "AIR" / "application.xml", std::ios::binary)
            << c.descriptor;
        std::ofstream(folder.File("tool.exe"), std::ios::binary) << "MZ";
        std::string program = folder.Path().string() + "\\tool.exe";
        const auto platform = MakeSystemIdentifyPlatform();
        EXPECT_EQ(platform->DisplayedFileInfo(program).Product, "内存工具");
        EXPECT_EQ(DetectFileVersion(program, *platform), "2.5.1");
    }
}

} // namespace
