// The version detection on real program files, read through this system's platform: the
// version resource parser natively, the system's version functions under Wine.
#include "identify/system_identify_platform.h"
#include "identify/version_detection.h"

#include "support/pe_builder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>

namespace {

using namespace pe_builder;

std::uint64_t Fixed(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                    std::uint16_t build) {
    return static_cast<std::uint64_t>(major) << 48 | static_cast<std::uint64_t>(minor) << 32 |
           static_cast<std::uint64_t>(release) << 16 | build;
}

TEST(VersionDetectionFilesTest, WeighsTheFixedVersionAgainstTheVersionTexts) {
    struct Case {
        std::uint64_t fixed;
        std::u16string fileVersion;
        std::u16string productVersion;
        std::u16string productName;
        const char* expected;
    };
    const Case cases[] = {
        {Fixed(2, 5, 0, 0), u"2.5.1", u"", u"Tool", "2.5.1.0"},
        {Fixed(1, 0, 0, 0), u"3.1", u"", u"Tool", "3.1.0.0"},
        {Fixed(0, 0, 0, 0), u"", u"4.2 (build 7)", u"Tool", "4.2"},
        {Fixed(1, 2, 3, 4), u"1.2.3.4", u"1.23", u"Tool", "1.2.3.4"},
        {Fixed(5, 1, 0, 0), u"5.1.2", u"5.1.2.3", u"Tool", "5.1.2.3"},
        {Fixed(5, 1, 0, 0), u"5.1.2", u"5.1.2.3", u"Notepad++", "5.1.2.0"},
        {Fixed(1, 0, 0, 0), u"2, 0, 1, 7", u"", u"Tool", "2.0.1.7"},
    };
    TempFolder folder;
    const auto platform = MakeSystemIdentifyPlatform();
    int index = 0;
    for (const Case& c : cases) {
        std::vector<Node> strings = {String(u"ProductName", c.productName)};
        if (!c.fileVersion.empty()) {
            strings.push_back(String(u"FileVersion", c.fileVersion));
        }
        if (!c.productVersion.empty()) {
            strings.push_back(String(u"ProductVersion", c.productVersion));
        }
        const std::string block = Encode(VersionRoot(
            {StringFileInfo({StringTable(u"040904B0", strings)}), Translations({0x040904B0})},
            FixedInfo(c.fixed)));
        std::string path = folder.File("tool" + std::to_string(index++) + ".exe");
        std::ofstream(path, std::ios::binary) << BuildImage(block).bytes;
        SCOPED_TRACE(path);
        EXPECT_EQ(DetectFileVersion(path, *platform), c.expected);
    }
}

// A path in the program's form, "\" between folders (the native build reads it as "/").
std::string ProgramPath(const TempFolder& folder, const std::string& name) {
    std::string path = folder.File(name);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string Program(const TempFolder& folder, const std::string& name, std::uint64_t fixed) {
    std::ofstream(folder.File(name), std::ios::binary)
        << BuildImage(
               Encode(VersionRoot(
                   {StringFileInfo({StringTable(u"040904B0", {String(u"ProductName", u"Game")})}),
                    Translations({0x040904B0})},
                   FixedInfo(fixed))))
               .bytes;
    return ProgramPath(folder, name);
}

TEST(VersionDetectionFilesTest, ALauncherTakesItsSiblingsVersion) {
    TempFolder folder;
    const auto platform = MakeSystemIdentifyPlatform();
    std::string launcher = Program(folder, "Uplay.exe", Fixed(1, 0, 0, 0));
    EXPECT_EQ(DetectFileVersion(launcher, *platform), "1.0.0.0");
    Program(folder, "UbisoftGameLauncher.exe", Fixed(4, 5, 0, 0));
    EXPECT_EQ(DetectFileVersion(launcher, *platform), "4.5.0.0");
    Program(folder, "upc.exe", Fixed(5, 1, 0, 0));
    EXPECT_EQ(DetectFileVersion(launcher, *platform), "5.1.0.0");
}

TEST(VersionDetectionFilesTest, FilesWithoutVersionResource) {
    TempFolder folder;
    const auto platform = MakeSystemIdentifyPlatform();
    std::string missing = folder.File("missing.exe");
    EXPECT_EQ(DetectFileVersion(missing, *platform), "File not found");
    std::string plain = folder.File("plain.exe");
    std::ofstream(plain, std::ios::binary) << "MZ not really a program";
    EXPECT_EQ(DetectFileVersion(plain, *platform), "");
}

} // namespace
