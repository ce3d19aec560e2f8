#include "app/error_report_win.h"
#include "util/codepage_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

// Waits for the message box with the given caption, reads its text and closes it.
std::wstring ReadAndCloseMessageBox(const wchar_t* caption) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (HWND box = FindWindowW(L"#32770", caption)) {
            std::wstring text;
            EnumChildWindows(
                box,
                [](HWND child, LPARAM data) -> BOOL {
                    wchar_t className[16]{};
                    GetClassNameW(child, className, 16);
                    wchar_t buffer[256]{};
                    GetWindowTextW(child, buffer, 256);
                    if (std::wstring(className) == L"Static" && buffer[0] != 0) {
                        *reinterpret_cast<std::wstring*>(data) = buffer;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&text));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return text;
        }
        Sleep(10);
    }
    return L"(no message box)";
}

TEST(ErrorReport, AnExceptionInAHandlerIsShownAndTheProgramGoesOn) {
    std::wstring shown;
    std::thread watcher([&] { shown = ReadAndCloseMessageBox(L"Slotvane"); });
    bool after = false;
    RunGuarded(nullptr, [] { throw std::runtime_error("\xB4\xED\xCE\xF3: disk full"); });
    after = true;
    watcher.join();
    EXPECT_TRUE(after);
    EXPECT_EQ(GbkFromWide(shown), "\xB4\xED\xCE\xF3: disk full");
}

TEST(ErrorReport, AHandlerThatSucceedsShowsNothing) {
    int calls = 0;
    RunGuarded(nullptr, [&] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(FindWindowW(L"#32770", L"Slotvane"), nullptr);
}

} // namespace
