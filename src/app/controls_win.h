// Small helpers for building windows out of standard controls.
#pragma once

#include <windows.h>

#include <string>

struct ControlRect {
    int x;
    int y;
    int width;
    int height;
};

// Registers a window class of this program unless it is registered already. Top-level windows
// pass the program's icon; controls pass none. Raises when the class cannot be registered.
void RegisterWindowClassOnce(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                             bool withProgramIcon, HBRUSH background);

// Creates a child control with a GBK caption and the given font.
HWND CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent, int id,
                 const ControlRect& rect, const std::string& caption, HFONT font);

// Lets a container (a panel or a group box that holds other controls) pass its children's
// notifications on to the top-level window, where the handlers live.
void ForwardNotificationsToTopLevel(HWND container);

void SetWindowTextGbk(HWND window, const std::string& text);
std::string WindowTextGbk(HWND window);

// The program's interface font ("微软雅黑", 12 pixels at 96 DPI, GB2312 character set) at a DPI.
HFONT CreateInterfaceFont(bool bold, UINT dpi);

// A position in the coordinates of the control's parent.
RECT RectInParent(HWND control);

// The control with this id anywhere below the window (controls sit inside panels and group
// boxes at several depths).
HWND FindControl(HWND window, int id);

// For controls of this program: on WM_NCCREATE, keeps the creation parameter with the window,
// where the control's procedure finds it again with CreationParameter.
void KeepCreationParameter(HWND window, LPARAM createStruct);
inline LONG_PTR CreationParameter(HWND window) {
    return GetWindowLongPtrW(window, GWLP_USERDATA);
}

// The window procedure of a class whose windows each belong to one object of type Owner: the
// object comes as the creation parameter, receives every message through HandleMessage, and
// learns when its window is gone. Owner declares this function a friend.
// Raises when a control could not be created.
HWND Created(HWND control);

// Destroys the window an object owns, detached from the object first so that none of the
// messages of its destruction reach it. Clears the handle.
void DestroyOwnedWindow(HWND& window);

template <typename Owner>
LRESULT CALLBACK InstanceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window is gone: the object must not destroy it a second time.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        owner->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return owner->HandleMessage(message, wParam, lParam);
}
