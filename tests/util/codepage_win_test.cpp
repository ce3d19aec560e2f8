#include "util/codepage_win.h"

#include "fixture_path_win.h"
#include "log/log.h"
#include "memory/report_export.h"
#include "support/recording_shell.h"
#include "support/temp_folder.h"
#include "util/data_folder.h"
#include "util/file_system.h"
#include "util/gb18030.h"
#include "util/shell_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Whether Windows' code page 936 spells the character and reads its bytes back as it.
bool CodePage936Spells(wchar_t character) {
    char bytes[4] = {};
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &character, 1, bytes, 4,
                                           nullptr, &usedDefault);
    wchar_t back = 0;
    return length > 0 && !usedDefault &&
           MultiByteToWideChar(936, 0, bytes, length, &back, 1) == 1 && back == character;
}

void AppendCodePoint(std::wstring& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<wchar_t>(codePoint);
    } else {
        text += static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
        text += static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    }
}

// Every character that code page 936 spells keeps its bytes, every other one takes its
// four-byte form, and every code point comes back, in long texts as in short ones.
TEST(ProgramText, EveryCodePointRoundTripsAndGbkKeepsItsBytes) {
    constexpr char32_t kChunk = 4096;
    for (char32_t first = 0; first <= 0x10FFFF; first += kChunk) {
        std::wstring wide;
        std::string expected;
        for (char32_t codePoint = first; codePoint < first + kChunk && codePoint <= 0x10FFFF;
             ++codePoint) {
            if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint == 0) {
                continue;
            }
            std::wstring one;
            AppendCodePoint(one, codePoint);
            wide += one;
            expected += codePoint < 0x10000 && CodePage936Spells(one[0])
                            ? CodePageFromWide(936, one)
                            : FourByteFormOf(codePoint);
        }
        const std::string eightBit = GbkFromWide(wide);
        ASSERT_EQ(eightBit, expected) << "from U+" << std::hex << static_cast<unsigned>(first);
        ASSERT_TRUE(WideFromGbk(eightBit) == wide)
            << "from U+" << std::hex << static_cast<unsigned>(first);
    }
}

TEST(ProgramText, PlainGbkIsUnchanged) {
    EXPECT_EQ(GbkFromWide(L"C:\\\x5185\x5B58"), "C:\\\xC4\xDA\xB4\xE6");
    EXPECT_EQ(WideFromGbk("C:\\\xC4\xDA\xB4\xE6"), L"C:\\\x5185\x5B58");
    EXPECT_EQ(GbkFromWide(L"\x20AC"), "\x80"); // code page 936's euro sign
    EXPECT_EQ(WideFromGbk(""), L"");
}

// Folders whose names GBK cannot spell work everywhere the program uses paths.
TEST(ProgramText, FoldersOutsideGbkWork) {
    const std::wstring names[] = {L"J\x00F8rgen", L"\xD55C\xAD6D\xC5B4", L"smile \xD83D\xDE00"};
    for (const std::wstring& wideName : names) {
        TempFolder temp;
        const std::filesystem::path user = temp.Path() / wideName;
        ASSERT_TRUE(std::filesystem::create_directory(user));
        const std::string base = GbkFromWide(temp.Path().wstring());
        const std::string userFolder = base + "\\" + GbkFromWide(wideName);
        SCOPED_TRACE(userFolder);

        const std::vector<std::string> listed = SystemFileSystem().ListEntries(base + "\\*");
        EXPECT_NE(std::find(listed.begin(), listed.end(), GbkFromWide(wideName)), listed.end());

        const std::string dataFolder =
            UserDataFolderIn(userFolder, "C:\\Program Files\\Slotvane\\slotvane.exe", "Slotvane");
        EXPECT_EQ(dataFolder, userFolder + "\\Tarvik\\Slotvane\\");
        EXPECT_TRUE(std::filesystem::is_directory(user / L"Tarvik" / L"Slotvane"));

        TKLog log(dataFolder + "Slotvane.log", false, 100);
        log.AddLine("started", 1);
        EXPECT_TRUE(std::filesystem::exists(user / L"Tarvik" / L"Slotvane" / L"Slotvane.log"));

        RecordingShell shell;
        ExportReport(MemoryView{}, "\t", "txt", dataFolder, shell);
        EXPECT_TRUE(std::filesystem::exists(user / L"Tarvik" / L"Slotvane" / L"export.txt"));
        const std::vector<std::string> exported = SystemFileSystem().ListEntries(dataFolder + "*");
        EXPECT_NE(std::find(exported.begin(), exported.end(), "export.txt"), exported.end());

        // The shell starts a program that lies in such a folder.
        const std::filesystem::path program = user / L"fixture.exe";
        ASSERT_TRUE(CopyFileW(WideFromGbk(FixturePath("slotvane_fixture_plain.exe")).c_str(),
                              program.wstring().c_str(), TRUE));
        const std::string marker = temp.File("opened.txt");
        ASSERT_TRUE(ShellOpen(nullptr, "", GbkFromWide(program.wstring()), "\"" + marker + "\"", "",
                              SW_SHOWNORMAL));
        const ULONGLONG end = GetTickCount64() + 10000;
        while (!std::filesystem::exists(marker) && GetTickCount64() < end) {
            Sleep(20);
        }
        EXPECT_TRUE(std::filesystem::exists(marker));
        // The program may still be ending; its file can only go once it has.
        for (int attempt = 0; attempt < 100 && !DeleteFileW(program.wstring().c_str()); ++attempt) {
            Sleep(50);
        }
    }
}

} // namespace
