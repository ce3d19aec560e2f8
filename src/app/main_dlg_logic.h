// The main window's logic beyond what it shows: the objects the window owns from start-up on (the
// run's log, the link-list grabber, the update checker), the start-up sequence of the first
// activation, closing and destruction, and the handlers of the web actions and the update check.
// It changes the window's data (MainDlgState); the Win32 view applies it.
#pragma once

#include "app/app_platform.h"
#include "app/main_dlg_state.h"
#include "app/main_dlg_ui.h"
#include "log/log.h"
#include "update/file_grabber.h"
#include "update/file_identification.h"
#include "update/http_client.h"
#include "update/veyra_lite.h"
#include "util/clock.h"
#include "util/shell.h"
#include "util/tick_count.h"

#include <functional>
#include <memory>
#include <string>

// What the logic needs of the rest of the program; tests pass fakes.
struct MainDlgLogicServices {
    IAppPlatform& platform;
    IMainDlgUi& ui;
    IShell& shell;
    // Creates the HTTP clients of the link-list download and the update check; their
    // completions arrive through the window's message queue.
    IHttpClientOwner& http;
    // The program's own product, company and version, which the update check sends.
    IFileIdentification& identification;
    // Fills the slot panels from what the system reports (the module scan).
    std::function<void(MainDlgState&, TKLog*)> scanModules;
    // Called when the window's data changed outside a handler of the window (an update check's
    // answer), so that the window applies it.
    std::function<void()> stateChanged;
    // The maker's web server (host, and port when it has one); empty for the configured one.
    std::string serverHost;
    const IClock& clock = SystemClock();
    const ITickCounter& ticks = SystemTickCounter();
};

class TMainDlgLogic {
public:
    TMainDlgLogic(MainDlgState& state, MainDlgLogicServices services);
    TMainDlgLogic(const TMainDlgLogic&) = delete;
    TMainDlgLogic& operator=(const TMainDlgLogic&) = delete;
    ~TMainDlgLogic();

    // True until the start-up sequence has begun: the window's activation handler is hooked.
    bool ActivationHooked() const { return activationHooked_; }

    // The start-up sequence, run once per program run on the first activation: unhook, record
    // the program path in the maker's key, caption with the file version, banner colour, open
    // the log, the information lines, unit names, empty-slot captions, link-list download,
    // AutoUpdateCheck, the checker, the first update check, the module scan. Does nothing once
    // unhooked. An error of a step ends the sequence there and reaches the caller; what the
    // earlier steps did stays.
    void AppEvtActivate();

    // The window is about to close: cleans the virtual-store copy of the program folder and
    // notes it in the log at level 0 (detail).
    void FormClose();
    // The window is destroyed: frees the log, the grabber and the checker, in that order;
    // transfers in flight are abandoned and never call back.
    void FormDestroy();

    void Openlogfile1Click();
    // getRAM1_btn..getRAM4_btn.
    void getRAM_btnClick();
    // getSpec1_btn..getSpec4_btn: slot 0 to 3.
    void getSpec_btnClick(int slot);
    void drivers_btnClick();
    // The menu item and start-up step 12: disables the menu item and starts a check. Nothing
    // happens while a check is in flight or before start-up has created the checker. Raises
    // when the program's own version cannot be read (the item then stays disabled).
    void Checkforupdate1Click();
    // The checker's callback: asks to open the download page when a newer version exists; when
    // the user asked, says the program is current, or that the check failed when it brought no
    // version; enables the menu item again.
    void UpdateCheckDone(const TVeyraLite& checker);

    TKLog* Log() const { return log_.get(); }
    TFileGrabber* Grabber() const { return grabber_.get(); }
    TVeyraLite* Updater() const { return updater_.get(); }
    bool AutoUpdateCheck() const { return autoUpdateCheck_; }

private:
    std::string ServerHost() const;
    void WriteStartupLines();

    MainDlgState& state_;
    MainDlgLogicServices services_;
    bool activationHooked_ = true;
    bool autoUpdateCheck_ = false;
    std::unique_ptr<TKLog> log_;
    std::unique_ptr<TFileGrabber> grabber_;
    std::unique_ptr<TVeyraLite> updater_;
};
