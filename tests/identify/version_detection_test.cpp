#include "identify/version_detection.h"
#include "identify/version_rules.h"

#include "identify/fake_detection_platform.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

std::string Detect(FakeDetectionPlatform& platform, std::string path) {
    return DetectFileVersion(path, platform);
}

FileVersionInfoRec Versions(const std::string& fileVersion, const std::string& productVersion,
                            const std::string& productName = "") {
    FileVersionInfoRec info;
    info.FileVersion = fileVersion;
    info.ProductVersion = productVersion;
    info.ProductName = productName;
    return info;
}

TEST(VersionDetectionTest, WeighsTheFixedVersionAgainstTheVersionTexts) {
    struct Case {
        const char* fixed;
        const char* fileVersion;
        const char* productVersion;
        const char* productName;
        const char* product; // displayed
        const char* expected;
    };
    const Case cases[] = {
        {"2.5.0.0", "2.5.1", "", "", "", "2.5.1.0"},
        {"1.0.0.0", "3.1", "", "", "", "3.1.0.0"},
        {"0.0.0.0", "", "4.2 (build 7)", "", "", "4.2"},
        {"1.2.3.4", "1.2.3.4", "1.23", "", "", "1.2.3.4"},
        {"5.1.0.0", "5.1.2", "5.1.2.3", "", "", "5.1.2.3"},
        {"5.1.0.0", "5.1.2", "5.1.2.3", "Notepad++", "", "5.1.2.0"},
        {"1.0.0.1", "", "2.0", "", "", "2.0"},
        {"0.0.0.3", "", "0.0.4", "", "", "0.0.4"},
        {"1.2.0.0", "1.2 beta", "", "", "", "1.2.0.0"},
        {"9.0.0.3", "9.0", "9.0.2", "", "", "9.0.2"},
        {"9.0.0.3", "9.0", "9.0.2", "", "Total Commander", "9.0.2.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fixed) + " / " + c.fileVersion + " / " + c.productVersion);
        FakeDetectionPlatform platform;
        platform.Program("C:\\P\\tool.exe", c.fixed, c.product).info =
            Versions(c.fileVersion, c.productVersion, c.productName);
        EXPECT_EQ(Detect(platform, "C:\\P\\tool.exe"), c.expected);
    }
}

TEST(VersionDetectionTest, FilesWithoutVersionResource) {
    FakeDetectionPlatform platform;
    EXPECT_EQ(Detect(platform, "C:\\P\\missing.exe"), "File not found");

    platform.Program("C:\\P\\plain.exe", "").hasResource = false;
    EXPECT_EQ(Detect(platform, "C:\\P\\plain.exe"), "");

    platform.files["C:\\P\\META-INF\\AIR\\application.xml"] =
        "<application>\n  <versionNumber>3.4.5</versionNumber>\n</application>";
    EXPECT_EQ(Detect(platform, "C:\\P\\plain.exe"), "3.4.5");
}

TEST(VersionDetectionTest, PseudoNamesAskTheUninstallEntries) {
    FakeDetectionPlatform platform;
    platform.uninstall["With:K-Lite Codec Pack|64-bit"] = "17.9.4";
    platform.uninstall["Without:K-Lite Codec Pack|64-bit"] = "17.9.2";
    platform.uninstall["Name:QuickTime Alternative"] = "3.2.2";
    EXPECT_EQ(Detect(platform, "KLITE64"), "17.9.4");
    EXPECT_EQ(Detect(platform, "KLITE"), "17.9.2");
    EXPECT_EQ(Detect(platform, "QTA"), "3.2.2");
    // Only the exact token is a pseudo-name; anything else is a path.
    EXPECT_EQ(Detect(platform, "klite64"), "File not found");
}

TEST(VersionDetectionTest, NameKeyedLookupsDecideWhenTheyFindSomething) {
    FakeDetectionPlatform platform;
    platform.Program("C:\\P\\Unlocker.exe", "1.0.0.0");
    platform.uninstall["Version:unlocker"] = "1.9.2";
    EXPECT_EQ(Detect(platform, "C:\\P\\Unlocker.exe"), "1.9.2");

    platform.uninstall.clear();
    EXPECT_EQ(Detect(platform, "C:\\P\\Unlocker.exe"), "1.0.0.0");
}

TEST(VersionDetectionTest, FfdshowRevisionsTakeTheirSeriesPrefix) {
    struct Case {
        std::int32_t revision;
        const char* expected;
    };
    const Case cases[] = {{4000, "1.1.4000"}, {0, "0"},           {3402, "1.0.3402"},
                          {3403, "1.1.3403"}, {4422, "1.1.4422"}, {4423, "1.2.4423"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.revision);
        FakeDetectionPlatform platform;
        platform.Program("C:\\W\\ff_vfw.dll", "1.0.0.0");
        platform.ffdshowRevision = c.revision;
        EXPECT_EQ(Detect(platform, "C:\\W\\ff_vfw.dll"), c.expected);
    }

    // A newer library of the same revision in the system folder wins.
    FakeDetectionPlatform platform;
    platform.Program("C:\\W\\ff_vfw.dll", "1.0.0.0");
    platform.Program("C:\\Windows\\system32\\ff_vfw.dll", "1.3.4000.0");
    platform.ffdshowRevision = 4000;
    EXPECT_EQ(Detect(platform, "C:\\W\\ff_vfw.dll"), "1.3.4000.0");
}

TEST(VersionDetectionTest, SiblingRedirectsDetectTheSibling) {
    FakeDetectionPlatform platform;
    platform.Program("C:\\U\\Uplay.exe", "1.0.0.0");
    platform.Program("C:\\U\\UbisoftGameLauncher.exe", "4.5.0.0");
    EXPECT_EQ(Detect(platform, "C:\\U\\Uplay.exe"), "4.5.0.0");

    platform.Program("C:\\U\\upc.exe", "5.1.0.0");
    EXPECT_EQ(Detect(platform, "C:\\U\\Uplay.exe"), "5.1.0.0");
}

TEST(VersionDetectionTest, ARuleNeverReentersAFileOfItsOwnChain) {
    // A library whose own product is the player and whose fixed version is 0.0.0.0 would
    // otherwise detect itself again and again.
    FakeDetectionPlatform platform;
    platform.Program("C:\\Pot\\PotPlayer.dll", "0.0.0.0", "PotPlayer");
    EXPECT_EQ(Detect(platform, "C:\\Pot\\PotPlayer.dll"), "0.0.0.0");

    // Two libraries that send the detection to each other: each is examined once.
    platform.Program("C:\\Pot\\PotPlayer64.dll", "0.0.0.0", "PotPlayer");
    platform.detected.clear();
    EXPECT_EQ(Detect(platform, "C:\\Pot\\PotPlayer.dll"), "0.0.0.0");
    EXPECT_EQ(platform.detected.size(), 2u);

    // The player itself reads its version from its library.
    platform.Program("C:\\Pot\\PotPlayerMini.exe", "0.0.0.0", "PotPlayer");
    platform.programs["C:\\Pot\\PotPlayer64.dll"].fixedVersion = "1.7.21.0";
    EXPECT_EQ(Detect(platform, "C:\\Pot\\PotPlayerMini.exe"), "1.7.21.0");
}

TEST(VersionDetectionTest, ProductRulesReshapeTheVersion) {
    struct Case {
        const char* what;
        const char* product;
        const char* fixed;
        FileVersionInfoRec info;
        const char* expected;
    };
    FileVersionInfoRec avidemux;
    avidemux.FileDescription = "Avidemux";
    FileVersionInfoRec avidemuxVersioned;
    avidemuxVersioned.FileDescription = "Avidemux 2.8.1";
    const Case cases[] = {
        {"day-first date", "Farbar Recovery Scan Tool", "14.3.2023.1", {}, "2023.3.14.1"},
        {"not a date", "Farbar Recovery Scan Tool", "14.3.1999.1", {}, "14.3.1999.1"},
        {"one-point version", "AdwCleaner", "7.4.2.0", Versions("7.4.2.0", ""), "7.420"},
        {"nothing to join", "AdwCleaner", "7.4.0.0", Versions("7.4.0.0", ""), "7.4.0.0"},
        {"one-word description", "Avidemux", "2.8.1.0", avidemux, ""},
        {"version in the description", "Avidemux", "1.0.0.0", avidemuxVersioned, "2.8.1"},
        {"build dropped", "Internet Download Manager", "6.41.0.2", {}, "6.41.0"},
        {"year as major", "jv16 PowerTools", "2012.0.0.0", {}, "0.2012.0.0"},
        {"year with a build", "jv16 PowerTools", "2012.0.0.5", {}, "2012.0.0.5"},
        {"year-first version", "System Information", "2012.5.1.0", {}, "2012.5.1.0"},
        {"release digits", "Ultimate TagScanner", "5.1.30.14", Versions("5.1.30.14", "5.1"),
         "5.1.314.0"},
        {"zero build", "Skype", "8.5.3.1", {}, "8.5.3.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDetectionPlatform platform;
        platform.Program("C:\\P\\tool.exe", c.fixed, c.product).info = c.info;
        EXPECT_EQ(Detect(platform, "C:\\P\\tool.exe"), c.expected);
    }
}

TEST(VersionDetectionTest, CompanyConditionsOfProductRules) {
    FakeDetectionPlatform platform;
    platform.Program("C:\\P\\Skype.exe", "8.5.3.1", "Skype", "Skype Technologies S.A.");
    EXPECT_EQ(Detect(platform, "C:\\P\\Skype.exe"), "8.5.0.1");
    platform.Program("C:\\P\\sysinfo.exe", "2012.5.1.0", "System Information", "Gabriel Topala");
    EXPECT_EQ(Detect(platform, "C:\\P\\sysinfo.exe"), "3.2012.5.1");
}

TEST(VersionDetectionTest, WinZipTakesTheDigitsOfItsProductVersion) {
    FakeDetectionPlatform platform;
    platform.Program("C:\\WZ\\winzip64.exe", "21.0.0.0").info = Versions("21.0", "21.0 (12288)");
    EXPECT_EQ(Detect(platform, "C:\\WZ\\winzip64.exe"), "21.0.12288.0");

    struct Case {
        const char* productVersion;
        const char* expected;
    };
    const Case cases[] = {
        {"21.0 (12288)", "21.0.12288.0"},
        {"24.0 (64-bit) (15360)", "24.0.64.15360"},
        {"9.0 SR-1 (6224)", "9.0.6224.0"},
        {"1.2.3.4.5.", "1.2.3.4.5"},
        {"16.5", "16..0.0"}, // the last character is never read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.productVersion);
        EXPECT_EQ(ProductVersionDigits(c.productVersion), c.expected);
    }
}

TEST(VersionDetectionTest, PortablePackagesAskTheirInnerProgramThenTheirPackageInfo) {
    FakeDetectionPlatform platform;
    platform.Program("C:\\Port\\FooPortable.exe", "1.0.0.0", "Foo Portable", "PortableApps.com");
    platform.Program("C:\\Port\\App\\Bar\\Bar.exe", "9.9.0.0");
    platform.Program("C:\\Port\\App\\Foo\\Foo.exe", "2.3.0.0");
    EXPECT_EQ(Detect(platform, "C:\\Port\\FooPortable.exe"), "2.3.0.0");

    platform.programs["C:\\Port\\App\\Foo\\Foo.exe"].fixedVersion = "0.0.0.0";
    platform.files["C:\\Port\\App\\AppInfo\\appinfo.ini"] =
        "[Format]\r\nType=PortableApps.comFormat\r\n[Version]\r\nPackageVersion=2.3.1.0\r\n";
    EXPECT_EQ(Detect(platform, "C:\\Port\\FooPortable.exe"), "2.3.1.0");
}

TEST(VersionDetectionTest, InstallerLogVersionIsCutSafely) {
    struct Case {
        const char* text;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"x=1\ninstall_version=DRW 13.5 trial\n", "13.5"},
        {"install_version=DRW_13.5", "13.5"},
        {"install_version=DRW", std::nullopt}, // the marker ends the text: never cut past it
        {"install_version=DRW1", std::nullopt},
        {"install_version=DRW 13.5a", std::nullopt},
        {"no marker", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(EaseUsLogVersion(c.text), c.expected);
    }
}

// A file beside the program whose value is missing or empty leaves the version as it was (3.1.0.0
// from the file version, or the fixed 2.0.0.0); a value that is there replaces it.
TEST(VersionDetectionTest, AnEmptyValueBesideTheProgramKeepsTheVersion) {
    struct Program {
        const char* path;
        const char* product;
        const char* company;
        const char* fixed;
        const char* fileVersion;
        const char* besideFile;
    };
    const Program blueGriffon{"C:\\P\\bluegriffon.exe", "BlueGriffon", "", "1.0.0.0", "3.1",
                              "C:\\P\\application.ini"};
    const Program portable{
        "C:\\P\\FooPortable.exe",          "Foo Portable", "PortableApps.com", "2.0.0.0", "",
        "C:\\P\\App\\AppInfo\\appinfo.ini"};
    const Program recovery{"C:\\P\\DRW.exe",     "EaseUS Data Recovery Wizard", "", "2.0.0.0", "",
                           "C:\\P\\easeusue.log"};
    struct Case {
        const char* what;
        const Program& program;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"application.ini without version", blueGriffon, "[App]\nName=BlueGriffon\n", "3.1.0.0"},
        {"application.ini with an empty version", blueGriffon, "[App]\nversion=\n", "3.1.0.0"},
        {"application.ini with a version", blueGriffon, "[App]\nversion=3.2\n", "3.2"},
        {"appinfo.ini without PackageVersion", portable, "[Version]\nDisplayVersion=2.1\n",
         "2.0.0.0"},
        {"appinfo.ini with an empty PackageVersion", portable, "[Version]\nPackageVersion=\n",
         "2.0.0.0"},
        {"appinfo.ini with a PackageVersion", portable, "[Version]\nPackageVersion=2.1\n", "2.1"},
        {"installer log without a version", recovery, "install_version=DRW", "2.0.0.0"},
        {"installer log with a version", recovery, "install_version=DRW 13.5", "13.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Program& p = c.program;
        FakeDetectionPlatform platform;
        platform.Program(p.path, p.fixed, p.product, p.company).info = Versions(p.fileVersion, "");
        platform.files[p.besideFile] = c.text;
        EXPECT_EQ(Detect(platform, p.path), c.expected);
    }
}

TEST(VersionDetectionTest, AFileThatARuleCannotReadEndsTheDetectionWithItsError) {
    FakeDetectionPlatform platform;
    platform.Program("C:\\BG\\bluegriffon.exe", "1.0.0.0", "BlueGriffon");
    platform.files["C:\\BG\\application.ini"] = "[App]\nversion=3.1\n";
    EXPECT_EQ(Detect(platform, "C:\\BG\\bluegriffon.exe"), "3.1");

    platform.unreadable.push_back("C:\\BG\\application.ini");
    EXPECT_THROW(Detect(platform, "C:\\BG\\bluegriffon.exe"), std::runtime_error);
}

TEST(VersionDetectionTest, ARuleThatMovesThePathUpdatesTheCallersPath) {
    FakeDetectionPlatform platform;
    platform.Program("C:\\VC\\VC10Play.exe", "1.0.0.0");
    platform.Program("C:\\VC\\VC10Start.exe", "10.2.0.0");
    std::string path = "C:\\VC\\VC10Play.exe";
    EXPECT_EQ(DetectFileVersion(path, platform), "10.2.0.0");
    EXPECT_EQ(path, "C:\\VC\\VC10Start.exe");
}

TEST(VersionDetectionTest, ChromeAndPaintNetTakeTheirVersionsElsewhere) {
    FakeDetectionPlatform platform;
    platform.Program("C:\\G\\chrome.exe", "0.0.0.0", "Google Chrome");
    platform.highestSubfolder["C:\\G\\chrome.exe"] = "120.0.6099";
    EXPECT_EQ(Detect(platform, "C:\\G\\chrome.exe"), "120.0.6099");

    platform.Program("C:\\PN\\PaintDotNet.exe", "4.3.12.0", "paint.net");
    EXPECT_EQ(Detect(platform, "C:\\PN\\PaintDotNet.exe"), "4.3.12.0");
    platform.uninstall["Title:Paint.NET"] = "4.3";
    EXPECT_EQ(Detect(platform, "C:\\PN\\PaintDotNet.exe"), "4.3.12");
}

} // namespace
