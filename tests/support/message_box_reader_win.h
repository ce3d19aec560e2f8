// Reads a message box that another thread is showing, from a watcher thread of the test.
#pragma once

#include <windows.h>

#include <string>

// Waits up to five seconds for the message box with the given caption, reads its text and
// closes it with OK. "(no message box)" when none came.
inline std::wstring ReadAndCloseMessageBox(const wchar_t* caption) {
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
