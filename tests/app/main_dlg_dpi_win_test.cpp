// The windows at every DPI from 96 to 288. Wine reads the DPI once, when a process starts, so the
// test MainDlgDpi runs this program again for each DPI (the MainDlgAtSystemDpi tests, skipped in a
// plain run) and compares what the runs saw.
#include "app/about_dlg_win.h"
#include "app/controls_win.h"
#include "app/dpi_win.h"
#include "app/main_dlg_win.h"
#include "app/message_box.h"
#include "app/message_box_win.h"
#include "util/codepage_win.h"
#include "util/handle_win.h"

#include "fake_app_platform.h"
#include "layout_check_win.h"
#include "support/recording_shell.h"
#include "support/temp_folder.h"
#include "update/file_identification.h"
#include "wmi/gated_service.h"
#include "wmi/memory_fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace layout_check;

// 100 % to 300 % in steps of 25 %.
constexpr UINT kDpis[] = {96, 120, 144, 168, 192, 216, 240, 264, 288};

TEST(DpiScale, ScalesDesignValuesToTheNearestPixel) {
    struct Case {
        UINT dpi;
        int design;
        int pixels;
    };
    const Case cases[] = {
        {96, 12, 12}, {120, 12, 15},   {144, 12, 18},   {120, 1, 1},      {144, 1, 2},
        {168, 1, 2},  {144, -12, -18}, {168, 387, 677}, {288, 751, 2253}, {216, 495, 1114},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DpiScale(c.dpi)(c.design), c.pixels) << c.design << " at " << c.dpi;
    }
}

// Scaling each edge keeps neighbours as they are: touching, apart, never overlapping.
TEST(DpiScale, ControlsThatTouchAtTheDesignStillTouch) {
    for (UINT dpi : kDpis) {
        const DpiScale scale(dpi);
        for (int left = -12; left < 40; ++left) {
            for (int width = 1; width < 12; ++width) {
                const ControlRect first = scale(ControlRect{left, 3, width, width});
                const ControlRect next = scale(ControlRect{left + width, 3 + width, 7, 7});
                ASSERT_EQ(first.x + first.width, next.x) << left << "+" << width << " at " << dpi;
                ASSERT_EQ(first.y + first.height, next.y) << left << "+" << width << " at " << dpi;
            }
        }
    }
}

class SteadyMemory final : public IMemoryStatusSource {
public:
    MemoryStatus QueryMemoryStatus() const override { return {load, 8ull << 30, 4ull << 30}; }
    std::optional<std::uint64_t> InstalledMemoryKilobytes() const override { return 8ull << 20; }
    unsigned load = 20;
};

class FixedIdentification final : public IFileIdentification {
public:
    DisplayedNames DisplayedFileInfo(const std::string&) override { return {"Slotvane", "Tarvik"}; }
    std::string FileVersion(const std::string&) override { return "2.4.1.3"; }
};

// A board of two slots with one module: the scan narrows the window, fills one panel and shows
// the other's empty-slot button.
FakeMachine TwoSlotBoard() {
    FakeMachine machine;
    machine.classes["Win32_PhysicalMemoryArray"] = {ArrayInstance(67108864, 2)};
    machine.classes["Win32_PhysicalMemory"] = {ModuleInstance(
        {"DIMM 0", "8589934592", "Samsung", "M471A1K43DB1-CTD", 26, 2666, "12345678"})};
    return machine;
}

// The window's services with fakes. The maker's server is a closed local port, so that the
// start-up's requests fail alike in every run.
struct FakeServices {
    TempFolder dataFolder;
    RecordingShell shell;
    Journal journal;
    FakeAppPlatform platform{journal};
    FixedIdentification identification;
    SteadyMemory memory;
    std::shared_ptr<ServiceGate> gate = std::make_shared<ServiceGate>(true);
    FakeMachine machine = TwoSlotBoard();

    FakeServices() { platform.dataFolder = dataFolder.File(""); }

    MainDlgServices With() {
        return {memory,
                GatedService(gate, machine),
                [this] { return dataFolder.File(""); },
                shell,
                platform,
                identification,
                "127.0.0.1:1",
                kScanDeadlineMs};
    }
};

AboutDlgServices FixedAbout() {
    return {[] { return std::string("2.4.1.3"); }, [](HWND, const std::string&) {}};
}

void PumpWaiting() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Starts up and pumps until the scan has its answer.
void StartUpAndScan(const TMainDlg& dialog) {
    SendMessageW(dialog.Handle(), kStartUpMessage, 0, 0);
    const ULONGLONG end = GetTickCount64() + 10000;
    while (dialog.State().scanPending && GetTickCount64() < end) {
        PumpWaiting();
        Sleep(10);
    }
    ASSERT_FALSE(dialog.State().scanPending);
    PumpWaiting();
}

void TickThrice(HWND window) {
    for (int tick = 0; tick < 3; ++tick) {
        SendMessageW(window, WM_TIMER, kMemTimerId, 0);
    }
}

std::string Joined(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& fault : faults) {
        text += "\n  " + fault;
    }
    return text;
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

SIZE OuterSizeOf(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// The outer size of a window with this client area, as the system frames it at the DPI.
SIZE SystemFramed(HWND window, SIZE client, UINT dpi) {
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                             GetMenu(window) != nullptr,
                             static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font.lfHeight;
}

// Whether the chart shows its line on the design's row, at the scale, just left of its right edge.
bool ChartLineOnRow(HWND chart, const DpiScale& scale, int row) {
    HDC dc = GetDC(chart);
    const COLORREF pixel = GetPixel(dc, scale(TScopeModel::kWidth) - 2, scale(row));
    ReleaseDC(chart, dc);
    return pixel == RGB(0, 255, 0);
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The rectangle the system suggests for a move to another DPI, of the size the window asks for:
// its client area at that DPI in the system's frame for it. Wine frames a window at the DPI of its
// process whatever the message says, so the height keeps this window's own frame.
RECT SuggestedRect(HWND window, UINT dpi, SIZE client) {
    SIZE size{};
    EXPECT_TRUE(SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size)));
    EXPECT_EQ(size.cy, SystemFramed(window, client, dpi).cy);
    const int ownFrame = OuterSizeOf(window).cy - ClientSize(window).cy;
    return {0, 0, size.cx, client.cy + ownFrame};
}

// What MainDlgDpi asks of one run of this program: the DPI the prefix gives it, the DPI to move
// its windows to, and where to leave their layouts.
struct DpiRun {
    UINT dpi;
    UINT moveTo;
    std::string folder;
};

std::optional<DpiRun> ThisRun() {
    const char* dpi = std::getenv("SLOTVANE_DPI_RUN");
    const char* moveTo = std::getenv("SLOTVANE_DPI_MOVE_TO");
    const char* folder = std::getenv("SLOTVANE_DPI_LAYOUTS");
    if (dpi == nullptr || moveTo == nullptr || folder == nullptr) {
        return std::nullopt;
    }
    return DpiRun{static_cast<UINT>(std::stoul(dpi)), static_cast<UINT>(std::stoul(moveTo)),
                  folder};
}

std::string LayoutFile(const std::string& folder, const std::string& window, UINT dpi,
                       std::optional<UINT> movedFrom = std::nullopt) {
    return folder + "\\" + window + "-" +
           (movedFrom ? "moved-from-" + std::to_string(*movedFrom) + "-to-" : "made-at-") +
           std::to_string(dpi) + ".txt";
}

// The message box's faults and DPI, as seen from inside its own loop, which the timer then ends.
struct MessageBoxSeen {
    std::optional<UINT> dpi;
    std::vector<std::string> faults;
};
MessageBoxSeen messageBoxSeen;

void CALLBACK InspectMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) {
            if (ClassOf(window) == "#32770" && IsWindowVisible(window)) {
                const UINT dpi = WindowDpi(window);
                messageBoxSeen = {dpi, LayoutFaults(window, DpiScale(dpi))};
                PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
            }
            return TRUE;
        },
        0);
    if (messageBoxSeen.dpi) {
        KillTimer(nullptr, timer);
    }
}

// The banner is designed wider than the window, from 12 pixels left of it.
const std::vector<int> kMainDlgStickingOut{kTopPnl};

TEST(MainDlgAtSystemDpi, WindowsAreTheDesignScaledWithNothingClipped) {
    const std::optional<DpiRun> run = ThisRun();
    if (!run) {
        GTEST_SKIP() << "run by MainDlgDpi at each DPI";
    }
    const DpiScale scale(run->dpi);
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    HWND window = dialog.Handle();
    ASSERT_EQ(WindowDpi(window), run->dpi) << "the prefix's DPI and the manifest's awareness";

    // The designed client area and place, scaled, in the system's frame for the DPI.
    const SIZE client = ClientSize(window);
    EXPECT_EQ(client.cx, scale(kDesignedClientWidth));
    EXPECT_EQ(client.cy, scale(kDesignedClientHeight));
    const SIZE outer = OuterSizeOf(window);
    const SIZE framed = SystemFramed(window, client, run->dpi);
    EXPECT_EQ(outer.cx, framed.cx);
    EXPECT_EQ(outer.cy, framed.cy);
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, scale(TMainDlg::kLeft));
    EXPECT_EQ(frame.top, scale(TMainDlg::kTop));
    EXPECT_EQ(FontHeight(dialog.Control(kSlotsLbl)), -scale(12));
    EXPECT_EQ(FontHeight(dialog.Control(kLabel2)), -scale(12));
    // The chart's edges are scaled, its size may round a pixel apart.
    EXPECT_NEAR(ClientSize(dialog.Control(kScope)).cx, scale(TScopeModel::kWidth), 1);
    EXPECT_NEAR(ClientSize(dialog.Control(kScope)).cy, scale(TScopeModel::kHeight), 1);
    EXPECT_EQ(ButtonImageSize(dialog.Control(kGetSpec1Btn)).cx, scale(16));
    EXPECT_EQ(ButtonImageSize(dialog.Control(kGetRAM1Btn)).cx, scale(32));
    EXPECT_EQ(ClientSize(dialog.Control(kImage1)).cx, scale(32));
    const std::vector<std::string> asMade = LayoutFaults(window, scale, kMainDlgStickingOut);
    EXPECT_TRUE(asMade.empty()) << Joined(asMade);

    // After the start-up's scan and a few ticks: narrowed, one panel filled and one empty.
    StartUpAndScan(dialog);
    TickThrice(window);
    EXPECT_EQ(OuterSizeOf(window).cx, scale(kNarrowedWindowWidth));
    const std::vector<std::string> scanned = LayoutFaults(window, scale, kMainDlgStickingOut);
    EXPECT_TRUE(scanned.empty()) << Joined(scanned);
    WriteText(LayoutFile(run->folder, "main", run->dpi), LayoutDump(window));

    TAboutDlg about(GetModuleHandleW(nullptr), window, FixedAbout());
    about.RefreshLabels();
    EXPECT_EQ(ClientSize(about.Handle()).cx, scale(TAboutDlg::kClientWidth));
    EXPECT_EQ(ClientSize(about.Handle()).cy, scale(TAboutDlg::kClientHeight));
    EXPECT_EQ(ClientSize(about.Control(kAboutImage1)).cx, scale(388));
    EXPECT_EQ(ClientSize(about.Control(kAboutImage1)).cy, scale(96));
    const std::vector<std::string> aboutFaults = LayoutFaults(about.Handle(), scale);
    EXPECT_TRUE(aboutFaults.empty()) << Joined(aboutFaults);
    WriteText(LayoutFile(run->folder, "about", run->dpi), LayoutDump(about.Handle()));

    // A message box shows on the window's monitor, at its DPI.
    messageBoxSeen = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &InspectMessageBox);
    MsgBox(window, "找不到链接列表。\r\n请检查网络连接后再试一次。", kButtonsYesNoCancel,
           kKindWarning);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(messageBoxSeen.dpi.has_value());
    EXPECT_EQ(*messageBoxSeen.dpi, run->dpi);
    EXPECT_TRUE(messageBoxSeen.faults.empty()) << Joined(messageBoxSeen.faults);
}

TEST(MainDlgAtSystemDpi, MovingToAnotherDpiLaysOutAsThereAndKeepsTheState) {
    const std::optional<DpiRun> run = ThisRun();
    if (!run) {
        GTEST_SKIP() << "run by MainDlgDpi at each DPI";
    }
    const DpiScale target(run->moveTo);
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    HWND window = dialog.Handle();
    StartUpAndScan(dialog);
    TickThrice(window);
    const MainDlgState state = dialog.State();
    const int advances = dialog.Scope().Advances();

    // The system asks for the size at the new DPI and suggests a rectangle of it.
    const RECT suggested = SuggestedRect(
        window, run->moveTo, {target(kDesignedClientWidth), target(kDesignedClientHeight)});
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(run->moveTo, run->moveTo),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, suggested.left);
    EXPECT_EQ(frame.top, suggested.top);
    EXPECT_EQ(frame.right, suggested.right);
    EXPECT_EQ(frame.bottom, suggested.bottom);
    EXPECT_EQ(frame.right - frame.left, target(kNarrowedWindowWidth)) << "still narrowed";
    EXPECT_EQ(ClientSize(window).cy, target(kDesignedClientHeight));
    EXPECT_TRUE(dialog.State() == state);
    EXPECT_EQ(dialog.Scope().Advances(), advances);
    const std::vector<std::string> faults = LayoutFaults(window, target, kMainDlgStickingOut);
    EXPECT_TRUE(faults.empty()) << Joined(faults);
    WriteText(LayoutFile(run->folder, "main", run->moveTo, run->dpi), LayoutDump(window));

    // The chart's history, drawn at the new scale.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    PumpWaiting();
    EXPECT_TRUE(ChartLineOnRow(dialog.Control(kScope), target, TScopeModel::RowOfValue(20)));

    TAboutDlg about(GetModuleHandleW(nullptr), window, FixedAbout());
    about.RefreshLabels();
    const SIZE aboutClient{target(TAboutDlg::kClientWidth), target(TAboutDlg::kClientHeight)};
    const RECT aboutSuggested = SuggestedRect(about.Handle(), run->moveTo, aboutClient);
    EXPECT_EQ(aboutSuggested.right, SystemFramed(about.Handle(), aboutClient, run->moveTo).cx);
    SendMessageW(about.Handle(), WM_DPICHANGED, MAKEWPARAM(run->moveTo, run->moveTo),
                 reinterpret_cast<LPARAM>(&aboutSuggested));
    EXPECT_EQ(ClientSize(about.Handle()).cx, aboutClient.cx);
    EXPECT_EQ(ClientSize(about.Handle()).cy, aboutClient.cy);
    const std::vector<std::string> aboutFaults = LayoutFaults(about.Handle(), target);
    EXPECT_TRUE(aboutFaults.empty()) << Joined(aboutFaults);
    WriteText(LayoutFile(run->folder, "about", run->moveTo, run->dpi), LayoutDump(about.Handle()));
}

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The DPI that Wine gives the processes started while this lives; then what was there before.
class SystemDpiSetting {
public:
    explicit SystemDpiSetting(UINT dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        DWORD type = 0;
        DWORD size = sizeof previous_;
        hadValue_ = RegQueryValueExW(key_, kValue, nullptr, &type,
                                     reinterpret_cast<BYTE*>(&previous_), &size) == ERROR_SUCCESS &&
                    type == REG_DWORD;
        Write(dpi);
    }
    SystemDpiSetting(const SystemDpiSetting&) = delete;
    SystemDpiSetting& operator=(const SystemDpiSetting&) = delete;
    ~SystemDpiSetting() {
        if (hadValue_) {
            Write(previous_);
        } else {
            RegDeleteValueW(key_, kValue);
        }
        RegCloseKey(key_);
    }

private:
    static constexpr const wchar_t* kValue = L"LogPixels";
    void Write(DWORD dpi) {
        RegSetValueExW(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }

    HKEY key_ = nullptr;
    DWORD previous_ = 0;
    bool hadValue_ = false;
};

// Sets environment variables for the processes started while this lives.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(std::vector<std::pair<std::wstring, std::wstring>> values)
        : values_(std::move(values)) {
        for (const auto& [name, value] : values_) {
            SetEnvironmentVariableW(name.c_str(), value.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (const auto& [name, value] : values_) {
            SetEnvironmentVariableW(name.c_str(), nullptr);
        }
    }

private:
    std::vector<std::pair<std::wstring, std::wstring>> values_;
};

// Runs the MainDlgAtSystemDpi tests of this program at a DPI; their output goes to `log`.
DWORD RunAtDpi(UINT dpi, UINT moveTo, const TempFolder& folder, const std::string& log) {
    const SystemDpiSetting setting(dpi);
    const ScopedEnvironment environment({{L"SLOTVANE_DPI_RUN", std::to_wstring(dpi)},
                                         {L"SLOTVANE_DPI_MOVE_TO", std::to_wstring(moveTo)},
                                         {L"SLOTVANE_DPI_LAYOUTS", folder.Path().wstring()}});
    wchar_t program[MAX_PATH]{};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(program) + L"\" --gtest_filter=MainDlgAtSystemDpi.*";
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const UniqueHandle output(CreateFileW(WideFromGbk(log).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                          &inherited, CREATE_ALWAYS, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return static_cast<DWORD>(-1);
    }
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.get(), 300000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.get(), &exitCode);
    }
    return exitCode;
}

TEST(MainDlgDpi, AtEveryDpiTheWindowsFitAndAMoveLaysThemOutAsIfMadeThere) {
    if (!UnderWine()) {
        GTEST_SKIP() << "Windows changes the DPI only at the next sign-in";
    }
    // The largest window (288 DPI) must fit the screen, which would shrink it otherwise.
    if (GetSystemMetrics(SM_CXSCREEN) < 2300 || GetSystemMetrics(SM_CYSCREEN) < 1700) {
        GTEST_SKIP() << "the screen is smaller than the window at 288 DPI (scripts/test makes one "
                        "large enough)";
    }
    TempFolder folder;
    const size_t count = std::size(kDpis);
    for (size_t i = 0; i < count; ++i) {
        // Each DPI moves to the next, the largest back to 96: every DPI is made once and moved
        // to once, upwards and downwards.
        const UINT dpi = kDpis[i];
        const UINT moveTo = kDpis[(i + 1) % count];
        const std::string log = folder.File("run-" + std::to_string(dpi) + ".log");
        EXPECT_EQ(RunAtDpi(dpi, moveTo, folder, log), 0u) << "at " << dpi << " DPI:\n"
                                                          << ReadFileBytes(log);
    }
    for (size_t i = 0; i < count; ++i) {
        const UINT from = kDpis[(i + count - 1) % count];
        for (const char* window : {"main", "about"}) {
            const std::string layouts = folder.Path().string();
            const std::string made = ReadFileBytes(LayoutFile(layouts, window, kDpis[i]));
            EXPECT_FALSE(made.empty());
            EXPECT_EQ(ReadFileBytes(LayoutFile(layouts, window, kDpis[i], from)), made)
                << window << " moved from " << from << " to " << kDpis[i] << " DPI";
        }
    }
}

} // namespace
