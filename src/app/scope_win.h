// The memory-load strip chart control ("scope"): paints a TScopeModel.
#pragma once

#include "app/gdi_win.h"
#include "app/scope_model.h"

#include <windows.h>

#include <memory>

// What the control paints and what it paints with. The pens, the brush and the back buffer live
// as long as the control, so a paint creates no drawing objects.
class TScopeView {
public:
    explicit TScopeView(const TScopeModel& model);

    void Paint(HWND window);

private:
    const TScopeModel& model_;
    UniqueBrush background_;
    UniquePen gridPen_;
    UniquePen basePen_;
    UniquePen linePen_;
    // Made on the first paint, compatible with the control's display.
    std::unique_ptr<MemoryDC> buffer_;
    UniqueBitmap bitmap_;
};

// Registers the window class once; the control's creation parameter is the view it paints.
const wchar_t* ScopeWindowClass(HINSTANCE instance);
// Raises when the control cannot be created.
HWND CreateScope(HINSTANCE instance, HWND parent, int id, int x, int y, TScopeView& view);
