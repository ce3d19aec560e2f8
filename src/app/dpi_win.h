// The windows are designed at 96 DPI: every position and size of their layout tables is a 96-DPI
// value, turned into pixels at the window's own DPI here, and the pictures and frames that go with
// a DPI are asked for here.
#pragma once

#include "app/controls_win.h"
#include "app/gdi_win.h"

#include <windows.h>

inline constexpr UINT kDesignDpi = 96;

// Scales design values from 96 DPI to one DPI (MulDiv, rounding half away from zero). The layout
// tables of the windows go through it and nothing else scales.
class DpiScale {
public:
    constexpr DpiScale() = default;
    constexpr explicit DpiScale(UINT dpi) : dpi_(dpi) {}

    UINT Dpi() const { return dpi_; }
    int operator()(int designValue) const {
        return MulDiv(designValue, static_cast<int>(dpi_), static_cast<int>(kDesignDpi));
    }
    // The edges are scaled, not the size, so that controls that touch or keep apart at 96 DPI
    // still do at every DPI.
    ControlRect operator()(const ControlRect& design) const;

private:
    UINT dpi_ = kDesignDpi;
};

// The window's DPI; before Windows 10 1607, which cannot tell it, the screen's.
UINT WindowDpi(HWND window);

// The outer size of a window with this client size, with the system's frame, caption and menu bar
// at this DPI.
SIZE OuterSizeForClient(SIZE client, DWORD style, bool menu, DWORD exStyle, UINT dpi);

// The icon resource at this size: the file's picture of that size, or a larger one scaled down.
HICON LoadIconAtSize(HINSTANCE instance, int id, int size);

// The caption and task-bar icons of a window at its DPI (16 and 32 pixels at 96 DPI).
class WindowIcons {
public:
    void Apply(HWND window, HINSTANCE instance, int id, const DpiScale& scale);

private:
    UniqueIcon small_;
    UniqueIcon big_;
};

// A bitmap resource drawn at the DPI with the system's smoothing filter; at 96 DPI as it is.
UniqueBitmap LoadBitmapScaled(HINSTANCE instance, int id, const DpiScale& scale);
