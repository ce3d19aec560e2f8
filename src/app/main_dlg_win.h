// The main window TMainDlg: the Win32 view. What it shows is computed by the portable logic.
#pragma once

#include <windows.h>

class TMainDlg {
public:
    static constexpr int kLeft = 198;
    static constexpr int kTop = 179;
    static constexpr int kClientWidth = 751;
    static constexpr int kClientHeight = 495;

    explicit TMainDlg(HINSTANCE instance);
    TMainDlg(const TMainDlg&) = delete;
    TMainDlg& operator=(const TMainDlg&) = delete;
    ~TMainDlg();

    HWND Handle() const { return window_; }
    // Gives the window's keyboard shortcuts a chance at a message of the loop.
    bool TranslateShortcut(MSG& message) const;

    void Quit1Click();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id);

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HACCEL shortcuts_ = nullptr;
};
