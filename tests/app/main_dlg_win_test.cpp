#include "app/main_dlg_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

class SteadyMemory final : public IMemoryStatusSource {
public:
    MemoryStatus QueryMemoryStatus() const override { return {50, 8ull << 30, 4ull << 30}; }
    std::optional<std::uint64_t> InstalledMemoryKilobytes() const override { return 8ull << 20; }
};
const SteadyMemory memory;

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

TEST(MainDlgWindow, OpensAtItsDesignedPlaceAndSizeWithAFixedFrame) {
    TMainDlg dialog(GetModuleHandleW(nullptr), {memory, [](MainDlgState&, TKLog*) {}});
    HWND window = dialog.Handle();

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right - client.left, 751);
    EXPECT_EQ(client.bottom - client.top, 495);

    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 198);
    EXPECT_EQ(frame.top, 179);

    wchar_t caption[64]{};
    GetWindowTextW(window, caption, 64);
    EXPECT_EQ(std::wstring(caption), L"MainDlg");

    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST(MainDlgWindow, CtrlQClosesTheWindowAndEndsTheLoop) {
    TMainDlg dialog(GetModuleHandleW(nullptr), {memory, [](MainDlgState&, TKLog*) {}});
    HWND window = dialog.Handle();
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    PumpUntilQuit(dialog, 300);

    PressCtrl('Q');
    EXPECT_TRUE(PumpUntilQuit(dialog, 5000));
    EXPECT_FALSE(IsWindow(window));
}

} // namespace
