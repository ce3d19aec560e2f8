// The application's general error report: every message handler runs inside RunGuarded, so an
// exception ends that handler, its text is shown in a message box, and the program goes on.
#pragma once

#include <windows.h>

#include <exception>
#include <utility>

void ShowErrorReport(HWND owner, const char* message);

template <typename Handler>
void RunGuarded(HWND owner, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        ShowErrorReport(owner, error.what());
    } catch (...) {
        ShowErrorReport(owner, "Unknown error");
    }
}
