// RAII owners for GDI objects, icons, image lists and accelerator tables.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

template <typename Handle, auto Release>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : handle_(handle) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    ~UniqueResource() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            Release(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using UniqueFont = UniqueResource<HFONT, &DeleteObject>;
using UniqueBrush = UniqueResource<HBRUSH, &DeleteObject>;
using UniquePen = UniqueResource<HPEN, &DeleteObject>;
using UniqueBitmap = UniqueResource<HBITMAP, &DeleteObject>;
using UniqueIcon = UniqueResource<HICON, &DestroyIcon>;
using UniqueImageList = UniqueResource<HIMAGELIST, &ImageList_Destroy>;
using UniqueAccelerators = UniqueResource<HACCEL, &DestroyAcceleratorTable>;

// Selects an object into a device context for the lifetime of this owner.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context compatible with another one.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() { DeleteDC(dc_); }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// GetDC and ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};
