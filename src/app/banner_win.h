// The dark banner panel at the top of the main window.
#pragma once

#include <windows.h>

// Paints the system's window-frame colour with a lowered inner bevel. Labels on it are drawn
// transparently, in silver (the product name, control id `nameLabelId`) or white (the rest).
HWND CreateBanner(HINSTANCE instance, HWND parent, int id, int x, int y, int width, int height,
                  int nameLabelId);
