// What the main window's logic asks of the window itself: what needs the window as owner.
// The Windows side is app/main_dlg_ui_win.h; tests record the requests.
#pragma once

#include <string>

class IMainDlgUi {
public:
    virtual ~IMainDlgUi() = default;

    // The shell's default action on the address, with the window as owner, in a normal window.
    // True when the shell accepted it.
    virtual bool ShellOpen(const std::string& address) = 0;
    // Yes and No, question icon, caption "Question"; the code of the button pressed.
    virtual int AskQuestion(const std::string& text) = 0;
    // A plain message box: the application title as caption, one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
};
