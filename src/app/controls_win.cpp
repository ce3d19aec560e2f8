#include "app/controls_win.h"

#include "app/dpi_win.h"
#include "util/codepage_win.h"

#include "resource_ids.h"

#include <commctrl.h>

#include <stdexcept>
#include <utility>

#include <vector>

namespace {

LRESULT CALLBACK ForwardingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_NCHITTEST:
        // A group box is transparent to the mouse; as a container it must not be.
        return HTCLIENT;
    case WM_ERASEBKGND: {
        // A group box paints only its frame; as a container it owns the area inside it.
        RECT rect{};
        GetClientRect(window, &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        return DefSubclassProc(window, message, wParam, lParam);
    }
}

} // namespace

void RegisterWindowClassOnce(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                             bool withProgramIcon, HBRUSH background) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, name, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    if (withProgramIcon) {
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SLOTVANE));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_SLOTVANE), IMAGE_ICON, 16, 16, LR_SHARED));
    }
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    if (RegisterClassExW(&windowClass) == 0) {
        throw std::runtime_error("Cannot register a window class");
    }
}

HWND CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent, int id,
                 const ControlRect& rect, const std::string& caption, HFONT font) {
    HWND control = CreateWindowExW(
        exStyle, windowClass, WideFromGbk(caption).c_str(), WS_CHILD | style, rect.x, rect.y,
        rect.width, rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (control != nullptr && font != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return control;
}

void ForwardNotificationsToTopLevel(HWND container) {
    SetWindowSubclass(container, &ForwardingProc, 1, 0);
}

void SetWindowTextGbk(HWND window, const std::string& text) {
    SetWindowTextW(window, WideFromGbk(text).c_str());
}

std::string WindowTextGbk(HWND window) {
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return GbkFromWide(std::wstring_view(buffer.data(), static_cast<size_t>(length)));
}

HFONT CreateInterfaceFont(bool bold, UINT dpi) {
    return CreateFontW(-DpiScale(dpi)(12), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, WideFromGbk("微软雅黑").c_str());
}

RECT RectInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND FindControl(HWND window, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) == s->id) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void KeepCreationParameter(HWND window, LPARAM createStruct) {
    SetWindowLongPtrW(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(createStruct)->lpCreateParams));
}

HWND Created(HWND control) {
    if (control == nullptr) {
        throw std::runtime_error("Cannot create the window's controls");
    }
    return control;
}

void DestroyOwnedWindow(HWND& window) {
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(std::exchange(window, nullptr));
    }
}
