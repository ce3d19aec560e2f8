// The product-name rule table: one row per rule, tried once each in this order. Rows keyed on a
// product map the variants of that product's name, as their condition finds them, to one form.
#include "identify/product_name.h"

#include "identify/string_helpers.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

using enum RuleField;
using enum RuleCompare;

// Row 3: a novaPDF helper that calls itself "Startup"; doPDF ships the same helper.
void NovaPdfStartup(NameRuleContext& c) {
    c.name = "novaPDF";
    if (c.platform.IsProgramInstalled("doPDF")) {
        c.name = "doPDF";
    }
}

// Row 49: "Adobe Photoshop CS5 Extended" becomes "Adobe Photoshop": the words before the first
// word that starts with "CS".
void AdobeBeforeSuiteWord(NameRuleContext& c) {
    std::string kept;
    const int words = CountInSet(c.name, " ");
    for (int i = 0; i < words; ++i) {
        const std::string word = FieldAt(c.name, i, " ");
        if (StartsWithNoCase(word, "CS")) {
            break;
        }
        kept += word + " ";
    }
    c.name = Trim(kept);
}

// Row 80: the Treepad editions differ only in their file names.
void TreepadEdition(NameRuleContext& c) {
    if (EndsWithNoCase(c.base, "safe")) {
        c.name = "Treepad Safe";
    }
    if (EndsWithNoCase(c.base, "biz")) {
        c.name = "Treepad Business";
    }
    if (EndsWithNoCase(c.base, "plus")) {
        c.name = "Treepad Plus";
    }
}

// Row 91: a Mozilla program on the extended-support channel says "esr" in its update settings.
void MarkExtendedSupport(NameRuleContext& c) {
    constexpr std::string_view kEsr = " (ESR)";
    const std::vector<std::string> lines = c.platform.LoadLines(c.folder + "update-settings.ini");
    for (const std::string& line : lines) {
        if (ContainsNoCase("esr", line)) {
            if (!c.name.ends_with(kEsr)) {
                c.name += kEsr;
            }
            return;
        }
    }
}

// Row 102: the Flash player's plug-in flavours share one description.
void FlashPlayerFlavour(NameRuleContext& c) {
    if (ContainsNoCase(".ocx", c.path)) {
        c.name = "Adobe Flash Player for Internet Explorer";
    }
    if (ContainsNoCase(".dll", c.path)) {
        c.name = "Adobe Flash Player for Firefox";
        if (StartsWithNoCase(c.base, "pepflashplayer")) {
            c.name = "Adobe Flash Player for Opera/Chromium";
        }
    }
    if (c.name.size() > 17 && !ContainsNoCase(".exe", c.path) && c.name[16] >= '0' &&
        c.name[16] <= '9') {
        c.name = "Adobe Flash Player for Internet Explorer";
    }
    if (ContainsNoCase(".exe", c.path) && ContainsNoCase("pepper", c.base)) {
        c.name = "Adobe Flash Player for Opera/Chromium";
    }
}

// clang-format off
constexpr NameRule kRules[] = {
    {1,   All(RuleTest{Name, Starts, "doPDF"}),                                  Set("doPDF")},
    {2,   All(RuleTest{Name, Starts, "novaPDF"}),                                Set("novaPDF")},
    {3,   All(RuleTest{Name, Is, "Startup"}, RuleTest{CompanyName, IsEmpty},
              RuleTest{Folder, Has, "novapdf"}),                                 Call(NovaPdfStartup)},
    {4,   All(RuleTest{Name, Starts, "LosslessCut"}),                            Set("LosslessCut")},
    {5,   All(RuleTest{Name, Starts, "Google Earth"}),                           Set("Google Earth")},
    {6,   All(RuleTest{Name, Is, "Free Studio"},
              RuleTest{FileDescription, Lacks, "Free Studio"}),                  CopyOf(FileDescription)},
    {7,   Always(),                                                              CutPrefix("JRiver ")},
    {8,   Always(),                                                              CutPrefix("J. River ")},
    {9,   All(RuleTest{Name, Starts, "Tcl "}),                                   Set("Tcl/Tk")},
    {10,  All(RuleTest{Name, Starts, "Tk "}),                                    Set("Tcl/Tk")},
    {11,  All(RuleTest{Name, Starts, "Canon Solution Menu EX"}),                 Set("Canon Solution Menu EX")},
    {12,  All(RuleTest{Name, Is, "MSIAfterburner"}),                             Set("MSI Afterburner")},
    {13,  All(RuleTest{Name, Starts, "Free All Converter"}),                     Set("Free All Converter")},
    {14,  All(RuleTest{Name, Starts, "NAPS2"}),                                  Set("NAPS2")},
    {15,  All(RuleTest{Name, Starts, "FreeCommander"}),                          Set("FreeCommander")},
    {16,  All(RuleTest{Name, Starts, "SpiderOak"}),                              Set("SpiderOak")},
    {17,  All(RuleTest{Name, Starts, "Neuber Software / Typograf"}),             Set("Typograf")},
    {18,  All(RuleTest{Name, Starts, "RegRun Security Suire"}),                  Set("RegRun Security Suite")},
    {19,  All(RuleTest{Name, Is, "Autostart program viewer"}),                   Set("Autoruns")},
    {20,  All(RuleTest{Name, Is, "startup lancher"}),                            Set("Startup Launcher")},
    {21,  All(RuleTest{Name, Starts, "Tag&Rename"}),                             Set("Tag&Rename")},
    {22,  All(RuleTest{Name, Is, "3D Vision Shortcut Handler"}),                 Set("NVIDIA 3D Vision")},
    {23,  All(RuleTest{Name, Is, "OculusConfigUtil"}),                           Set("Oculus Config Util")},
    {24,  All(RuleTest{Name, Is, "thinclient"}),                                 Set("ThinClient")},
    {25,  All(RuleTest{Name, Is, "Lists USB Devices"}),                          Set("USB Device Lister")},
    {26,  All(RuleTest{Name, Has, "putty"}, RuleTest{Base, Starts, "k"}),        ReplaceNoCase("Putty", "KiTTY")},
    {27,  All(RuleTest{Name, Is, "EpicGamesLauncher"}),                          Set("Epic Games Launcher")},
    {28,  All(RuleTest{Name, Starts, "Textbausteine"}),                          Set("Textbausteine")},
    {29,  All(RuleTest{Name, Is, "CareCenter"}),                                 Set("Care Center")},
    {30,  All(RuleTest{Name, Starts, "Audacity"}, RuleTest{Name, WordsAre, 1}),  Set("Audacity")},
    {31,  All(RuleTest{Name, Starts, "Punto Switcher"}),                         Set("Punto Switcher")},
    {32,  All(RuleTest{Name, Starts, "Internet Download Manager"}),              Set("Internet Download Manager")},
    {33,  All(RuleTest{Name, Has, "K-MultimediaPlayer"}),                        Set("KMPlayer")},
    {34,  All(RuleTest{Name, Starts, "AIMP"}),                                   Set("AIMP")},
    {35,  All(RuleTest{Name, Starts, "Openoffice Beta"}),                        SwapPrefix("Openoffice Beta", "Openoffice ")},
    {36,  All(RuleTest{Name, Starts, "Openoffice "}),                            SwapPrefix("Openoffice ", "OpenOffice.org ")},
    {37,  All(RuleTest{Name, Starts, "SoftPerfect NetWorx"}),                    Set("NetWorx")},
    {38,  All(RuleTest{Name, Is, "Windows Directory Statistics"}),               Set("WinDirStat")},
    {39,  All(RuleTest{Name, Starts, "avast!"}),                                 SwapPrefix("Avast!", "Avast ")},
    {40,  All(RuleTest{Name, Is, "Opera beta Internet Browser"}),                Set("Opera Beta")},
    {41,  All(RuleTest{Name, Starts, "XBMC"}),                                   Set("XBMC")},
    {42,  All(RuleTest{Name, Is, "FileHippo.AppManager"}),                       Set("FileHippo App Manager")},
    {43,  All(RuleTest{Name, Is, "G Data 2nd keyboard blocker"}),                Set("G Data Keyboard Blocker")},
    {44,  All(RuleTest{Name, Is, "anti"}, RuleTest{CompanyName, Has, "G DATA"}), Set("G Data AntiVirus")},
    {45,  All(RuleTest{CompanyName, Has, "Auslogic"},
              RuleTest{Folder, FileBesideExists, "BoostSpeed.exe"}),             Set("BoostSpeed")},
    {46,  All(RuleTest{FileDescription, StartsWithField, ProductName},
              RuleTest{FileDescription, Has, " installer"}),                     CopyOf(FileDescription)},
    {47,  All(RuleTest{Name, Starts, "Spybot - Search & Destroy"}),              Set("Spybot - Search & Destroy")},
    {48,  All(RuleTest{Name, Starts, "Geek Un"}),                                Set("Geek Uninstaller")},
    {49,  All(RuleTest{Name, Starts, "Adobe"}, RuleTest{Name, ExactlyAfter, " CS", 7},
              RuleTest{Name, WordsAbove, 2}),                                    Call(AdobeBeforeSuiteWord)},
    {50,  All(RuleTest{Base, Is, "reader_sl"}),                                  Set("Adobe Reader Speed Launcher")},
    {51,  All(RuleTest{Name, Starts, "Maxthon"}),                                Set("Maxthon")},
    {52,  All(RuleTest{Name, Is, "ImageResizer"}),                               Set("Image Resizer")},
    {53,  All(RuleTest{Name, Is, "IObitUninstaler"}),                            Set("IObit Uninstaller")},
    {54,  All(RuleTest{Name, Starts, "Internet Radio"}),                         Set("Internet Radio")},
    {55,  All(RuleTest{Name, Starts, "Kaspersky"}),                              ReplaceNoCase("Kaspersky", "Kaspersky")},
    {56,  All(RuleTest{Name, Starts, "AIDA"}, RuleTest{Name, Ends, " Edition"}), CutSuffix(" Edition")},
    {57,  All(RuleTest{Name, Starts, "Google Chrome Frame"}),                    Set("Google Chrome Frame")},
    {58,  All(RuleTest{Name, Starts, "Stardock Fences"}),                        Set("Fences")},
    {59,  All(RuleTest{Name, Is, "WinRAR archiver"}),                            Set("WinRAR")},
    {60,  All(RuleTest{Name, HasExactly, "G DATA"}),                             ReplaceExact("G DATA", "G Data")},
    {61,  All(RuleTest{Name, Starts, "SlySoft AnyDVD"}),                         Set("AnyDVD")},
    {62,  All(RuleTest{Name, Starts, "Acronis TrueImage"}),                      Set("Acronis True Image")},
    {63,  All(RuleTest{Name, Starts, "Bitdreamers "}),                           CutPrefix("Bitdreamers ")},
    {64,  All(RuleTest{Name, Starts, "SureThing"}),                              Set("SureThing CD Labeler")},
    {65,  All(RuleTest{Name, Starts, "Samsung "}),                               SwapPrefix("Samsung ", "Samsung ")},
    {66,  All(RuleTest{Name, Starts, "TraXEx "}),                                Set("TraXEx")},
    {67,  All(RuleTest{Name, Is, "Internet Mail Client"},
              RuleTest{ProductName, WordsAre, 1}),                               CopyOf(ProductName)},
    {68,  Any(RuleTest{Name, Is, "fose"}, RuleTest{Name, Starts, "fose_"}),    Set("Fallout Script Extender")},
    {69,  All(RuleTest{Name, Starts, "Virtual CloneDrive"}),                     Set("Virtual CloneDrive")},
    {70,  All(RuleTest{Name, Is, "VirtualCloneDrive Preferences"}),              Set("Virtual CloneDrive")},
    {71,  All(RuleTest{Name, Starts, "CloneDVDmobile"}),                         Set("CloneDVD mobile")},
    {72,  All(RuleTest{Name, Starts, "CloneDVD mobile"}),                        Set("CloneDVD mobile")},
    {73,  All(RuleTest{Name, Is, "Steam Client Bootstrapper"}),                  Set("Steam")},
    {74,  All(RuleTest{Name, Is, "Steam Client Service"}),                       Set("Steam")},
    {75,  All(RuleTest{Name, Starts, "Fiddler2"}),                               Set("Fiddler")},
    {76,  All(RuleTest{Name, Starts, "Catalyst Control Centre"}),                Set("Catalyst Control Center")},
    {77,  All(RuleTest{Name, Starts, "Catalyst"}, RuleTest{Name, Has, "Control Cent"}),
                                                                                 Set("Catalyst Control Center")},
    {78,  All(RuleTest{Name, Starts, "Universal Extractor"}),                    Set("Universal Extractor")},
    {79,  All(RuleTest{Name, Starts, "ThumbsPlus"}),                             Set("ThumbsPlus")},
    {80,  All(RuleTest{Name, Starts, "Treepad"}),                                Call(TreepadEdition)},
    {81,  All(RuleTest{Name, Starts, "BoxCryptor"}),                             Set("BoxCryptor")},
    {82,  All(RuleTest{Name, Starts, "inSSIDer"}),                               Set("inSSIDer")},
    {83,  All(RuleTest{Name, Starts, "CyberLink PowerDVD"}),                     Set("CyberLink PowerDVD")},
    {84,  All(RuleTest{Name, Is, "TheGodfather"}),                               Set("The Godfather")},
    {85,  All(RuleTest{Name, Starts, "http://"}),                                Clear()},
    {86,  All(RuleTest{Name, Is, "File Description"}),                           Clear()},
    {87,  FirstAndAnyOf(RuleTest{Base, IsExactly, "crashreporter"},
                        RuleTest{Name, IsExactly, "Firefox"}, RuleTest{Name, IsExactly, "Minefield"},
                        RuleTest{Name, IsExactly, "Aurora"}),                    Append(" Crash Reporter")},
    {88,  All(RuleTest{Name, IsExactly, "Minefield"}),                           Set("Firefox Nightly")},
    {89,  All(RuleTest{Name, Is, "Mozilla Thunderbird"}),                        Set("Thunderbird")},
    {90,  All(RuleTest{Name, IsExactly, "Thunderbird"}, RuleTest{Base, IsNot, "thunderbird"},
              RuleTest{DescriptionWords, WordsAbove, 1}),                        CopyOf(FileDescription)},
    {91,  All(RuleTest{CompanyName, Has, "mozilla"},
              RuleTest{Folder, FileBesideExists, "update-settings.ini"}),        Call(MarkExtendedSupport)},
    {92,  All(RuleTest{Name, Starts, "BSPlayer"}),                               Set("BS.Player")},
    {93,  All(RuleTest{Name, Is, "unlocker"}),                                   Set("Unlocker")},
    {94,  Any(RuleTest{Name, Is, "gimp"}, RuleTest{Name, Starts, "gimp-"}),      Set("GIMP")},
    {95,  All(RuleTest{Name, Starts, "GNU Image Manipulation Program"}),         Set("GIMP")},
    {96,  All(RuleTest{Name, Starts, "ff_vfw"}),                                 Set("ffdshow VFW")},
    {97,  All(RuleTest{Name, Starts, "ffdshow VFW"}),                            Set("ffdshow")},
    {98,  All(RuleTest{Name, Is, "ffdshow.ax"}),                                 Set("ffdshow")},
    {99,  All(RuleTest{Name, Is, "xvidvfw.dll"}),                                Set("Xvid")},
    {100, All(RuleTest{Name, Starts, "monkey"}, RuleTest{Name, Has, "audio"}),   Set("Monkey's Audio")},
    {101, All(RuleTest{Name, Is, "launchy"}),                                    Set("Launchy")},
    {102, All(RuleTest{Name, HasExactly, "Shockwave Flash"}),                    Call(FlashPlayerFlavour)},
    {103, All(RuleTest{Name, HasExactly, "Flash Player"}, RuleTest{Path, Lacks, ".exe"},
              RuleTest{Name, DigitAt, 14}),                                      Set("Adobe Flash Player for Internet Explorer")},
    {104, All(RuleTest{Name, HasExactly, "Flash Player Helper"}),                Set("Adobe Flash Player")},
    {105, All(RuleTest{Name, HasExactly, "Shockwave Player"}),                   Set("Adobe Shockwave Player")},
    {106, All(RuleTest{Name, HasExactly, "Shockwave ActiveX"}),                  Set("Adobe Shockwave Player")},
    {107, All(RuleTest{Name, Starts, "Shockwave "}, RuleTest{Name, Lacks, "Flash"}),
                                                                                 Set("Adobe Shockwave Player")},
    {108, Always(),                                                              TrimName()},
    {109, All(RuleTest{FileName, Is, "icq.exe"}),                                Set("ICQ")},
    {110, All(RuleTest{Name, Is, "Ad-Aware SE Core application"}),               Set("Ad-Aware SE")},
    {111, All(RuleTest{Name, Is, "Ad-Aware GUI"}),                               Set("Ad-Aware")},
    {112, All(RuleTest{Name, Is, "java"}),                                       Set("Java")},
    {113, All(RuleTest{Name, Is, "Java(TM) Platform SE binary"}),                Set("Java")},
    {114, All(RuleTest{Name, Is, "Java(TM) 2 Platform Standard Edition binary"}), Set("Java")},
    {115, All(RuleTest{Name, HasExactly, "Java(TM) "}, RuleTest{Path, HasExactly, "JavaFX "}),
                                                                                 ReplaceNoCase("Java(TM)", "JavaFX(TM)")},
    {116, All(RuleTest{Name, Starts, "DivXNetworks divx"}),                      Set("DivX")},
    {117, All(RuleTest{Name, Starts, "Songbird Web Player"}),                    Set("Songbird")},
    {118, All(RuleTest{Name, Is, "WinZip Executable"}),                          Set("WinZip")},
    {119, All(RuleTest{Name, Is, "Winzip"}),                                     Set("WinZip")},
    {120, All(RuleTest{Name, Starts, "WinZip Self-Extractor"}),                  Set("WinZip Self-Extractor")},
    {121, All(RuleTest{Name, Starts, "ACDSee Pro"}),                             Set("ACDSee Pro")},
    {122, All(RuleTest{Name, Starts, "ACDSee"}, RuleTest{Name, Has, "Photo Manager"}),
                                                                                 Set("ACDSee")},
    {123, All(RuleTest{Name, Starts, "Nero StartSmart "}),                       Set("Nero StartSmart")},
    {124, All(RuleTest{Name, Starts, "MPC-BE"}),                                 Set("MPC-BE")},
    {125, All(RuleTest{Name, Starts, "Media Player Classic - Homecinema"}),      Set("MPC-HC")},
    {126, All(RuleTest{Name, Starts, "MPC-HC"}),                                 Set("MPC-HC")},
    {127, All(RuleTest{Name, Starts, "FileZilla FTP Client"}),                   Set("FileZilla")},
    {128, All(RuleTest{Name, Starts, "COMODO SystemCleaner"}),                   Set("COMODO System Cleaner")},
    {129, All(RuleTest{Name, Starts, "Malwarebytes' Anti-Malware"}),             Set("Malwarebytes Anti-Malware")},
    {130, All(RuleTest{Name, IsExactly, "Malwarebytes Anti-Malware"},
              RuleTest{Machine, NoUninstallVersion, "Malwarebytes Anti-Malware"}), Set("Malwarebytes Anti-Malware Portable")},
    {131, All(RuleTest{Name, Starts, "Malwarebytes Anti-Malware"}, RuleTest{Name, Has, "Premium"}),
                                                                                 Set("Malwarebytes Anti-Malware Premium")},
    {132, All(RuleTest{Name, Is, "FILEminimizer"}, RuleTest{Base, Is, "FILEminimizer"},
              RuleTest{FolderName, StartsExactly, "FILEminimizer"}),             CopyOf(FolderName)},
    {133, All(RuleTest{Name, Starts, "VirtualDub"}),                             Set("VirtualDub")},
    {134, All(RuleTest{Name, Starts, "Cobian Backup"}),                          Set("Cobian Backup")},
    {135, Any(RuleTest{Name, Is, "QRM"}, RuleTest{Name, Starts, "QRM "}),        Set("QRM Plus")},
    {136, All(RuleTest{Name, Is, "IAStorUI"}),                                   Set("Intel Rapid Storage Technology")},
};
// clang-format on

} // namespace

std::span<const NameRule> ProductNameRules() {
    return kRules;
}
