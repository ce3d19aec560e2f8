#include "app/about_dlg_win.h"
#include "app/controls_win.h"
#include "app/main_dlg_win.h"
#include "app/message_box.h"
#include "app/message_box_win.h"
#include "util/codepage_win.h"

#include "fake_app_platform.h"
#include "support/message_box_reader_win.h"
#include "support/recording_shell.h"
#include "support/temp_folder.h"
#include "update/file_identification.h"
#include "update/log_entries.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <exception>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

class SteadyMemory final : public IMemoryStatusSource {
public:
    MemoryStatus QueryMemoryStatus() const override { return {50, 8ull << 30, 4ull << 30}; }
    std::optional<std::uint64_t> InstalledMemoryKilobytes() const override { return 8ull << 20; }
};
const SteadyMemory memory;

class SettableMemory final : public IMemoryStatusSource {
public:
    MemoryStatus QueryMemoryStatus() const override { return {load, 8ull << 30, 4ull << 30}; }
    std::optional<std::uint64_t> InstalledMemoryKilobytes() const override { return 8ull << 20; }
    unsigned load = 50;
};

void NoScan(MainDlgState&, TKLog*) {}

// The program's own file as the update check sees it: older than what the test server offers
// (1.2.3.5) is never asked about, so no question box waits for an answer.
class FixedIdentification final : public IFileIdentification {
public:
    DisplayedNames DisplayedFileInfo(const std::string&) override { return {"Slotvane", "Tarvik"}; }
    std::string FileVersion(const std::string&) override { return "2.4.1.3"; }
};

// The test server standing in for the maker's server (scripts/test starts it); without it, a
// closed local port, so that no test ever reaches the real server.
std::string TestServerHost() {
    const char* address = std::getenv("SLOTVANE_TEST_SERVER");
    return address != nullptr && *address != '\0' ? address : "127.0.0.1:1";
}

// The window's services with fakes: no scan, a temporary data folder, a recording shell, a
// machine that answers from fields (no registry is written) and the test server.
struct FakeServices {
    TempFolder dataFolder;
    RecordingShell shell;
    Journal journal;
    FakeAppPlatform platform{journal};
    FixedIdentification identification;
    const IMemoryStatusSource* memorySource = &memory;

    FakeServices() { platform.dataFolder = dataFolder.File(""); }

    MainDlgServices With(std::function<void(MainDlgState&, TKLog*)> scan = NoScan) {
        return {*memorySource,   std::move(scan), [this] { return dataFolder.File(""); },
                shell,           platform,        identification,
                TestServerHost()};
    }
};

// Dispatches the messages already waiting, as the message loop would.
void PumpWaiting() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Dispatches this thread's messages until `done` holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!done()) {
        if (GetTickCount64() >= end) {
            return false;
        }
        PumpWaiting();
        Sleep(10);
    }
    return true;
}

// Activates the window as a switch to the program does, and lets the posted start-up run.
void Activate(HWND window) {
    SendMessageW(window, WM_ACTIVATEAPP, TRUE, 0);
    PumpWaiting();
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The request line of the update check the test server last received for `product`.
std::string RecordedUpdateRequest(const std::string& product) {
    WindowsHttpClientOwner owner;
    const std::unique_ptr<IHttpClient> client = owner.CreateClient();
    std::string head;
    bool done = false;
    client->Settings().url = "http://" + TestServerHost() + "/recorded?" + product;
    client->SetDestination(&head);
    client->SetOnComplete([&](IHttpClient&, HttpRequestKind, int) { done = true; });
    client->StartGet();
    PumpUntil([&] { return done; }, 5000);
    return head.substr(0, head.find("\r\n"));
}

bool MenuItemEnabled(HWND window, UINT id) {
    return (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

// Pumps the thread's messages until WM_QUIT arrives or the time runs out; true on WM_QUIT.
bool PumpUntilQuit(const TMainDlg& dialog, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    MSG message{};
    while (GetTickCount64() < end) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return true;
            }
            if (!dialog.TranslateShortcut(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        Sleep(10);
    }
    return false;
}

void PressCtrl(WORD key) {
    INPUT inputs[4]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
    }
    inputs[0].ki.wVk = VK_CONTROL;
    inputs[1].ki.wVk = key;
    inputs[2].ki.wVk = key;
    inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = VK_CONTROL;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, inputs, sizeof(INPUT));
}

int OuterWidth(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return frame.right - frame.left;
}

TEST(MainDlgWindow, OpensAtItsDesignedPlaceAndSizeWithAFixedFrame) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    HWND window = dialog.Handle();

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right - client.left, 751);
    EXPECT_EQ(client.bottom - client.top, 495);

    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 198);
    EXPECT_EQ(frame.top, 179);
    EXPECT_EQ(WindowTextGbk(window), "MainDlg");

    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST(MainDlgWindow, ControlsSitAtTheirDesignedPlacesWithTheirCaptions) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    struct Case {
        int id;
        int parent; // 0: the window
        RECT rect;  // right and bottom -1: a label, sized by its text
        std::string caption;
    };
    const Case cases[] = {
        {kTopPnl, 0, {-12, 0, 752, 57}, ""},
        {kImage1, kTopPnl, {24, 8, 56, 40}, ""},
        {kLabel2, kTopPnl, {63, 10, -1, -1}, "Slotvane"},
        {kGeneralGrp, 0, {2, 61, 745, 491}, "一般"},
        {kSystemGrp, kGeneralGrp, {8, 12, 155, 93}, "系统信息"},
        {kSlotsLbl, kSystemGrp, {8, 19, -1, -1}, "插槽数量:"},
        {kCurmemLbl, kSystemGrp, {8, 35, -1, -1}, "当前内存:"},
        {kMaxmemLbl, kSystemGrp, {8, 51, -1, -1}, "最大内存:"},
        {kGroupBox2, kGeneralGrp, {160, 12, 369, 93}, "物理内存"},
        {kPhyusedLbl, kGroupBox2, {8, 19, -1, -1}, ""},
        {kScope, kGroupBox2, {115, 10, 204, 75}, ""},
        {kSlot1Grp + 0, kGeneralGrp, {8, 96, 369, 257}, "插槽 1"},
        {kSlot1Grp + 1, kGeneralGrp, {8, 262, 369, 423}, "插槽 2"},
        {kSlot1Grp + 2, kGeneralGrp, {376, 96, 737, 257}, "插槽 3"},
        {kSlot1Grp + 3, kGeneralGrp, {376, 262, 737, 423}, "插槽 4"},
        {kLst1 + 3, kSlot1Grp + 3, {7, 16, 273, 153}, ""},
        {kGetSpec1Btn + 1, kSlot1Grp + 1, {280, 16, 353, 105}, "谷歌搜索\r\n内存规格"},
        {kGetRAM1Btn + 2, kSlot1Grp + 2, {8, 16, 353, 153}, ""},
        {kDriversBtn, kTopPnl, {685, 8, 744, 49}, "驱动程序更新"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HWND control = dialog.Control(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetParent(control), c.parent == 0 ? dialog.Handle() : dialog.Control(c.parent));
        const RECT rect = RectInParent(control);
        EXPECT_EQ(rect.left, c.rect.left);
        EXPECT_EQ(rect.top, c.rect.top);
        if (c.rect.right != -1) {
            EXPECT_EQ(rect.right, c.rect.right);
            EXPECT_EQ(rect.bottom, c.rect.bottom);
        }
        if (!c.caption.empty()) {
            EXPECT_EQ(WindowTextGbk(control), c.caption);
        }
    }
}

TEST(MainDlgWindow, UsesTheInterfaceFontForItsControls) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog.Control(kSlotsLbl), WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ASSERT_TRUE(GetObjectW(font, sizeof logFont, &logFont));
    EXPECT_EQ(GbkFromWide(logFont.lfFaceName), "微软雅黑");
    EXPECT_EQ(logFont.lfHeight, -12);
    EXPECT_EQ(logFont.lfCharSet, GB2312_CHARSET);
}

TEST(MainDlgWindow, MenuItemsShowTheirShortcuts) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    HMENU menu = GetMenu(dialog.Handle());
    ASSERT_NE(menu, nullptr);
    struct Case {
        WORD id;
        std::string caption;
    };
    const Case cases[] = {
        {kQuit1, "退出(&Q)\tCtrl+Q"},           {kExt1, "文本(&T)"},
        {kSpreadsheet1, "电子表格(&S)"},        {kOpenlogfile1, "打开日志文件(&O)\tCtrl+L"},
        {kCheckforupdate1, "检查更新\tCtrl+G"}, {kAbout1, "关于(&A)\tCtrl+B"},
    };
    for (const Case& c : cases) {
        wchar_t text[64]{};
        GetMenuStringW(menu, c.id, text, 64, MF_BYCOMMAND);
        EXPECT_EQ(GbkFromWide(text), c.caption);
    }
}

TEST(MainDlgWindow, EachTickAdvancesTheChartOnceAndUpdatesTheLabels) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    const int before = dialog.Scope().Advances();
    SendMessageW(dialog.Handle(), WM_TIMER, kMemTimerId, 0);
    EXPECT_EQ(dialog.Scope().Advances(), before + 1);
    SendMessageW(dialog.Handle(), WM_TIMER, kMemTimerId, 0);
    EXPECT_EQ(dialog.Scope().Advances(), before + 2);
    EXPECT_EQ(WindowTextGbk(dialog.Control(kPhytotLbl)).substr(0, 4), "总计");
}

// Whether the chart shows its line on `row` just left of its right edge, on the screen.
bool ChartLineOnRow(HWND chart, int row) {
    HDC dc = GetDC(chart);
    const COLORREF pixel = GetPixel(dc, TScopeModel::kWidth - 2, row);
    ReleaseDC(chart, dc);
    return pixel == RGB(0, 255, 0);
}

TEST(MainDlgWindow, ATickDrawsTheChartAtOnceAndAMinimisedWindowCatchesUpWhenRestored) {
    SettableMemory load;
    FakeServices services;
    services.memorySource = &load;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    ShowWindow(dialog.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(dialog.Handle());
    PumpWaiting();
    HWND chart = dialog.Control(kScope);

    // Two ticks at one load draw a level segment ending on the right edge.
    load.load = 20;
    SendMessageW(dialog.Handle(), WM_TIMER, kMemTimerId, 0);
    SendMessageW(dialog.Handle(), WM_TIMER, kMemTimerId, 0);
    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(chart, &pending, FALSE)) << "no paint is left waiting";
    EXPECT_TRUE(ChartLineOnRow(chart, TScopeModel::RowOfValue(20)));

    // Ticks while minimised draw nothing; restoring shows where the chart has got to.
    ShowWindow(dialog.Handle(), SW_MINIMIZE);
    load.load = 70;
    SendMessageW(dialog.Handle(), WM_TIMER, kMemTimerId, 0);
    SendMessageW(dialog.Handle(), WM_TIMER, kMemTimerId, 0);
    ShowWindow(dialog.Handle(), SW_RESTORE);
    UpdateWindow(dialog.Handle());
    PumpWaiting();
    EXPECT_TRUE(ChartLineOnRow(chart, TScopeModel::RowOfValue(70)));
    EXPECT_FALSE(ChartLineOnRow(chart, TScopeModel::RowOfValue(20)));
}

TEST(MainDlgWindow, AScanAppliedToTheShownWindowShowsAndHidesWhatItSays) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With([](MainDlgState& state, TKLog*) {
        state.narrowed = true;
        state.slots[0].columnCaptions = {"属性", "值"};
        state.slots[0].rows = {{"容量", "8 GB"}, {"制造商", "Samsung"}};
        state.slots[1].listVisible = false;
        state.slots[1].emptySlotButtonVisible = true;
        state.slots[1].specButtonVisible = false;
        state.maxmemVisible = false;
    }));
    ShowWindow(dialog.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(dialog.Handle());
    PumpWaiting();

    // Only the start-up runs, so that no later change of state could mend what it left.
    SendMessageW(dialog.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    MSG startUp{};
    ASSERT_TRUE(
        PeekMessageW(&startUp, dialog.Handle(), kStartUpMessage, kStartUpMessage, PM_REMOVE));
    DispatchMessageW(&startUp);
    EXPECT_EQ(OuterWidth(dialog.Handle()), kNarrowedWindowWidth);
    EXPECT_EQ(ListView_GetItemCount(dialog.Control(kLst1)), 2);
    struct Case {
        int id;
        bool shown;
    };
    const Case cases[] = {
        {kTopPnl, true},         {kGeneralGrp, true}, {kLst1, true},
        {kGetSpec1Btn, true},    {kLst1 + 1, false},  {kGetSpec1Btn + 1, false},
        {kGetRAM1Btn + 1, true}, {kMaxmemLbl, false}, {kScope, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWindowVisible(dialog.Control(c.id)) != FALSE, c.shown) << "control " << c.id;
    }
}

TEST(MainDlgWindow, FirstActivationScansOnceAndNarrowsForATwoSlotBoard) {
    int scans = 0;
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With([&](MainDlgState& state, TKLog*) {
        ++scans;
        state.narrowed = true;
        state.slots[2].enabled = false;
        state.slots[3].enabled = false;
        state.slotsLabel = "插槽数量: 2";
    }));
    EXPECT_EQ(WindowTextGbk(dialog.Handle()), "MainDlg");
    RECT designed{};
    GetClientRect(dialog.Handle(), &designed);
    EXPECT_EQ(designed.right, 751);

    // The sequence runs from a posted message, not inside the activation message itself.
    SendMessageW(dialog.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    SendMessageW(dialog.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(scans, 0);
    PumpWaiting();
    Activate(dialog.Handle());
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(OuterWidth(dialog.Handle()), 387);
    EXPECT_EQ(WindowTextGbk(dialog.Control(kSlotsLbl)), "插槽数量: 2");
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(kSlot1Grp + 2)));

    // The drivers button follows the right edge and stays inside the window.
    RECT drivers{};
    RECT client{};
    GetWindowRect(dialog.Control(kDriversBtn), &drivers);
    GetClientRect(dialog.Handle(), &client);
    MapWindowPoints(dialog.Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_LE(drivers.right, client.right);
    EXPECT_GE(drivers.left, client.left);
}

TEST(MainDlgWindow, ExportMenuItemsWriteTheReportAndOpenIt) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With([](MainDlgState& state, TKLog*) {
        state.slots[0].rows = {{"\xB2\xE5\xB2\xDB", "DIMM 0"}};
        for (int i = 1; i < kSlotPanelCount; ++i) {
            state.slots[static_cast<size_t>(i)].listVisible = false;
        }
    }));
    Activate(dialog.Handle());

    SendMessageW(dialog.Handle(), WM_COMMAND, kExt1, 0);
    SendMessageW(dialog.Handle(), WM_COMMAND, kSpreadsheet1, 0);

    const std::string text = services.dataFolder.File("export.txt");
    const std::string csv = services.dataFolder.File("export.csv");
    EXPECT_EQ(ReadFileBytes(text), "[BANK 1]\r\n\xB2\xE5\xB2\xDB\tDIMM 0\r\n");
    EXPECT_EQ(ReadFileBytes(csv), "[BANK 1]\r\n\xB2\xE5\xB2\xDB;DIMM 0\r\n");
    EXPECT_EQ(services.shell.requests, (std::vector<std::string>{text + "|||1", csv + "|||1"}));
}

TEST(MainDlgWindow, OpeningTheLogBeforeStartUpDoesNothing) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    SendMessageW(dialog.Handle(), WM_COMMAND, kOpenlogfile1, 0);
    EXPECT_TRUE(services.shell.requests.empty());
}

// The maker's server is the test server here: the program starts on its first activation and
// never again, and closing writes nothing more.
TEST(MainDlgWindow, FirstActivationStartsTheProgramOnceAgainstTheMakersServer) {
    ASSERT_NE(std::getenv("SLOTVANE_TEST_SERVER"), nullptr)
        << "no test server: run tests/update/hostile_server.py and set SLOTVANE_TEST_SERVER "
           "(scripts/test does both)";
    FakeServices services;
    int scans = 0;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With([&](MainDlgState& state, TKLog*) {
        ++scans;
        state.slots[3].listVisible = false;
        state.slots[3].specButtonVisible = false;
        state.slots[3].emptySlotButtonVisible = true;
    }));
    HWND window = dialog.Handle();

    // Not yet activated: the designed caption and no log.
    PumpWaiting();
    EXPECT_EQ(WindowTextGbk(window), "MainDlg");
    EXPECT_EQ(dialog.Logic().Log(), nullptr);

    Activate(window);
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(WindowTextGbk(window), "Slotvane v2.4.1.3");
    EXPECT_EQ(WindowTextGbk(dialog.Control(kGetRAM1Btn + 3)),
              "空插槽!\r\n\r\n点击这里获取更多内存");
    EXPECT_EQ(services.platform.registry["Slotvane"], services.platform.programPath);

    ASSERT_NE(dialog.Logic().Log(), nullptr);
    const TKLog& log = *dialog.Logic().Log();
    EXPECT_EQ(log.FileName(), services.dataFolder.File("Slotvane.log"));
    const std::vector<LogEntry> startUp = {
        {1, "正在开始"},          {1, services.platform.programPath},
        {1, "Slotvane v2.4.1.3"}, {1, "Windows : 10.0 (Windows10)"},
        {1, "64 位: Yes"},        {1, "管理员: No"},
        {1, "便携式: Yes"},
    };
    std::vector<LogEntry> entries = LogEntries(log);
    ASSERT_GE(entries.size(), startUp.size());
    EXPECT_EQ(std::vector<LogEntry>(entries.begin(), entries.begin() + 7), startUp);
    EXPECT_NE(FileText(log.FileName()).find("Slotvane v2.4.1.3"), std::string::npos);

    // The link list arrives in the data folder; the start-up check ends silently with the menu
    // item enabled again.
    const std::string linkList = services.dataFolder.File("slotvane.ini");
    EXPECT_TRUE(PumpUntil(
        [&] {
            return FileText(linkList).find("[links]") != std::string::npos &&
                   MenuItemEnabled(window, kCheckforupdate1);
        },
        5000));
    EXPECT_EQ(FileText(linkList), "[links]\r\nram=http://127.0.0.1/memory\r\n");
    EXPECT_FALSE(dialog.Logic().AutoUpdateCheck());
    EXPECT_NE(FileText(log.FileName()).find("Slotvane 已经是最新的."), std::string::npos);
    EXPECT_EQ(RecordedUpdateRequest("Slotvane"),
              "GET /veyra/check.php?uid=0&ProductName=Slotvane&Company=Tarvik&VH=131076&VL=65539 "
              "HTTP/1.1");

    // Switching away and back runs nothing again.
    const std::size_t lines = log.Lines().size();
    const Journal journal = services.journal;
    SendMessageW(window, WM_ACTIVATEAPP, FALSE, 0);
    Activate(window);
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(log.Lines().size(), lines);
    EXPECT_EQ(services.journal, journal);

    // Closing cleans the virtual store (nothing to clean here) and adds no line.
    const std::string logText = FileText(log.FileName());
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(services.journal.back().rfind("CleanVirtualStore ", 0), 0u);
    EXPECT_EQ(FileText(services.dataFolder.File("Slotvane.log")), logText);
    EXPECT_EQ(dialog.Logic().Log(), nullptr);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// The menu item is disabled from the start of a check until its answer has arrived.
TEST(MainDlgWindow, TheUpdateCheckDisablesItsMenuItemUntilTheAnswer) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    HWND window = dialog.Handle();
    // Before start-up there is no checker: the item does nothing.
    SendMessageW(window, WM_COMMAND, kCheckforupdate1, 0);
    EXPECT_TRUE(MenuItemEnabled(window, kCheckforupdate1));

    // The start-up message handled directly: no answer can have arrived yet.
    SendMessageW(window, kStartUpMessage, 0, 0);
    EXPECT_FALSE(MenuItemEnabled(window, kCheckforupdate1));
    EXPECT_TRUE(PumpUntil([&] { return MenuItemEnabled(window, kCheckforupdate1); }, 5000));
}

// The user's own check against a server that is down says that it failed; start-up's own
// failed check before it showed nothing.
TEST(MainDlgWindow, AChosenCheckAgainstAServerThatIsDownSaysItFailed) {
    FakeServices services;
    MainDlgServices withServerDown = services.With();
    withServerDown.serverHost = "127.0.0.1:1"; // nothing listens there
    TMainDlg dialog(GetModuleHandleW(nullptr), std::move(withServerDown));
    HWND window = dialog.Handle();
    SendMessageW(window, kStartUpMessage, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return MenuItemEnabled(window, kCheckforupdate1); }, 5000));
    EXPECT_EQ(FindWindowW(L"#32770", L"Slotvane"), nullptr);

    std::wstring shown;
    std::thread watcher([&] { shown = ReadAndCloseMessageBox(L"Slotvane"); });
    SendMessageW(window, WM_COMMAND, kCheckforupdate1, 0);
    EXPECT_TRUE(PumpUntil([&] { return MenuItemEnabled(window, kCheckforupdate1); }, 5000));
    watcher.join();
    EXPECT_EQ(GbkFromWide(shown), "检查更新失败, 请稍后再试.");
}

// The buttons reach the web actions with the window's data.
TEST(MainDlgWindow, ButtonsOpenTheirAddresses) {
    const std::string host = TestServerHost();
    struct Case {
        int id;
        std::string melvo;  // the maker's registry value naming the driver-update program
        std::string opened; // what the shell was asked to open; empty: nothing
    };
    const Case cases[] = {
        {kDriversBtn, "", "http://" + host + "/veyra/drivers.php|||1"},
        {kDriversBtn, "C:\\Tarvik\\melvo.exe", "C:\\Tarvik\\melvo.exe|||1"},
        {kGetSpec1Btn + 1, "", ""}, // an empty slot has no part number
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        FakeServices services;
        if (!c.melvo.empty()) {
            services.platform.registry["Melvo"] = c.melvo;
            services.platform.files[c.melvo] = "MZ";
        }
        TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
        Activate(dialog.Handle());
        SendMessageW(dialog.Handle(), WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(dialog.Control(c.id)));
        EXPECT_EQ(services.shell.requests, c.opened.empty() ? std::vector<std::string>{}
                                                            : std::vector<std::string>{c.opened});
    }
}

TEST(MainDlgWindow, OpeningTheLogAfterStartUpOpensItsFile) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    Activate(dialog.Handle());
    SendMessageW(dialog.Handle(), WM_COMMAND, kOpenlogfile1, 0);
    EXPECT_EQ(services.shell.requests,
              (std::vector<std::string>{services.dataFolder.File("Slotvane.log") + "|||1"}));
}

TEST(MainDlgWindow, CtrlQClosesTheWindowAndEndsTheLoop) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    HWND window = dialog.Handle();
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    PumpUntilQuit(dialog, 300);

    PressCtrl('Q');
    EXPECT_TRUE(PumpUntilQuit(dialog, 5000));
    EXPECT_FALSE(IsWindow(window));
}

// Refuses the creation of one child window with a given id, and notes the top-level windows
// that were created meanwhile.
class RefuseOneChild {
public:
    explicit RefuseOneChild(int id) {
        refusedId_ = id;
        created_.clear();
        hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    }
    RefuseOneChild(const RefuseOneChild&) = delete;
    RefuseOneChild& operator=(const RefuseOneChild&) = delete;
    ~RefuseOneChild() { UnhookWindowsHookEx(hook_); }

    bool Hooked() const { return hook_ != nullptr; }
    static const std::vector<HWND>& TopLevelWindows() { return created_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTW& create = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            if ((create.style & WS_CHILD) == 0) {
                created_.push_back(reinterpret_cast<HWND>(wParam));
            } else if (reinterpret_cast<INT_PTR>(create.hMenu) == refusedId_) {
                return 1;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline int refusedId_ = 0;
    static inline std::vector<HWND> created_;
    HHOOK hook_ = nullptr;
};

// A control that cannot be created fails the constructor and takes the window with it, so no
// later message reaches the object that never was.
TEST(MainDlgWindow, AFailedControlLeavesNoWindowBehind) {
    for (const int refused : {static_cast<int>(kDriversBtn), static_cast<int>(kScope), kLst1 + 2,
                              kGetRAM1Btn + 3, static_cast<int>(kSlot1Grp)}) {
        SCOPED_TRACE(refused);
        int scans = 0;
        FakeServices services;
        {
            RefuseOneChild refusal(refused);
            ASSERT_TRUE(refusal.Hooked());
            EXPECT_THROW(TMainDlg(GetModuleHandleW(nullptr),
                                  services.With([&](MainDlgState&, TKLog*) { ++scans; })),
                         std::exception);
        }
        ASSERT_FALSE(RefuseOneChild::TopLevelWindows().empty());
        for (HWND window : RefuseOneChild::TopLevelWindows()) {
            EXPECT_FALSE(IsWindow(window));
            SendMessageW(window, WM_ACTIVATEAPP, TRUE, 0);
        }
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        EXPECT_EQ(scans, 0);
    }
}

TEST(AboutDlgWindow, AFailedControlLeavesNoWindowBehind) {
    FakeServices services;
    TMainDlg owner(GetModuleHandleW(nullptr), services.With());
    for (const int refused : {static_cast<int>(kOkBtn), static_cast<int>(kAboutImage1)}) {
        SCOPED_TRACE(refused);
        {
            RefuseOneChild refusal(refused);
            ASSERT_TRUE(refusal.Hooked());
            EXPECT_THROW(TAboutDlg(GetModuleHandleW(nullptr), owner.Handle(),
                                   {[] { return std::string(); }, [](HWND, const std::string&) {}}),
                         std::exception);
        }
        ASSERT_EQ(RefuseOneChild::TopLevelWindows().size(), 1u);
        EXPECT_FALSE(IsWindow(RefuseOneChild::TopLevelWindows().front()));
    }
}

// Holds a key down (or lets it go) in the thread's keyboard state, as the dialog keys read it.
void SetKeyState(int key, bool down) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Tab and Shift+Tab go round the buttons and list views; Enter and Space press a button.
TEST(MainDlgWindow, TheKeyboardMovesBetweenControlsAndPressesButtons) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    HWND window = dialog.Handle();
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    HWND drivers = dialog.Control(kDriversBtn);
    SetFocus(drivers);
    ASSERT_EQ(GetFocus(), drivers);

    const auto send = [&](UINT message, WPARAM key) {
        MSG keyMessage{GetFocus(), message, key, 0, 0, {}};
        return dialog.TranslateDialogKeys(keyMessage);
    };
    const auto press = [&](WPARAM key) {
        EXPECT_TRUE(send(WM_KEYDOWN, key));
        send(WM_KEYUP, key);
    };

    press(VK_TAB);
    EXPECT_EQ(GetFocus(), dialog.Control(kLst1));
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), dialog.Control(kGetSpec1Btn));
    SetKeyState(VK_SHIFT, true);
    press(VK_TAB);
    SetKeyState(VK_SHIFT, false);
    EXPECT_EQ(GetFocus(), dialog.Control(kLst1));

    // The buttons tell their parents they were clicked: count the clicks of the drivers button.
    int clicks = 0;
    SetWindowSubclass(
        GetParent(drivers),
        [](HWND parent, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
           DWORD_PTR counter) -> LRESULT {
            if (message == WM_COMMAND && LOWORD(wParam) == kDriversBtn &&
                HIWORD(wParam) == BN_CLICKED) {
                ++*reinterpret_cast<int*>(counter);
            }
            return DefSubclassProc(parent, message, wParam, lParam);
        },
        1, reinterpret_cast<DWORD_PTR>(&clicks));
    SetFocus(drivers);
    press(VK_RETURN);
    EXPECT_EQ(clicks, 1);
    press(VK_SPACE);
    EXPECT_EQ(clicks, 2);
}

TEST(AboutDlgWindow, ShowsTheApplicationsNameAndVersion) {
    FakeServices services;
    TMainDlg owner(GetModuleHandleW(nullptr), services.With());
    std::string opened;
    TAboutDlg about(GetModuleHandleW(nullptr), owner.Handle(),
                    {[] { return std::string("2.4.1.3"); },
                     [&](HWND, const std::string& address) { opened = address; }});
    EXPECT_EQ(WindowTextGbk(about.Handle()), "关于");
    EXPECT_FALSE(IsWindowVisible(about.Handle()));

    about.RefreshLabels();
    EXPECT_EQ(WindowTextGbk(about.Handle()), "关于 Slotvane");
    EXPECT_EQ(WindowTextGbk(about.Control(kAppnameLbl)), "应用程序名称: Slotvane");
    EXPECT_EQ(WindowTextGbk(about.Control(kVersionLbl)), "版本: 2.4.1.3");

    RECT client{};
    GetClientRect(about.Handle(), &client);
    EXPECT_EQ(client.right, 389);
    EXPECT_EQ(client.bottom, 285);

    SendMessageW(about.Handle(), WM_COMMAND, kEmailBtn, 0);
    EXPECT_EQ(opened.substr(0, 7), "mailto:");
}

// The About dialogs of this thread.
std::vector<HWND> AboutWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) {
            wchar_t name[32]{};
            GetClassNameW(window, name, 32);
            if (std::wstring(name) == L"TAboutDlg") {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Closes the About dialog from inside its modal loop.
void CALLBACK CancelAbout(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND about : AboutWindows()) {
        if (IsWindowVisible(about)) {
            PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
        }
    }
}

TEST(MainDlgWindow, TheAboutDialogIsMadeAtItsFirstShowingAndKept) {
    FakeServices services;
    TMainDlg dialog(GetModuleHandleW(nullptr), services.With());
    dialog.SetAboutServices(
        {[] { return std::string("1.0.0.0"); }, [](HWND, const std::string&) {}});
    EXPECT_TRUE(AboutWindows().empty());

    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CancelAbout);
    SendMessageW(dialog.Handle(), WM_COMMAND, kAbout1, 0);
    const std::vector<HWND> made = AboutWindows();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(GetWindow(made[0], GW_OWNER), dialog.Handle());
    SendMessageW(dialog.Handle(), WM_COMMAND, kAbout1, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(AboutWindows(), made);
}

TEST(AboutDlgWindow, ExecuteReturnsTrueOnlyForTheOkButton) {
    FakeServices services;
    TMainDlg owner(GetModuleHandleW(nullptr), services.With());
    TAboutDlg about(GetModuleHandleW(nullptr), owner.Handle(),
                    {[] { return std::string(); }, [](HWND, const std::string&) {}});
    for (int button : {static_cast<int>(kOkBtn), IDCANCEL}) {
        PostMessageW(about.Handle(), WM_COMMAND, static_cast<WPARAM>(button), 0);
        EXPECT_EQ(about.Execute(), button == kOkBtn);
        EXPECT_FALSE(IsWindowVisible(about.Handle()));
        EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    }
}

TEST(MessageBoxWindow, KindsAndButtonSetsMapToTheirStyles) {
    struct Case {
        int buttons;
        int kind;
        UINT style;
    };
    const Case cases[] = {
        {kButtonsOk, kKindMessage, MB_OK},
        {kButtonsYesNo, kKindQuestion, MB_YESNO | MB_ICONQUESTION},
        {kButtonsYesNoCancel, kKindWarning, MB_YESNOCANCEL | MB_ICONWARNING},
        {kButtonsOkCancel, kKindError, MB_OKCANCEL | MB_ICONERROR},
        {kButtonsOk, kKindInformation, MB_OK | MB_ICONINFORMATION},
        {5, 7, MB_OK},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageBoxStyle(c.buttons, c.kind), c.style) << c.buttons << "/" << c.kind;
    }
}

} // namespace
