#include "app/program_win.h"

#include "app/about_dlg_win.h"
#include "app/app_platform_win.h"
#include "app/com_init_win.h"
#include "app/error_report_win.h"
#include "app/main_dlg_win.h"
#include "app/memory_status_win.h"
#include "app/system_file_identification.h"
#include "identify/system_identify_platform.h"
#include "util/codepage_win.h"
#include "util/file_info.h"
#include "util/folders_win.h"
#include "util/handle_win.h"
#include "util/shell_win.h"

#include "slotvane_config.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>

int RunSlotvane(HINSTANCE instance, int showCommand, ScanAutomationMaker scanAutomation) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 1;
    RunGuarded(nullptr, [&] {
        // Held while the program runs: the uninstaller looks for it to know that the program's
        // files are in use. Global, so that a copy in another session counts as well.
        const UniqueHandle running(CreateMutexW(
            nullptr, FALSE,
            WideFromGbk(std::string("Global\\") + config::kMakerName + " " + config::kAppTitle)
                .c_str()));
        // COM for the shell's calls on this thread; the scan's queries have their own apartment.
        const TComInitialization com;
        const SystemMemoryStatus memory;
        const std::string programPath = ProgramPath();
        WindowsAppPlatform platform;
        // The update check identifies the program's own file as any other program file.
        const std::unique_ptr<TSystemIdentifyPlatform> machine = MakeSystemIdentifyPlatform();
        TSystemFileIdentification identification(*machine);
        TMainDlg mainDlg(instance,
                         {memory,
                          std::move(scanAutomation),
                          [&] { return GetUserDataFolder(programPath, config::kAppTitle); },
                          SystemShell(),
                          platform,
                          identification,
                          {}});
        mainDlg.SetAboutServices({[&] { return GetFileVersionText(programPath); },
                                  [](HWND owner, const std::string& address) {
                                      ShellOpen(owner, "", address, "", "", SW_SHOWNORMAL);
                                  }});
        // Not painted here: the start-up message, posted on the first activation, comes before
        // the paint, so the controls paint once, with what the start-up has filled in.
        ShowWindow(mainDlg.Handle(), showCommand);

        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!mainDlg.TranslateShortcut(message) && !mainDlg.TranslateDialogKeys(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        exitCode = static_cast<int>(message.wParam);
    });
    return exitCode;
}
