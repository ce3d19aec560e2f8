// A program for the window tests: it opens the main window over an instrumentation service that
// never answers, closes the window while the module scan waits for it, and ends. Into
// "closing.txt" of the data folder in its argument it writes the number of log lines when the
// window was asked to close, the machine's last operation, and whether the log was freed. A test
// checks that the process ends at once and that the log file kept its lines.
#include "app/fake_app_platform.h"
#include "app/main_dlg_win.h"
#include "support/recording_shell.h"
#include "update/file_identification.h"
#include "wmi/gated_service.h"

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

namespace {

class SteadyMemory final : public IMemoryStatusSource {
public:
    MemoryStatus QueryMemoryStatus() const override { return {50, 8ull << 30, 4ull << 30}; }
    std::optional<std::uint64_t> InstalledMemoryKilobytes() const override { return 8ull << 20; }
};

class FixedIdentification final : public IFileIdentification {
public:
    DisplayedNames DisplayedFileInfo(const std::string&) override { return {"Slotvane", "Tarvik"}; }
    std::string FileVersion(const std::string&) override { return "2.4.1.3"; }
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        return 2;
    }
    const std::string dataFolder = std::string(argv[1]) + "\\";
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    Journal journal;
    FakeAppPlatform platform(journal);
    platform.dataFolder = dataFolder;
    RecordingShell shell;
    FixedIdentification identification;
    const SteadyMemory memory;
    const auto gate = std::make_shared<ServiceGate>(false);
    // A closed local port: the transfers fail at once and never reach a real server.
    TMainDlg dialog(GetModuleHandleW(nullptr),
                    {memory, GatedService(gate, {}), [&] { return dataFolder; }, shell, platform,
                     identification, "127.0.0.1:1"});
    ShowWindow(dialog.Handle(), SW_SHOWNOACTIVATE);
    SendMessageW(dialog.Handle(), WM_ACTIVATEAPP, TRUE, 0);

    std::size_t linesAtClose = 0;
    bool closeAsked = false;
    for (;;) {
        MSG message{};
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                break;
            }
            if (message.message == WM_CLOSE && dialog.Logic().Log() != nullptr) {
                linesAtClose = dialog.Logic().Log()->Lines().size();
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        } else if (!closeAsked && gate->Holding()) {
            // The worker waits at the service: close the window as the user would.
            PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
            closeAsked = true;
        } else {
            Sleep(10);
        }
    }

    std::ofstream report(dataFolder + "closing.txt");
    report << linesAtClose << "\n"
           << (journal.empty() ? "" : journal.back()) << "\n"
           << (dialog.Logic().Log() == nullptr ? "log freed" : "log kept") << "\n";
    return 0;
}
