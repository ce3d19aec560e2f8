#include "identify/version_rules.h"

#include "identify/folder_search.h"
#include "identify/string_helpers.h"
#include "identify/version_text.h"
#include "util/ini_text.h"
#include "util/version.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>
#include <vector>

namespace {

// How much of a file beside a program a rule reads: a first line, an ini file, a log.
constexpr std::size_t kFirstLineBytes = 64 * 1024;
constexpr std::size_t kIniFileBytes = 1024 * 1024;
constexpr std::size_t kLogFileBytes = 4 * 1024 * 1024;

TVeyraVersion Ver(const std::string& text) {
    return TVeyraVersion(text);
}

std::string FirstLine(const std::string& bytes) {
    return bytes.substr(0, bytes.find_first_of("\r\n"));
}

bool Exists(DetectionContext& c, const std::string& name) {
    return c.platform.FileExistsNonEmpty(c.folder + name);
}

// The file name's extension with its dot, as written.
std::string Extension(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

std::string IniValue(DetectionContext& c, const std::string& file, const char* section,
                     const char* key) {
    return ReadIniValue(c.platform.ReadFileStart(file, kIniFileBytes), section, key, "");
}

// A version read from a file beside the program: digits and dots, and not empty (a missing key
// reads as empty text, which would otherwise pass for one).
bool IsReadVersion(const std::string& text) {
    return !text.empty() && IsDigitsAndDots(text);
}

// --- Product lookups ---------------------------------------------------------------------

std::string FfdshowLookup(IVersionDetectionPlatform& p) {
    std::string version = p.FindUninstallVersion("ffdshow");
    if (version.empty()) {
        if (const auto revision = p.ReadFfdshowRevision()) {
            version = FfdshowRevisionVersion(*revision);
        }
    }
    std::string systemFolder = p.SystemFolder();
    if (!systemFolder.empty() && !EndsWithSeparator(systemFolder)) {
        systemFolder += '\\';
    }
    const TVeyraVersion file = Ver(p.GetFileVersionText(systemFolder + "ff_vfw.dll"));
    const TVeyraVersion found = Ver(version);
    if (file.Release == found.Release && file.Minor > found.Minor) {
        version = file.AsText();
    }
    return version;
}

std::string GimpLookup(IVersionDetectionPlatform& p) {
    const std::string version = p.FindUninstallNameVersion("gimp");
    return version.find('.') == std::string::npos ? p.FindUninstallVersion("gimp") : version;
}

std::string XvidLookup(IVersionDetectionPlatform& p) {
    const std::string byVersion = p.FindUninstallVersion("XVid");
    const std::string byTitle = p.FindUninstallTitleVersion("XVid");
    return Ver(byVersion).IsNewerThan(Ver(byTitle)) ? byVersion : byTitle;
}

std::string OpenOfficeLookup(IVersionDetectionPlatform& p) {
    const std::string version = p.FindUninstallVersion("openoffice.org");
    if (!version.empty()) {
        return version;
    }
    TVeyraVersion combined = Ver(p.FindUninstallNameVersion("openoffice"));
    combined.Build = Ver(p.FindUninstallVersion("openoffice")).Release;
    return combined.AsText();
}

std::string LibreOfficeLookup(IVersionDetectionPlatform& p) {
    return p.FindUninstallVersion("libreoffice");
}

std::string MalwarebytesLookup(IVersionDetectionPlatform& p, const std::string& folder) {
    const std::string version = p.FindUninstallVersion("Malwarebytes Anti-Malware");
    if (!version.empty() || !p.FileExists(folder + "changes.txt")) {
        return version;
    }
    const std::string line = FirstLine(p.ReadFileStart(folder + "changes.txt", kFirstLineBytes));
    return Ver(FieldAt(line, CountInSet(line, " ") - 1, " ")).AsText();
}

std::string PaintNetLookup(IVersionDetectionPlatform& p) {
    return p.FindUninstallTitleVersion("Paint.NET");
}

std::string LaunchyLookup(IVersionDetectionPlatform& p) {
    return p.FindUninstallSecondWord("launchy");
}

std::string UnlockerLookup(IVersionDetectionPlatform& p) {
    return p.FindUninstallVersion("unlocker");
}

using Lookup = std::string (*)(IVersionDetectionPlatform&);

// --- Pseudo-names ------------------------------------------------------------------------

struct PseudoName {
    const char* token;
    Lookup lookup;
};

const PseudoName kPseudoNames[] = {
    {"CCCP",
     [](IVersionDetectionPlatform& p) {
         return p.FindUninstallVersion("Combined Community Codec Pack");
     }},
    {"QTA",
     [](IVersionDetectionPlatform& p) {
         return p.FindUninstallNameVersion("QuickTime Alternative");
     }},
    {"QTL", [](IVersionDetectionPlatform& p) { return p.FindUninstallNameVersion("QT Lite"); }},
    {"KLITE",
     [](IVersionDetectionPlatform& p) {
         return p.FindUninstallVersionWithout("K-Lite Codec Pack", "64-bit");
     }},
    {"KLITE64",
     [](IVersionDetectionPlatform& p) {
         return p.FindUninstallVersionWith("K-Lite Codec Pack", "64-bit");
     }},
    {"KLITEMEGA",
     [](IVersionDetectionPlatform& p) { return p.FindUninstallVersion("K-Lite Mega Codec Pack"); }},
};

// --- Name-keyed lookups ------------------------------------------------------------------

enum class KeyTest { BaseStarts, ProductIs, ProductHas };

struct NameKeyedLookup {
    int number;
    KeyTest test;
    const char* key;
    Lookup lookup;
};

const NameKeyedLookup kNameKeyedLookups[] = {
    {1, KeyTest::BaseStarts, "unlocker", UnlockerLookup},
    {2, KeyTest::BaseStarts, "gimp", GimpLookup},
    {3, KeyTest::BaseStarts, "ff_vfw", FfdshowLookup},
    {4, KeyTest::BaseStarts, "xvidvfw", XvidLookup},
    {5, KeyTest::ProductIs, "XVid Video Codec", XvidLookup},
    {6, KeyTest::BaseStarts, "ffdshow.ax", FfdshowLookup},
    {7, KeyTest::BaseStarts, "launchy", LaunchyLookup},
    {8, KeyTest::ProductHas, "ashampoo snap", XvidLookup},
};

bool KeyMatches(const NameKeyedLookup& row, const DetectionContext& c) {
    switch (row.test) {
    case KeyTest::BaseStarts:
        return StartsWithNoCase(c.base, row.key);
    case KeyTest::ProductIs:
        return EqualsNoCase(c.names.Product, row.key);
    case KeyTest::ProductHas:
        return ContainsNoCase(row.key, c.names.Product);
    }
    return false;
}

// --- Sibling redirects -------------------------------------------------------------------

enum class SiblingTest { BaseHas, ProductHas, BaseIs };

struct SiblingRedirect {
    int number;
    SiblingTest test;
    const char* key;
    std::array<const char*, 2> siblings; // tried in order; nullptr where there is no second
    bool mustDiffer;                     // the sibling must be another file than this one
};

const SiblingRedirect kSiblingRedirects[] = {
    {1, SiblingTest::BaseHas, "Uplay", {"upc.exe", "UbisoftGameLauncher.exe"}, true},
    {2, SiblingTest::BaseHas, "IObitUnlocker", {"IObitUnlocker.dll", nullptr}, true},
    {3, SiblingTest::ProductHas, "CloudBuckit", {"bin\\CloudBuckItApp.exe", nullptr}, true},
    {4, SiblingTest::ProductHas, "Airdroid", {"AirDroid.exe", nullptr}, true},
    {5, SiblingTest::ProductHas, "O&O Defrag", {"oodag.exe", nullptr}, true},
    {6, SiblingTest::BaseIs, "mbae-test", {"mbae.exe", nullptr}, false},
    {7, SiblingTest::BaseIs, "DRW", {"DRWUI.exe", nullptr}, false},
};

bool SiblingMatches(const SiblingRedirect& row, const DetectionContext& c) {
    switch (row.test) {
    case SiblingTest::BaseHas:
        return ContainsNoCase(row.key, c.base);
    case SiblingTest::ProductHas:
        return ContainsNoCase(row.key, c.names.Product);
    case SiblingTest::BaseIs:
        return EqualsNoCase(c.base, row.key);
    }
    return false;
}

// --- Group A -----------------------------------------------------------------------------

// Each action answers whether it was taken; the row's Stops column decides what that means.
enum class Stops { No, Yes, WhenTaken };

struct ProductRule {
    const char* number;
    bool (*matches)(const DetectionContext&);
    bool (*action)(DetectionContext&);
    Stops stops;
};

bool ProductHas(const DetectionContext& c, const char* text) {
    return ContainsNoCase(text, c.names.Product);
}

bool ProductIs(const DetectionContext& c, const char* text) {
    return EqualsNoCase(c.names.Product, text);
}

bool HasExact(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// A8 to A15: a browser-family program whose product version is the real one.
bool ProgramOf(const DetectionContext& c, const char* fileName,
               std::initializer_list<const char*> productNames, const char* company) {
    if (!EqualsNoCase(c.fileName, fileName) || !ContainsNoCase(company, c.info.CompanyName)) {
        return false;
    }
    for (const char* name : productNames) {
        if (c.info.ProductName == name) {
            return true;
        }
    }
    return false;
}

bool TakeLeadingProductVersion(DetectionContext& c) {
    c.result = LeadingVersionText(c.info.ProductVersion);
    return true;
}

bool AvidemuxDescriptionVersion(DetectionContext& c) {
    const std::string word = FieldAt(c.info.FileDescription, 1, " ");
    if (!IsDigitsAndDots(word)) {
        return false;
    }
    c.result = word;
    return true;
}

bool FarbarDate(DetectionContext& c) {
    c.result = SwapDayAndYear(c.result);
    return true;
}

bool PotPlayerLibraries(DetectionContext& c) {
    for (const char* library : {"PotPlayer.dll", "PotPlayer64.dll"}) {
        if (Exists(c, library)) {
            c.result = c.detector.Detect(c.folder + library);
        }
    }
    return true;
}

bool Empty(DetectionContext& c) {
    c.result.clear();
    return true;
}

bool AdwCleanerDigits(DetectionContext& c) {
    const TVeyraVersion v = Ver(c.info.FileVersion);
    if (static_cast<std::int64_t>(v.Release) + v.Build > 0) {
        c.result = std::to_string(v.Major) + "." + std::to_string(v.Minor) +
                   std::to_string(v.Release) + std::to_string(v.Build);
    }
    return true;
}

bool SongbirdUninstaller(DetectionContext& c) {
    if (Exists(c, "Songbird-Uninstall.exe")) {
        c.result = c.detector.Detect(c.folder + "Songbird-Uninstall.exe");
    }
    return true;
}

// A16, A17: the version lives in another program of the same folder; the path moves there.
bool MoveToAndDetect(DetectionContext& c, const std::string& newPath) {
    c.MoveTo(newPath);
    if (!c.platform.FileExistsNonEmpty(c.path)) {
        return false;
    }
    c.result = c.detector.Detect(c.path);
    return true;
}

bool Vc10Start(DetectionContext& c) {
    return MoveToAndDetect(c, c.folder + "VC10Start.exe");
}

constexpr const char* kExplorerService = "service\\SystemExplorerService.exe";
constexpr const char* kExplorerService64 = "service\\SystemExplorerService64.exe";

bool SystemExplorer(DetectionContext& c) {
    return MoveToAndDetect(
        c, CutSuffixNoCase(CutSuffixNoCase(c.path, kExplorerService), kExplorerService64) +
               "SystemExplorer.exe");
}

bool DropLeadingZero(DetectionContext& c) {
    c.result.erase(0, 2);
    return true;
}

bool WinZipDigits(DetectionContext& c) {
    c.result = ProductVersionDigits(c.info.ProductVersion);
    return true;
}

std::string Lower(std::string text) {
    for (char& ch : text) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return text;
}

const ProductRule kGroupA[] = {
    {"A1", [](const DetectionContext& c) { return ProductHas(c, "Avidemux"); },
     AvidemuxDescriptionVersion, Stops::WhenTaken},
    {"A2", [](const DetectionContext& c) { return ProductHas(c, "Farbar Recovery Scan Tool"); },
     FarbarDate, Stops::No},
    {"A3",
     [](const DetectionContext& c) { return ProductHas(c, "PotPlayer") && c.result == "0.0.0.0"; },
     PotPlayerLibraries, Stops::No},
    {"A4",
     [](const DetectionContext& c) {
         return ProductHas(c, "Advanced SystemCare") && !EqualsNoCase(c.base, "ASC");
     },
     Empty, Stops::Yes},
    {"A5", [](const DetectionContext& c) { return ProductIs(c, "AdwCleaner"); }, AdwCleanerDigits,
     Stops::No},
    {"A6",
     [](const DetectionContext& c) {
         return EqualsNoCase(c.base, "songbird") && !c.result.empty();
     },
     SongbirdUninstaller, Stops::No},
    {"A7",
     [](const DetectionContext& c) {
         return EqualsNoCase(c.base, "songbird") && !c.result.empty() &&
                ContainsNoCase("songbird", c.info.ProductName);
     },
     TakeLeadingProductVersion, Stops::Yes},
    {"A8",
     [](const DetectionContext& c) {
         return ProgramOf(c, "firefox.exe", {"Firefox", "Minefield"}, "mozilla");
     },
     TakeLeadingProductVersion, Stops::Yes},
    {"A9",
     [](const DetectionContext& c) {
         return ProgramOf(c, "Instantbird.exe", {"Instantbird"}, "Instantbird");
     },
     TakeLeadingProductVersion, Stops::Yes},
    {"A10", [](const DetectionContext& c) { return EqualsNoCase(c.fileName, "TagRename.exe"); },
     TakeLeadingProductVersion, Stops::Yes},
    {"A11", [](const DetectionContext& c) { return ProductHas(c, "Directory Opus"); },
     TakeLeadingProductVersion, Stops::Yes},
    {"A12",
     [](const DetectionContext& c) {
         return ProgramOf(c, "thunderbird.exe", {"Thunderbird"}, "mozilla");
     },
     TakeLeadingProductVersion, Stops::Yes},
    {"A13",
     [](const DetectionContext& c) {
         return ProgramOf(c, "seamonkey.exe", {"SeaMonkey"}, "mozilla");
     },
     TakeLeadingProductVersion, Stops::Yes},
    {"A14",
     [](const DetectionContext& c) { return ProgramOf(c, "sunbird.exe", {"Sunbird"}, "mozilla"); },
     TakeLeadingProductVersion, Stops::Yes},
    {"A15",
     [](const DetectionContext& c) {
         return ProgramOf(c, "palemoon.exe", {"Pale Moon"}, "Moonchild");
     },
     TakeLeadingProductVersion, Stops::Yes},
    {"A16",
     [](const DetectionContext& c) {
         return EqualsNoCase(c.base, "VC10Play") || EqualsNoCase(c.base, "vc10Center");
     },
     Vc10Start, Stops::WhenTaken},
    {"A17",
     [](const DetectionContext& c) {
         return EndsWithNoCase(c.path, kExplorerService) ||
                EndsWithNoCase(c.path, kExplorerService64);
     },
     SystemExplorer, Stops::WhenTaken},
    {"A18",
     [](const DetectionContext& c) {
         return LeftPart(c.result, 2) == "0." && HasExact(c.names.Product, "PDF") &&
                HasExact(c.names.Company, "Softland");
     },
     DropLeadingZero, Stops::No},
    {"A19",
     [](const DetectionContext& c) {
         const std::string name = Lower(c.fileName);
         return name.find("winzip") != std::string::npos ||
                (StartsWithExact(name, "wz") && StartsWithExact(c.result, "1."));
     },
     WinZipDigits, Stops::Yes},
};

// --- Group B -----------------------------------------------------------------------------

std::string WithPart(const std::string& version, std::int32_t TVeyraVersion::*part,
                     std::int32_t value) {
    TVeyraVersion v = Ver(version);
    v.*part = value;
    return v.AsText();
}

bool MalwarebytesRule(DetectionContext& c) {
    std::string library = c.folder + "mbam.dll";
    if (!c.platform.FileExistsNonEmpty(library)) {
        library = c.folder + "..\\mbam.dll";
    }
    std::string found;
    if (c.platform.FileExistsNonEmpty(library)) {
        found = c.detector.Detect(library);
        if (!found.empty()) {
            c.result = found;
        }
    }
    const std::string listed = MalwarebytesLookup(c.platform, c.folder);
    if (Ver(listed).IsNewerThan(Ver(found))) {
        c.result = listed;
    }
    return true;
}

bool JavaLauncher(DetectionContext& c) {
    if (Exists(c, "java.exe")) {
        c.result = c.detector.Detect(c.folder + "java.exe");
        return true;
    }
    std::vector<std::string> hits;
    FindFilesByName(c.folder + "..\\..\\..\\Java\\", "java.exe", hits, c.platform.FileSystem());
    if (!hits.empty() && c.platform.FileExistsNonEmpty(hits.front())) {
        c.result = c.detector.Detect(hits.front());
    }
    return true;
}

bool EaseUsUninstallVersion(DetectionContext& c) {
    const std::string name =
        CutSuffixNoCase(CutSuffixNoCase(c.names.Product, "Main Application"), "Loader");
    const std::string version = c.platform.FindUninstallVersion(name);
    if (!version.empty()) {
        c.result = version;
    }
    return true;
}

bool UltimateTagScannerVersion(DetectionContext& c) {
    TVeyraVersion v = Ver(c.info.ProductVersion);
    TVeyraVersion f = Ver(c.info.FileVersion);
    if (f.Release > 9 && f.Release % 10 == 0 && f.Build > 9) {
        f.Release /= 10;
    }
    const std::string digits = std::to_string(f.Release) + std::to_string(f.Build);
    std::int32_t release = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), release);
    v.Release = error == std::errc() && end == digits.data() + digits.size() ? release : 0;
    v.Build = 0;
    c.result = v.AsText();
    return true;
}

bool AcrobatReaderVersion(DetectionContext& c) {
    const TVeyraVersion reader = Ver(c.detector.Detect(c.folder + "AcroRd32.exe"));
    const TVeyraVersion current = Ver(c.result);
    if (current.Major == reader.Major && current.Minor == reader.Minor) {
        c.result = reader.AsText();
    }
    return true;
}

// A year-first version (2012.5.1) moves one part to the right behind a major version 3.
bool TopalaVersion(DetectionContext& c) {
    TVeyraVersion v = Ver(c.result);
    if (v.Major > 2000) {
        v.Build = v.Release;
        v.Release = v.Minor;
        v.Minor = v.Major;
        v.Major = 3;
        c.result = v.AsText();
    }
    return true;
}

bool BlueGriffonVersion(DetectionContext& c) {
    const std::string version = IniValue(c, c.folder + "application.ini", "App", "version");
    if (IsReadVersion(version)) {
        c.result = version;
    }
    return true;
}

bool Jv16Version(DetectionContext& c) {
    TVeyraVersion v = Ver(c.result);
    if (v.Major > 2000 && static_cast<std::int64_t>(v.Minor) + v.Release + v.Build == 0) {
        v.Minor = v.Major;
        v.Major = 0;
    }
    c.result = v.AsText();
    return true;
}

bool EaseUsLogRule(DetectionContext& c) {
    if (const auto version = EaseUsLogVersion(
            c.platform.ReadUtf16FileStart(c.folder + "easeusue.log", kLogFileBytes))) {
        c.result = *version;
    }
    return true;
}

bool PortablePackage(DetectionContext& c) {
    std::vector<std::string> programs;
    FindFilesByExtension(c.folder + "App\\", ".exe", programs, c.platform.FileSystem());
    const std::string inner = CutSuffixNoCase(c.base, "Portable");
    for (const std::string& program : programs) {
        if (EqualsNoCase(FileBaseName(program), inner)) {
            c.result = c.detector.Detect(program);
            if (IsValidVersionText(c.result)) {
                return true;
            }
        }
    }
    if (Exists(c, "App\\AppInfo\\appinfo.ini")) {
        const std::string version =
            IniValue(c, c.folder + "App\\AppInfo\\appinfo.ini", "version", "PackageVersion");
        if (IsReadVersion(version)) {
            c.result = version;
        }
    }
    return true;
}

bool TorBrowserChangelog(DetectionContext& c) {
    c.result.clear();
    const std::string changelog = c.folder + "TorBrowser\\Docs\\changelog.txt";
    if (c.platform.FileExistsNonEmpty(changelog)) {
        const std::string line = FirstLine(c.platform.ReadFileStart(changelog, kFirstLineBytes));
        const std::string version = FieldAt(CutPrefixNoCase(line, "Tor Browser "), 0, " ");
        if (IsDigitsAndDots(version)) {
            c.result = version;
        }
    }
    return true;
}

const ProductRule kGroupB[] = {
    {"B1", [](const DetectionContext& c) { return c.names.Product == "ThreatFire"; },
     [](DetectionContext& c) {
         c.result = c.info.ProductVersion;
         return true;
     },
     Stops::No},
    {"B2",
     [](const DetectionContext& c) {
         return c.names.Product == "Skype" && HasExact(c.names.Company, "Skype");
     },
     [](DetectionContext& c) {
         c.result = WithPart(c.result, &TVeyraVersion::Release, 0);
         return true;
     },
     Stops::No},
    {"B3",
     [](const DetectionContext& c) {
         return StartsWithNoCase(c.names.Product, "Internet Download Manager");
     },
     [](DetectionContext& c) {
         c.result = CutSuffixNoCase(WithPart(c.result, &TVeyraVersion::Build, 0), ".0");
         return true;
     },
     Stops::No},
    {"B4",
     [](const DetectionContext& c) {
         return HasExact(c.names.Product, "TuneUp") && HasExact(c.names.Company, "TuneUp Software");
     },
     [](DetectionContext& c) {
         c.result = WithPart(c.result, &TVeyraVersion::Build, 0);
         return true;
     },
     Stops::No},
    {"B5",
     [](const DetectionContext& c) {
         return ProductHas(c, "OpenOffice") && ContainsNoCase("OpenOffice.org", c.names.Company);
     },
     [](DetectionContext& c) {
         c.result = OpenOfficeLookup(c.platform);
         return true;
     },
     Stops::No},
    {"B6",
     [](const DetectionContext& c) {
         return ProductHas(c, "LibreOffice") &&
                ContainsNoCase("Document Foundation", c.names.Company);
     },
     [](DetectionContext& c) {
         c.result = LibreOfficeLookup(c.platform);
         return true;
     },
     Stops::No},
    {"B7",
     [](const DetectionContext& c) {
         return ProductHas(c, "Malwarebytes Anti-Malware") && !ProductHas(c, "clean") &&
                Extension(c.fileName) == ".exe";
     },
     MalwarebytesRule, Stops::No},
    {"B8",
     [](const DetectionContext& c) {
         return (HasExact(c.names.Product, "Java(TM)") ||
                 HasExact(c.names.Product, "JavaFX(TM)")) &&
                HasExact(c.names.Company, "Oracle") && IsValidVersionText(c.info.ProductVersion);
     },
     [](DetectionContext& c) {
         c.result = c.info.ProductVersion;
         return true;
     },
     Stops::No},
    {"B9",
     [](const DetectionContext& c) {
         return HasExact(c.names.Product, "Java") && HasExact(c.names.Product, "Platform SE") &&
                !EqualsNoCase(c.base, "java");
     },
     JavaLauncher, Stops::No},
    {"B10", [](const DetectionContext& c) { return ProductHas(c, "EaseUS"); },
     EaseUsUninstallVersion, Stops::No},
    {"B11", [](const DetectionContext& c) { return ProductIs(c, "Ultimate TagScanner"); },
     UltimateTagScannerVersion, Stops::No},
    {"B12",
     [](const DetectionContext& c) {
         return EqualsNoCase(c.base, "reader_sl") &&
                c.platform.FileExistsNonEmpty(c.folder + "AcroRd32.exe");
     },
     AcrobatReaderVersion, Stops::No},
    {"B13",
     [](const DetectionContext& c) {
         return ProductIs(c, "System Information") && ContainsNoCase("Topala", c.names.Company);
     },
     TopalaVersion, Stops::No},
    {"B14",
     [](const DetectionContext& c) {
         return ProductIs(c, "BlueGriffon") &&
                c.platform.FileExistsNonEmpty(c.folder + "application.ini");
     },
     BlueGriffonVersion, Stops::No},
    {"B15", [](const DetectionContext& c) { return ProductHas(c, "Spybot - Search & Destroy"); },
     [](DetectionContext& c) {
         c.result = WithPart(c.result, &TVeyraVersion::Build, 0);
         return true;
     },
     Stops::No},
    {"B16", [](const DetectionContext& c) { return ProductIs(c, "jv16 PowerTools"); }, Jv16Version,
     Stops::No},
    {"B17",
     [](const DetectionContext& c) {
         return ProductIs(c, "EaseUS Data Recovery Wizard") &&
                c.platform.FileExistsNonEmpty(c.folder + "easeusue.log");
     },
     EaseUsLogRule, Stops::No},
    {"B18", [](const DetectionContext& c) { return c.names.Company == "PortableApps.com"; },
     PortablePackage, Stops::No},
    {"B19",
     [](const DetectionContext& c) {
         return StartsWithNoCase(c.names.Product, "Winmerge") &&
                StartsWithNoCase(c.result, "0.2011.");
     },
     [](DetectionContext& c) {
         c.result = CutPrefixNoCase(c.result, "0.");
         return true;
     },
     Stops::No},
    {"B20",
     [](const DetectionContext& c) { return StartsWithNoCase(c.names.Product, "Tor Browser"); },
     TorBrowserChangelog, Stops::No},
};

bool ApplyRules(DetectionContext& context, const ProductRule* first, const ProductRule* last) {
    for (const ProductRule* rule = first; rule != last; ++rule) {
        if (!rule->matches(context)) {
            continue;
        }
        const bool taken = rule->action(context);
        if (rule->stops == Stops::Yes || (rule->stops == Stops::WhenTaken && taken)) {
            return true;
        }
    }
    return false;
}

} // namespace

void DetectionContext::MoveTo(const std::string& newPath) {
    path = newPath;
    base = FileBaseName(path);
    fileName = PathFileName(path);
}

std::optional<std::string> PseudoNameVersion(const std::string& path,
                                             IVersionDetectionPlatform& platform) {
    for (const PseudoName& pseudo : kPseudoNames) {
        if (path == pseudo.token) {
            return pseudo.lookup(platform);
        }
    }
    return std::nullopt;
}

void ApplyNameKeyedLookups(DetectionContext& context) {
    for (const NameKeyedLookup& row : kNameKeyedLookups) {
        if (KeyMatches(row, context)) {
            context.result = row.lookup(context.platform);
        }
    }
}

bool ApplySiblingRedirect(DetectionContext& context) {
    for (const SiblingRedirect& row : kSiblingRedirects) {
        if (!SiblingMatches(row, context)) {
            continue;
        }
        for (const char* name : row.siblings) {
            if (name == nullptr) {
                break;
            }
            const std::string sibling = context.folder + name;
            if (context.platform.FileExistsNonEmpty(sibling) &&
                !(row.mustDiffer && EqualsNoCase(sibling, context.path))) {
                context.result = context.detector.Detect(sibling);
                return true;
            }
        }
    }
    return false;
}

void ApplyPaintNetRule(DetectionContext& context) {
    const std::string listed = PaintNetLookup(context.platform);
    if (!listed.empty()) {
        context.result = listed + "." + std::to_string(Ver(context.result).Release);
    }
}

bool ApplyGroupA(DetectionContext& context) {
    return ApplyRules(context, std::begin(kGroupA), std::end(kGroupA));
}

void ApplyGroupB(DetectionContext& context) {
    ApplyRules(context, std::begin(kGroupB), std::end(kGroupB));
}

std::string ProductVersionDigits(const std::string& productVersion) {
    std::string digits;
    bool taking = true;
    // The last character (a closing parenthesis in "21.0 (12288)") is never looked at.
    for (std::size_t i = 0; i + 1 < productVersion.size(); ++i) {
        const char c = productVersion[i];
        if (taking && ((c >= '0' && c <= '9') || c == '.')) {
            digits += c;
            continue;
        }
        taking = c == '(';
        if (!digits.empty() && digits.back() != '.') {
            digits += '.';
        }
    }
    while (CountInSet(digits, ".") < 4) {
        digits += ".0";
    }
    if (!digits.empty() && digits.back() == '.') {
        digits.pop_back();
    }
    return digits;
}

std::string SwapDayAndYear(const std::string& version) {
    TVeyraVersion v = Ver(version);
    if (v.Major >= 1 && v.Major <= 31 && v.Minor >= 1 && v.Minor <= 12 && v.Release >= 2001 &&
        v.Release <= 2099) {
        std::swap(v.Major, v.Release);
        return v.AsText();
    }
    return version;
}

std::string FfdshowRevisionVersion(std::int32_t revision) {
    const std::string number = std::to_string(revision);
    if (number == "0") {
        return number;
    }
    const char* prefix = revision <= 3402 ? "1.0." : revision <= 4422 ? "1.1." : "1.2.";
    return prefix + number;
}

std::optional<std::string> EaseUsLogVersion(const std::string& logText) {
    constexpr std::string_view kMarker = "install_version=DRW";
    const std::size_t found = logText.find(kMarker);
    if (found == std::string::npos) {
        return std::nullopt;
    }
    // The text after the marker without the one character that follows it; RightPart clamps a
    // count that would reach past either end.
    const int position = static_cast<int>(found) + 1;
    const std::string version =
        FieldAt(RightPart(logText, static_cast<int>(logText.size()) - position - 19), 0, " ");
    if (!IsReadVersion(version)) {
        return std::nullopt;
    }
    return version;
}
