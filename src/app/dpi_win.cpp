#include "app/dpi_win.h"

#include <commctrl.h>

#include <utility>

namespace {

// Functions of newer systems, looked up by name so that the program still starts without them.
template <typename Function>
Function LookUp(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    if (handle == nullptr) {
        return nullptr;
    }
    // Through the generic function type, which the compiler accepts without a cast warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(handle, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);

} // namespace

ControlRect DpiScale::operator()(const ControlRect& design) const {
    const int left = (*this)(design.x);
    const int top = (*this)(design.y);
    return {left, top, (*this)(design.x + design.width) - left,
            (*this)(design.y + design.height) - top};
}

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow =
        LookUp<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
            return dpi;
        }
    }
    const WindowDC screen(nullptr);
    return static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSY));
}

SIZE OuterSizeForClient(SIZE client, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi =
        LookUp<AdjustWindowRectExForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    if (adjustForDpi == nullptr || !adjustForDpi(&frame, style, menu, exStyle, dpi)) {
        AdjustWindowRectEx(&frame, style, menu, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

HICON LoadIconAtSize(HINSTANCE instance, int id, int size) {
    // In comctl32 version 6 only, which the program's manifest asks for.
    static const auto scaleDown =
        LookUp<LoadIconWithScaleDownFunction>(L"comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (scaleDown != nullptr &&
        SUCCEEDED(scaleDown(instance, MAKEINTRESOURCEW(id), size, size, &icon))) {
        return icon;
    }
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void WindowIcons::Apply(HWND window, HINSTANCE instance, int id, const DpiScale& scale) {
    UniqueIcon small(LoadIconAtSize(instance, id, scale(16)));
    UniqueIcon big(LoadIconAtSize(instance, id, scale(32)));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    // The window no longer shows the old ones.
    small_ = std::move(small);
    big_ = std::move(big);
}

UniqueBitmap LoadBitmapScaled(HINSTANCE instance, int id, const DpiScale& scale) {
    UniqueBitmap original(
        static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP size{};
    if (!original || scale.Dpi() == kDesignDpi ||
        GetObjectW(original.get(), sizeof size, &size) == 0) {
        return original;
    }
    const int width = scale(size.bmWidth);
    const int height = scale(size.bmHeight);
    const WindowDC screen(nullptr);
    UniqueBitmap scaled(CreateCompatibleBitmap(screen.get(), width, height));
    if (!scaled) {
        return original;
    }
    const MemoryDC source(screen.get());
    const MemoryDC target(screen.get());
    SelectedObject from(source.get(), original.get());
    SelectedObject to(target.get(), scaled.get());
    // HALFTONE blends neighbouring pixels instead of repeating them.
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, size.bmWidth, size.bmHeight,
               SRCCOPY);
    return scaled;
}
