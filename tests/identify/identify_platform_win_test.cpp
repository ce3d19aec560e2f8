// The reader, the text conversion and the uninstall lookups against the real system under Wine.
#include "identify/identify_text.h"
#include "identify/pe_image.h"
#include "identify/system_identify_platform.h"
#include "identify/version_api.h"
#include "util/environment_win.h"
#include "util/folders_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Fixture(const std::string& name) {
    return std::string(SLOTVANE_VERSION_FIXTURES) + name;
}

// Every character but the three rule symbols converts as the system's code page 936 converts it
// without best-fit guesses; what it cannot spell becomes "?".
TEST(IdentifyTextWin, MatchesTheSystemsCodePage936) {
    std::ostringstream differences;
    int count = 0;
    for (unsigned c = 0x80; c <= 0xFFFF; ++c) {
        if ((c >= 0xD800 && c <= 0xDFFF) || c == 0xAE || c == 0x2122 || c == 0xA9) {
            continue;
        }
        const wchar_t wide = static_cast<wchar_t>(c);
        char bytes[8] = {};
        BOOL usedDefault = FALSE;
        const int length = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                               sizeof bytes, "?", &usedDefault);
        const std::string expected = usedDefault ? "?" : std::string(bytes, length);
        const std::string converted = IdentifyTextFromUtf16(std::u16string(1, char16_t(c)));
        if (converted != expected && ++count <= 20) {
            differences << std::hex << "U+" << c << " ";
        }
    }
    EXPECT_EQ(count, 0) << differences.str();
}

class VersionFixtureWinTest : public testing::TestWithParam<const char*> {};

INSTANTIATE_TEST_SUITE_P(Files, VersionFixtureWinTest,
                         testing::Values("commas.dll", "missing_keys.dll", "needs_fallback.dll",
                                         "two_languages.dll", "symbols.dll", "no_translation.dll"));

// The parser finds the bytes the system loads and answers every query as the system does.
TEST_P(VersionFixtureWinTest, ParserAgreesWithTheSystem) {
    const std::string path = Fixture(GetParam());
    const auto system = MakeSystemVersionApi();
    const auto loaded = system->Load(path);
    ASSERT_TRUE(loaded);
    const auto file = OpenFileBytes(path);
    ASSERT_TRUE(file);
    const auto parsed = ReadVersionResourceBytes(*file);
    ASSERT_TRUE(parsed);
    ASSERT_LE(parsed->size(), loaded->size());
    EXPECT_EQ(*parsed, loaded->substr(0, parsed->size()));

    ParsedVersionApi parser;
    const auto translation = system->FirstTranslation(*loaded);
    const auto parserTranslation = parser.FirstTranslation(*parsed);
    ASSERT_EQ(translation.has_value(), parserTranslation.has_value());
    std::vector<std::string> paths = {"FileDescription", "\\StringFileInfo\\040904B0\\Comments"};
    for (const char* key : {"FileDescription", "companyname", "FileVersion", "ProductName",
                            "LegalCopyRight", "Missing"}) {
        for (const char* table : {"040904B0", "080404B0", "000004B0"}) {
            paths.push_back(std::string("\\StringFileInfo\\") + table + "\\" + key);
        }
    }
    for (const std::string& query : paths) {
        EXPECT_EQ(parser.QueryText(*parsed, query), system->QueryText(*loaded, query)) << query;
    }
}

// A 64-bit program reads system files through their own path: no "\sysnative\" rewrite.
TEST(SystemIdentifyPlatformWin, SixtyFourBitProcessKeepsSystemPaths) {
    EXPECT_FALSE(ProcessRunsUnderWow64());
    const std::string kernel = GetSpecialFolderPath(kSystemFolder) + "\\kernel32.dll";
    const auto platform = MakeSystemIdentifyPlatform();
    EXPECT_EQ(platform->NativeSystemPath(kernel), kernel);
    EXPECT_FALSE(platform->ReadVersionStrings(kernel).FileVersion.empty());
    bool is64 = false;
    EXPECT_TRUE(platform->IsPEImage(kernel, is64));
    EXPECT_TRUE(is64);
}

// Entries written under the machine's uninstall keys for the length of one test.
class UninstallEntriesWin : public testing::Test {
protected:
    UninstallEntriesWin() {
        std::random_device random;
        tag_ = L"SlotvaneTest" + std::to_wstring(random());
    }
    ~UninstallEntriesWin() override {
        for (const std::wstring& key : written_) {
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_64KEY, 0);
        }
    }

    void Write(const std::wstring& branch, const std::wstring& entry, const std::wstring& name,
               const std::wstring& version, DWORD versionType = REG_SZ) {
        const std::wstring key = L"SOFTWARE\\" + branch +
                                 L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + tag_ + entry;
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &opened, nullptr),
                  ERROR_SUCCESS);
        written_.push_back(key);
        const std::wstring displayName = tag_ + L" " + name;
        RegSetValueExW(opened, L"DisplayName", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(displayName.c_str()),
                       static_cast<DWORD>((displayName.size() + 1) * sizeof(wchar_t)));
        RegSetValueExW(opened, L"DisplayVersion", 0, versionType,
                       reinterpret_cast<const BYTE*>(version.c_str()),
                       static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(opened);
    }

    std::string Tag() const { return std::string(tag_.begin(), tag_.end()); }

    std::wstring tag_;
    std::vector<std::wstring> written_;
};

TEST_F(UninstallEntriesWin, GreatestVersionOfTheMachineBranch) {
    Write(L"", L"A", L"Tool 1.9", L"1.9");
    Write(L"", L"B", L"Tool 1.10 final", L"1.10");
    const auto platform = MakeSystemIdentifyPlatform();
    EXPECT_EQ(platform->FindUninstallVersion(Tag()), "1.10");
    EXPECT_EQ(platform->Uninstall().FindUninstallNameVersion(Tag()), "1.10");
    EXPECT_EQ(platform->Uninstall().FindUninstallVersionWithout(Tag(), "final"), "1.9");
    EXPECT_EQ(platform->Uninstall().FindUninstallSecondWord(Tag()), "Tool");
}

// An expandable string reads as its text; a value of another type reads as empty text.
TEST_F(UninstallEntriesWin, ExpandableVersionsReadAsTheirText) {
    Write(L"", L"A", L"Tool", L"9.9", REG_BINARY);
    Write(L"", L"B", L"Tool", L"1.5", REG_EXPAND_SZ);
    const auto platform = MakeSystemIdentifyPlatform();
    EXPECT_EQ(platform->FindUninstallVersion(Tag()), "1.5");
}

TEST_F(UninstallEntriesWin, ZeroVersionsGoOnToTheWow64Branch) {
    Write(L"", L"A", L"Tool", L"0.0.0.0");
    Write(L"Wow6432Node\\", L"W", L"Tool (32-bit)", L"7.2");
    const auto platform = MakeSystemIdentifyPlatform();
    EXPECT_EQ(platform->FindUninstallVersion(Tag()), "7.2");
}

} // namespace
