#include "app/main_dlg_ui_win.h"

#include "app/message_box_win.h"
#include "util/codepage_win.h"
#include "util/shell_win.h"

#include "slotvane_config.h"

#include <utility>

WindowMainDlgUi::WindowMainDlgUi(std::function<HWND()> owner) : owner_(std::move(owner)) {}

bool WindowMainDlgUi::ShellOpen(const std::string& address) {
    return ::ShellOpen(owner_(), "", address, "", "", SW_SHOWNORMAL);
}

int WindowMainDlgUi::AskQuestion(const std::string& text) {
    return ::AskQuestion(owner_(), text);
}

void WindowMainDlgUi::ShowMessage(const std::string& text) {
    MessageBoxW(owner_(), WideFromGbk(text).c_str(), WideFromGbk(config::kAppTitle).c_str(), MB_OK);
}
