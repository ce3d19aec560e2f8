#include "app/error_report_win.h"

#include "util/codepage_win.h"

#include "slotvane_config.h"

void ShowErrorReport(HWND owner, const char* message) {
    MessageBoxW(owner, WideFromGbk(message).c_str(), WideFromGbk(config::kAppTitle).c_str(),
                MB_OK | MB_ICONERROR);
}
