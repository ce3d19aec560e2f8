#include "app/main_dlg_win.h"

#include "app/error_report_win.h"

#include "resource_ids.h"

#include <array>
#include <stdexcept>

namespace {

constexpr wchar_t kWindowClass[] = L"TMainDlg";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_WINDOWEDGE;

enum CommandId : WORD {
    kQuit1 = 100,
};

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kWindowClass, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SLOTVANE));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_SLOTVANE), IMAGE_ICON, 16, 16, 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) == 0) {
        throw std::runtime_error("Cannot register the main window class");
    }
}

} // namespace

TMainDlg::TMainDlg(HINSTANCE instance) : instance_(instance) {
    RegisterWindowClass(instance, &TMainDlg::WindowProc);

    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    window_ = CreateWindowExW(kExStyle, kWindowClass, L"MainDlg", kStyle, kLeft, kTop,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("Cannot create the main window");
    }

    std::array<ACCEL, 1> shortcuts{{
        {FVIRTKEY | FCONTROL, 'Q', kQuit1},
    }};
    shortcuts_ = CreateAcceleratorTableW(shortcuts.data(), static_cast<int>(shortcuts.size()));
}

TMainDlg::~TMainDlg() {
    if (shortcuts_ != nullptr) {
        DestroyAcceleratorTable(shortcuts_);
    }
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

bool TMainDlg::TranslateShortcut(MSG& message) const {
    return shortcuts_ != nullptr && TranslateAcceleratorW(window_, shortcuts_, &message) != 0;
}

void TMainDlg::Quit1Click() {
    // Exactly what the close box does.
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

void TMainDlg::OnCommand(int id) {
    switch (id) {
    case kQuit1:
        Quit1Click();
        break;
    default:
        break;
    }
}

LRESULT TMainDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        RunGuarded(window_, [&] { OnCommand(LOWORD(wParam)); });
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT CALLBACK TMainDlg::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<TMainDlg*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TMainDlg*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window is gone: the object must not destroy it a second time.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}
