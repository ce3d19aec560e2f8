// The memory-load strip chart control ("scope"): paints a TScopeModel.
#pragma once

#include "app/scope_model.h"

#include <windows.h>

// Registers the window class once; the control's creation parameter is the model it paints.
const wchar_t* ScopeWindowClass(HINSTANCE instance);
HWND CreateScope(HINSTANCE instance, HWND parent, int id, int x, int y, const TScopeModel& model);
