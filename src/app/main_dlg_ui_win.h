// What the main window's logic asks of the window, as Win32 calls owned by the window.
#pragma once

#include "app/main_dlg_ui.h"

#include <windows.h>

#include <functional>

class WindowMainDlgUi final : public IMainDlgUi {
public:
    // The owner is asked at each request, so the logic can be made before the window exists.
    explicit WindowMainDlgUi(std::function<HWND()> owner);

    bool ShellOpen(const std::string& address) override;
    int AskQuestion(const std::string& text) override;
    void ShowMessage(const std::string& text) override;

private:
    std::function<HWND()> owner_;
};
