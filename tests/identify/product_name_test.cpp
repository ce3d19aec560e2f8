#include "identify/product_name.h"

#include "identify/fake_identify_platform.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::string kTool = "C:\\Apps\\Tool\\tool.exe";

FileVersionInfoRec Texts(std::string description, std::string product, std::string internal = {},
                         std::string company = {}) {
    FileVersionInfoRec info;
    info.FileDescription = std::move(description);
    info.ProductName = std::move(product);
    info.InternalName = std::move(internal);
    info.CompanyName = std::move(company);
    return info;
}

struct Case {
    std::string label;
    std::string path;
    FileVersionInfoRec info;
    std::string expected;
    std::function<void(FakeIdentifyPlatform&)> setUp = {};
};

void ExpectProducts(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FakeIdentifyPlatform machine;
        machine.records[c.path] = c.info;
        if (c.setUp) {
            c.setUp(machine);
        }
        EXPECT_EQ(NormalizeProductName(c.path, machine), c.expected);
    }
}

// A name as the only text of the version resource: the first pick takes it unchanged.
Case Named(std::string name, std::string expected) {
    return {name, kTool, Texts(name, ""), std::move(expected)};
}

TEST(ProductNameTest, TokensHaveFixedNamesAndAreComparedExactly) {
    FakeIdentifyPlatform machine;
    const std::vector<std::pair<std::string, std::string>> tokens = {
        {"CCCP", "Combined Community Codec Pack"},
        {"QTA", "QuickTime Alternative"},
        {"QTL", "QuickTime Lite"},
        {"KLITE", "K-Lite Codec Pack"},
        {"KLITE64", "K-Lite Codec Pack (64-Bits)"},
        {"KLITEMEGA", "K-Lite Codec Pack (Mega)"},
        {"klite64", "klite64"},
        {"KLITE64 ", "KLITE64"},
    };
    for (const auto& [token, expected] : tokens) {
        SCOPED_TRACE(token);
        EXPECT_EQ(NormalizeProductName(token, machine), expected);
    }
    // A token is not a file: nothing is read for it.
    EXPECT_EQ(machine.versionReads, (std::vector<std::string>{"klite64", "KLITE64 "}));
}

TEST(ProductNameTest, FirstPickWeighsDescriptionAgainstProductName) {
    ExpectProducts({
        {"description begins with the product name", kTool, Texts("Foo 2.1 Setup", "Foo"), "Foo"},
        {"another description wins", kTool, Texts("Bar Tool", "Foo"), "Bar Tool"},
        {"description with a parenthesis", kTool, Texts("Bar (beta)", "Foo"), "Foo"},
        {"four words, product name is the base name", kTool, Texts("A Very Good Utility", "tool"),
         "tool"},
        {"four words, product name differs from the base name", kTool,
         Texts("A Very Good Utility", "Foo"), "A Very Good Utility"},
        {"five words are not short", kTool, Texts("A Very Good Utility Here", "Foo"), "Foo"},
        {"' - ' counts as one word", kTool, Texts("Foo - Bar Baz Qux", "Thing"),
         "Foo - Bar Baz Qux"},
        {"updater always adds", "C:\\Apps\\updater.exe", Texts("Foo Updater", "Foo"),
         "Foo Updater"},
        {"registered sign makes the description plausible", kTool,
         Texts("Bar\xAE (Suite)", "Foo\xAE"), "Bar\xAE (Suite)"},
        {"product name of five words", kTool, Texts("", "One Two Three Four Five"),
         "One Two Three Four Five"},
        {"internal name when nothing else", kTool, Texts("", "", "Inner"), "Inner"},
        {"internal name for a long description", kTool, Texts("a b c d e f g", "", "Inner"),
         "Inner"},
        {"long description without internal name", kTool, Texts("a b c d e f g", ""),
         "a b c d e f g"},
    });
}

TEST(ProductNameTest, TailStepsCutTagsVersionsAndAffixes) {
    ExpectProducts({
        Named("Foo (64-bit)", "Foo"),
        Named("Foo (32 Bit)", "Foo"),
        Named("Foo (x86) (64-bit)", "Foo (x86) (64-bit)"),
        Named("Foo(64)", "Foo(64)"),
        Named("Foo 2.1", "Foo"),
        Named("Foo V2.0", "Foo"),
        Named("Foo v", "Foo"),
        Named("Foo 2000", "Foo"),
        Named("Foo .5", "Foo"),
        Named("Foo X2", "Foo X2"),
        Named("Foo 2.1b", "Foo 2.1b"),
        Named("2.0", "2.0"),
        Named("Foo Bar(TM)", "Foo"),
        Named("Foo\x99 Suite\x99", "Foo Suite"),
        Named("Foo \x81\x99", "Foo \x81\x99"),
        Named("Foo Inc.", "Foo Inc"),
        Named("Foo.exe", "Foo"),
        Named("Foo.DLL", "Foo"),
        Named("Foo Application", "Foo"),
        Named("Main executable for Foo", "Foo"),
        Named("ShInstUtil - Foo", "Foo"),
        Named("Foo for Windows XP", "Foo"),
        Named("Foo for Windows\xAE", "Foo"),
        Named("Foo 64-bit", "Foo"),
        Named("Foo http://foo.example -", "Foo"),
        Named("adwcleaner_7", "AdwCleaner"),
        Named("poiloader", "POI Loader"),
        Named("?", ""),
        Named("Foo ?? Bar", ""),
        Named("$Foo", ""),
        {"WinMerge 2011", kTool,
         [] {
             FileVersionInfoRec info = Texts("WinMerge", "");
             info.ProductVersion = "0.2011.006.214";
             return info;
         }(),
         "WinMerge 2011"},
    });
}

TEST(ProductNameTest, SixtyFourBitImagesEndInExactlyOneTag) {
    const auto image = [](bool is64) {
        return [is64](FakeIdentifyPlatform& m) { m.images[kTool] = is64; };
    };
    ExpectProducts({
        {"64-bit", kTool, Texts("Foo", ""), "Foo (64 bits)", image(true)},
        {"64-bit with x64", kTool, Texts("Foo x64", ""), "Foo (64 bits)", image(true)},
        {"64-bit already tagged", kTool, Texts("Foo (64 bits)", ""), "Foo (64 bits)", image(true)},
        {"32-bit", kTool, Texts("Foo x64", ""), "Foo x64", image(false)},
        {"no image", kTool, Texts("Foo", ""), "Foo"},
    });
}

TEST(ProductNameTest, EmptyNamesFallBackToDescriptorThenBaseName) {
    const std::string descriptor = "C:\\Apps\\Tool\\META-INF\\AIR\\application.xml";
    const auto withDescriptor = [descriptor](std::vector<std::string> lines) {
        return [descriptor, lines](FakeIdentifyPlatform& m) { m.files[descriptor] = lines; };
    };
    ExpectProducts({
        {"no version texts", "C:\\Setup\\setup.exe", {}, "setup"},
        {"descriptor name",
         kTool,
         {},
         "Air Tool",
         withDescriptor({"<application>", "  <name>Air Tool</name>", "</application>"})},
        {"descriptor file name",
         kTool,
         {},
         "AirTool",
         withDescriptor({"<filename>AirTool</filename>"})},
        {"descriptor without either", kTool, {}, "tool", withDescriptor({"<id>x</id>"})},
        {"named file ignores descriptor", kTool, Texts("Foo", ""), "Foo",
         withDescriptor({"<name>Air Tool</name>"})},
    });
}

TEST(ProductNameTest, UnreadableFilesThatRulesLoadReachTheCaller) {
    FakeIdentifyPlatform machine;
    machine.unreadable.insert("C:\\Apps\\Tool\\META-INF\\AIR\\application.xml");
    EXPECT_THROW(NormalizeProductName(kTool, machine), std::runtime_error);

    FakeIdentifyPlatform mozilla;
    mozilla.records[kTool] = Texts("Firefox", "Firefox", "", "Mozilla Corporation");
    mozilla.unreadable.insert("C:\\Apps\\Tool\\update-settings.ini");
    EXPECT_THROW(NormalizeProductName(kTool, mozilla), std::runtime_error);
}

TEST(ProductNameTest, PathIsReadThroughTheNativeSystemPath) {
    FakeIdentifyPlatform machine;
    machine.nativePaths["C:\\Windows\\System32\\foo.exe"] = "C:\\Windows\\Sysnative\\foo.exe";
    machine.records["C:\\Windows\\Sysnative\\foo.exe"] = Texts("Foo Service", "");
    EXPECT_EQ(NormalizeProductName("C:\\Windows\\System32\\foo.exe", machine), "Foo Service");
}

TEST(ProductNameTest, TellingRows) {
    const auto installed = [](std::string name) {
        return [name](FakeIdentifyPlatform& m) { m.installed.push_back(name); };
    };
    const auto file = [](std::string path, std::vector<std::string> lines) {
        return [path, lines](FakeIdentifyPlatform& m) { m.files[path] = lines; };
    };
    const std::string novaFolder = "C:\\Program Files\\novaPDF\\";
    ExpectProducts({
        {"1", kTool, Texts("", "doPDF 7"), "doPDF"},
        {"3 novaPDF", novaFolder + "startup.exe", Texts("Startup", ""), "novaPDF"},
        {"3 doPDF installed", novaFolder + "startup.exe", Texts("Startup", ""), "doPDF",
         installed("doPDF 8.0")},
        {"3 with a company", novaFolder + "startup.exe", Texts("Startup", "", "", "Softland"),
         "Startup"},
        {"6", kTool, Texts("Free YouTube to MP3 Converter by DVDVideoSoft", "Free Studio"),
         "Free YouTube to MP3 Converter by DVDVideoSoft"},
        {"7", kTool, Texts("", "JRiver Media Center 19"), "Media Center"},
        {"26 KiTTY", "C:\\k\\kitty.exe", Texts("", "PuTTY"), "KiTTY"},
        {"26 PuTTY", "C:\\p\\putty.exe", Texts("", "PuTTY"), "PuTTY"},
        {"30 one word", kTool, Texts("", "Audacity(R)"), "Audacity"},
        {"30 two words", kTool, Texts("", "Audacity Portable"), "Audacity Portable"},
        {"35 then 36", kTool, Texts("", "Openoffice Beta 3.0"), "OpenOffice.org"},
        {"39", kTool, Texts("", "avast! Antivirus"), "Avast Antivirus"},
        {"45", "C:\\AB\\tool.exe", Texts("", "Speed", "", "Auslogics"), "BoostSpeed",
         file("C:\\AB\\BoostSpeed.exe", {"x"})},
        {"45 without the program", "C:\\AB\\tool.exe", Texts("", "Speed", "", "Auslogics"),
         "Speed"},
        {"46", kTool, Texts("Foo Setup installer for the tool", "Foo"),
         "Foo Setup installer for the tool"},
        {"49", kTool, Texts("", "Adobe Photoshop CS5 Extended"), "Adobe Photoshop"},
        {"49 suite word too early", kTool, Texts("", "Adobe CS5 Suite"), "Adobe CS5 Suite"},
        {"56", kTool, Texts("", "AIDA64 Extreme Edition"), "AIDA64 Extreme"},
        {"80 safe", "C:\\T\\treepadsafe.exe", Texts("", "Treepad"), "Treepad Safe"},
        {"80 business", "C:\\T\\tpbiz.exe", Texts("", "Treepad"), "Treepad Business"},
        {"80 plus", "C:\\T\\treepadplus.exe", Texts("", "Treepad"), "Treepad Plus"},
        {"87", "C:\\F\\crashreporter.exe", Texts("", "Firefox"), "Firefox Crash Reporter"},
        {"87 other case", "C:\\F\\crashreporter.exe", Texts("", "firefox"), "firefox"},
        {"90", "C:\\T\\helper.exe", Texts("Thunderbird Mail Helper", "Thunderbird"),
         "Thunderbird Mail Helper"},
        {"90 the program itself", "C:\\T\\thunderbird.exe",
         Texts("Thunderbird Mail Helper", "Thunderbird"), "Thunderbird"},
        {"91", "C:\\F\\firefox.exe", Texts("Firefox", "Firefox", "", "Mozilla Corporation"),
         "Firefox (ESR)",
         file("C:\\F\\update-settings.ini", {"[Settings]", "ACCEPTED=firefox-esr"})},
        {"91 release channel", "C:\\F\\firefox.exe",
         Texts("Firefox", "Firefox", "", "Mozilla Corporation"), "Firefox",
         file("C:\\F\\update-settings.ini", {"[Settings]", "ACCEPTED=firefox-release"})},
        {"102 ocx", "C:\\W\\Flash32_11_2.ocx",
         Texts("Adobe Flash Player 11.2 r202", "Shockwave Flash"),
         "Adobe Flash Player for Internet Explorer"},
        {"102 dll", "C:\\W\\NPSWF32.dll", Texts("Adobe Flash Player 11.2 r202", "Shockwave Flash"),
         "Adobe Flash Player for Firefox"},
        {"102 pepper dll, 64-bit file name", "C:\\W\\pepflashplayer64_32_0_0_101.dll",
         Texts("Adobe Flash Player 32.0 r0", "Shockwave Flash"),
         "Adobe Flash Player for Opera/Chromium (64 bits)",
         [](FakeIdentifyPlatform& m) {
             m.fileVersions["C:\\W\\pepflashplayer64_32_0_0_101.dll"] = "32.0.0.101";
         }},
        {"102 digit at 17", "C:\\W\\flash", Texts("", "Shockwave Flash 10.1"),
         "Adobe Flash Player for Internet Explorer"},
        {"102 pepper program", "C:\\W\\pepper_util.exe",
         Texts("Adobe Flash Player 11.2 r202", "Shockwave Flash"),
         "Adobe Flash Player for Opera/Chromium"},
        {"103", "C:\\W\\flash.ocx", Texts("", "Flash Player 10.1.2"),
         "Adobe Flash Player for Internet Explorer"},
        {"103 program", "C:\\W\\flash.exe", Texts("", "Flash Player 10.1.2"), "Flash Player"},
        {"115", "C:\\Program Files\\JavaFX 2.0\\bin\\tool.exe", Texts("", "Java(TM) Platform SE 8"),
         "JavaFX(TM) Platform SE"},
        {"130", kTool, Texts("", "Malwarebytes Anti-Malware"),
         "Malwarebytes Anti-Malware Portable"},
        {"130 installed", kTool, Texts("", "Malwarebytes Anti-Malware"),
         "Malwarebytes Anti-Malware",
         [](FakeIdentifyPlatform& m) {
             m.uninstallVersions["Malwarebytes Anti-Malware"] = "1.75";
         }},
        {"132", "C:\\Apps\\FILEminimizer Office\\fileminimizer.exe", Texts("", "FILEminimizer"),
         "FILEminimizer Office"},
        {"132 other folder", "C:\\Apps\\fileminimizer office\\fileminimizer.exe",
         Texts("", "FILEminimizer"), "FILEminimizer"},
    });
}

TEST(ProductNameTest, RowsAreAsNarrowAsTheirKeys) {
    ExpectProducts({
        Named("Catalyst\xAE Control Center", "Catalyst Control Center"),
        Named("Catalyst Data Suite", "Catalyst Data Suite"),
        Named("Shockwave 11", "Adobe Shockwave Player"),
        Named("gimp-2.10", "GIMP"),
        Named("gimpshop", "gimpshop"),
        Named("ACDSee Pro 5", "ACDSee Pro"),
        Named("ACDSee Video Converter", "ACDSee Video Converter"),
        Named("Tk window shell", "Tcl/Tk"),
        Named("Tkinter helper", "Tkinter helper"),
        Named("fose_loader", "Fallout Script Extender"),
        Named("Fosetti Player", "Fosetti Player"),
    });
}

TEST(ProductNameTest, RowsAreNumberedInOrder) {
    int expected = 1;
    for (const NameRule& rule : ProductNameRules()) {
        EXPECT_EQ(rule.number, expected++);
    }
    EXPECT_EQ(expected - 1, 136);
}

} // namespace
