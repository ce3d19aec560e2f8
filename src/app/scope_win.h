// The memory-load strip chart control ("scope"): paints a TScopeModel.
#pragma once

#include "app/dpi_win.h"
#include "app/gdi_win.h"
#include "memory/scope_model.h"

#include <windows.h>

#include <memory>

// What the control paints and what it paints with. The pens, the brush and the back buffer live
// as long as the control, so a paint creates no drawing objects.
class TScopeView {
public:
    explicit TScopeView(const TScopeModel& model);

    // The model's pixels are 96-DPI design pixels; the control draws them at this scale, with
    // lines as thick as the scale makes one design pixel. Drops the back buffer.
    void SetScale(const DpiScale& scale);

    // Draws the model into the back buffer and copies it onto the control at once. A tick shows
    // its advance this way rather than by invalidating the control: a paint cycle costs several
    // round trips to the window server, once a second for as long as the program runs.
    void Show(HWND window);
    // WM_PAINT: copies the back buffer, drawn at the last advance, onto the control.
    void Paint(HWND window);

private:
    void EnsureBuffer(HDC compatible);
    void Render();
    void Present(HDC target) const;

    const TScopeModel& model_;
    DpiScale scale_;
    UniqueBrush background_;
    UniquePen gridPen_;
    UniquePen basePen_;
    UniquePen linePen_;
    // Made on the first paint, compatible with the control's display.
    std::unique_ptr<MemoryDC> buffer_;
    UniqueBitmap bitmap_;
    // The advance the back buffer shows; -1 before the first drawing.
    int renderedAdvances_ = -1;
};

// Registers the window class once; the control's creation parameter is the view it paints.
const wchar_t* ScopeWindowClass(HINSTANCE instance);
// Raises when the control cannot be created. Its place and size are the layout's.
HWND CreateScope(HINSTANCE instance, HWND parent, int id, TScopeView& view);
