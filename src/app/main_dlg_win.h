// The main window TMainDlg: the Win32 view. What it shows is computed by the portable logic
// (MainDlgState); this class creates the controls, applies that data and routes the events.
#pragma once

#include "app/about_dlg_win.h"
#include "app/app_platform.h"
#include "app/dpi_win.h"
#include "app/error_report_win.h"
#include "app/gdi_win.h"
#include "app/main_dlg_logic.h"
#include "app/main_dlg_state.h"
#include "app/main_dlg_ui_win.h"
#include "app/scan_worker_win.h"
#include "app/scope_win.h"
#include "log/log.h"
#include "memory/memory_monitor.h"
#include "memory/scope_model.h"
#include "update/file_identification.h"
#include "update/http_client_win.h"
#include "util/locale_format.h"
#include "util/shell.h"

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// What the window needs from the rest of the program; tests pass fakes.
struct MainDlgServices {
    const IMemoryStatusSource& memory;
    // Makes the automation factory of the module scan's queries, on the scan's worker thread;
    // the worker owns it, and what it holds, for as long as the queries take.
    ScanAutomationMaker scanAutomation;
    // The per-user data folder (with its trailing "\"), created on demand.
    std::function<std::string()> userDataFolder;
    IShell& shell;
    // The machine as the start-up sequence and the web actions see it.
    IAppPlatform& platform;
    // The program's own product, company and version, which the update check sends.
    IFileIdentification& identification;
    // The maker's web server (host, and port when it has one); empty for the configured one.
    std::string serverHost;
    // How long the scan waits for the service; tests shorten it.
    unsigned scanDeadlineMs = kScanDeadlineMs;
};

enum MainDlgControl : int {
    kTopPnl = 1000,
    kImage1,
    kLabel2,
    kSubtitleLbl,
    kDriversBtn,
    kGeneralGrp,
    kSystemGrp,
    kSlotsLbl,
    kCurmemLbl,
    kMaxmemLbl,
    kGroupBox2,
    kPhyusedLbl,
    kPhytotLbl,
    kScope,
    kSlot1Grp, // kSlot1Grp + i for slot i (0..3); the same for the three below
    kLst1 = kSlot1Grp + kSlotPanelCount,
    kGetSpec1Btn = kLst1 + kSlotPanelCount,
    kGetRAM1Btn = kGetSpec1Btn + kSlotPanelCount,
    // The pager of the slot panels, shown with more than four modules.
    kPagerPreviousBtn = kGetRAM1Btn + kSlotPanelCount,
    kPagerLbl,
    kPagerNextBtn,
    kControlEnd,
};

enum MainDlgCommand : WORD {
    kQuit1 = 100,
    kExt1,
    kSpreadsheet1,
    kOpenlogfile1,
    kCheckforupdate1,
    kAbout1,
};

inline constexpr UINT_PTR kMemTimerId = 1;
// The module scan's deadline.
inline constexpr UINT_PTR kScanDeadlineTimerId = 2;
// Posted by the first activation: the start-up sequence runs from it, outside the activation
// message, where COM would refuse outgoing calls.
inline constexpr UINT kStartUpMessage = WM_APP + 1;
// Posted by the scan's worker when its snapshot is ready.
inline constexpr UINT kScanDoneMessage = WM_APP + 2;

class TMainDlg {
public:
    static constexpr int kLeft = 198;
    static constexpr int kTop = 179;

    TMainDlg(HINSTANCE instance, MainDlgServices services);
    TMainDlg(const TMainDlg&) = delete;
    TMainDlg& operator=(const TMainDlg&) = delete;
    ~TMainDlg();

    HWND Handle() const { return window_; }
    HWND Control(int id) const;
    // Gives the window's keyboard shortcuts a chance at a message of the loop.
    bool TranslateShortcut(MSG& message) const;
    // The dialog keys (Tab, Shift+Tab, Enter, Space); true when the message was handled, which
    // includes dispatching it.
    bool TranslateDialogKeys(MSG& message) const;

    // The About dialog is made, owned by this window, when it is first asked for: most runs never
    // show it, and its windows would lengthen every start.
    void SetAboutServices(AboutDlgServices services) { aboutServices_ = std::move(services); }

    const MainDlgState& State() const { return state_; }
    const TScopeModel& Scope() const { return scope_; }
    const TMainDlgLogic& Logic() const { return logic_; }

    // Event handlers.
    void Quit1Click();
    void ext1Click();
    void Spreadsheet1Click();
    void Openlogfile1Click();
    void About1Click();
    void Mem_tmrTimer();
    // The pager's buttons: the slot panels show the previous or the next four modules.
    void PagerClick(int step);

private:
    template <typename Owner>
    friend LRESULT CALLBACK InstanceWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id);
    // Runs a handler of the logic and applies what it changed, also what it changed before an
    // error, which then reaches the general error report.
    template <typename Handler>
    void RunLogic(Handler&& handler);

    void CreateControls();
    void CreateMenuBar();
    // Fonts and pictures for the window's DPI; ApplyDpiResources hands them to the controls.
    void MakeDpiResources();
    void ApplyDpiResources();
    // Places every control from the layout tables at the window's DPI.
    void LayOut();
    // Moves the controls anchored to the right edge to where the window's width puts them.
    void AnchorToRightEdge();
    // The window's outer size at a DPI, narrowed or not.
    SIZE OuterSize(const DpiScale& scale) const;
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void ApplyState();
    // What a tick changes: the two memory labels.
    void ApplyMemoryLabels();
    void ApplySlot(int index, const SlotPanelState& slot, const SlotPanelState* previous);
    void ApplyPager();
    void Narrow();
    // The module scan's queries go to a worker, under the deadline; the window stops waiting at
    // the answer, at the deadline or when it is destroyed.
    void StartScan();
    void StopWaitingForScan();

    HINSTANCE instance_;
    MainDlgServices services_;
    HWND window_ = nullptr;
    // The controls by id, found once: the timer applies the state every second.
    mutable std::array<HWND, kControlEnd - kTopPnl> controls_{};
    UniqueAccelerators shortcuts_;
    // The window's DPI over the design's 96; fonts and pictures below are made for it.
    DpiScale scale_;
    WindowIcons windowIcons_;
    UniqueFont font_;
    UniqueFont boldFont_;
    UniqueImageList imageList96_;
    UniqueIcon emptySlotIcon_;
    UniqueIcon searchGlyph_;
    UniqueIcon bannerIcon_;
    // Where the labels' texts are measured.
    MemoryDC measuring_{nullptr};

    MainDlgState state_;
    std::optional<MainDlgState> applied_;
    TScopeModel scope_;
    TScopeView scopeView_{scope_};
    // Asked once, and again when the user changes the settings.
    std::string decimalSeparator_ = UserDecimalSeparator();
    bool ticking_ = false;
    // One start-up message at most, even when activations arrive before it is handled.
    bool startUpPosted_ = false;
    // While the window waits for the scan's answer.
    std::unique_ptr<TScanWorker> scan_;
    std::optional<AboutDlgServices> aboutServices_;
    std::unique_ptr<TAboutDlg> about_;

    // Declared before the logic, whose transfers they carry and whose requests they show.
    WindowsHttpClientOwner http_{[this](const std::function<void()>& handler) {
        RunGuarded(window_, [&] {
            handler();
            ApplyState();
        });
    }};
    WindowMainDlgUi ui_{[this] { return window_; }};
    TMainDlgLogic logic_;
};
