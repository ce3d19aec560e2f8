// Looks at a window's controls as the user sees them: what is clipped, what overlaps, and a
// description of the whole layout that two windows can be compared by.
#pragma once

#include "app/controls_win.h"
#include "app/dpi_win.h"
#include "util/codepage_win.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace layout_check {

inline std::vector<HWND> Descendants(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

inline std::string ClassOf(HWND window) {
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    return GbkFromWide(name);
}

inline std::string NameOf(HWND window) {
    return ClassOf(window) + " " + std::to_string(GetDlgCtrlID(window)) + " \"" +
           WindowTextGbk(window) + "\"";
}

inline bool ShownItself(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Shown itself and inside parents that are shown, up to `top`.
inline bool ShownWithin(HWND control, HWND top) {
    for (HWND window = control; window != nullptr && window != top; window = GetParent(window)) {
        if (!ShownItself(window)) {
            return false;
        }
    }
    return true;
}

inline std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The size the text takes in the control's own font, broken into lines at `width` when asked.
inline SIZE TextExtent(HWND control, const std::wstring& text, UINT flags, int width) {
    HDC dc = GetDC(control);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return {rect.right, rect.bottom};
}

inline SIZE ButtonImageSize(HWND button) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0));
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return {0, 0};
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

// Why the text of a shown label or button does not fit it; empty when it does.
inline std::string TextFault(HWND control, const DpiScale& scale) {
    const std::wstring text = TextOf(control);
    if (text.empty()) {
        return "";
    }
    RECT client{};
    GetClientRect(control, &client);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    const std::string kind = ClassOf(control);
    SIZE needed{};
    SIZE room{client.right, client.bottom};
    if (kind == "Static") {
        const LONG_PTR type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
            type != SS_LEFTNOWORDWRAP) {
            return "";
        }
        const UINT wrap = type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP ? 0 : DT_WORDBREAK;
        needed = TextExtent(control, text,
                            wrap | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0),
                            client.right);
    } else if (kind == "Button") {
        const LONG_PTR type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX) {
            // The caption sits on the frame, indented from its left end.
            needed = TextExtent(control, text, DT_SINGLELINE, 0);
            needed.cx += 2 * scale(4);
            needed.cy = std::min<LONG>(needed.cy, client.bottom);
        } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            // The label keeps off the frame; a picture sits beside the text.
            const int margin = scale(2) + (type == BS_DEFPUSHBUTTON ? 1 : 0);
            room = {client.right - 2 * margin, client.bottom - 2 * margin};
            const SIZE image = ButtonImageSize(control);
            needed = TextExtent(control, text,
                                (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE, room.cx);
            needed.cx += image.cx;
            needed.cy = std::max(needed.cy, image.cy);
        } else {
            return "";
        }
    } else {
        return "";
    }
    if (needed.cx > room.cx || needed.cy > room.cy) {
        return NameOf(control) + " needs " + std::to_string(needed.cx) + "x" +
               std::to_string(needed.cy) + " and has " + std::to_string(room.cx) + "x" +
               std::to_string(room.cy);
    }
    return "";
}

// What is wrong with the shown part of a window's layout at this scale: a control outside its
// parent's client area (except those designed to stick out), two siblings that overlap, a label's
// or button's text that does not fit it.
inline std::vector<std::string> LayoutFaults(HWND window, const DpiScale& scale,
                                             const std::vector<int>& designedToStickOut = {}) {
    std::vector<std::string> faults;
    std::map<HWND, std::vector<HWND>> shownChildren;
    for (HWND control : Descendants(window)) {
        if (!ShownWithin(control, window)) {
            continue;
        }
        HWND parent = GetParent(control);
        const RECT rect = RectInParent(control);
        RECT room{};
        GetClientRect(parent, &room);
        const bool mayStickOut = std::find(designedToStickOut.begin(), designedToStickOut.end(),
                                           GetDlgCtrlID(control)) != designedToStickOut.end();
        if (!mayStickOut && (rect.left < 0 || rect.top < 0 || rect.right > room.right ||
                             rect.bottom > room.bottom)) {
            faults.push_back(NameOf(control) + " lies outside its parent");
        }
        shownChildren[parent].push_back(control);
        if (std::string fault = TextFault(control, scale); !fault.empty()) {
            faults.push_back(fault);
        }
    }
    for (const auto& [parent, children] : shownChildren) {
        for (size_t i = 0; i < children.size(); ++i) {
            for (size_t j = i + 1; j < children.size(); ++j) {
                const RECT a = RectInParent(children[i]);
                const RECT b = RectInParent(children[j]);
                RECT common{};
                if (IntersectRect(&common, &a, &b)) {
                    faults.push_back(NameOf(children[i]) + " overlaps " + NameOf(children[j]));
                }
            }
        }
    }
    return faults;
}

// Every control of the window, one line each: its parent and id, place, whether it shows itself,
// font height, text and, for list views, rows and column widths.
inline std::string LayoutDump(HWND window) {
    std::map<std::string, std::string> lines;
    for (HWND control : Descendants(window)) {
        const RECT rect = RectInParent(control);
        std::ostringstream line;
        line << rect.left << "," << rect.top << " " << rect.right - rect.left << "x"
             << rect.bottom - rect.top << " shown=" << ShownItself(control);
        LOGFONTW font{};
        if (auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            handle != nullptr && GetObjectW(handle, sizeof font, &font) != 0) {
            line << " font=" << font.lfHeight;
        }
        line << " \"" << WindowTextGbk(control) << "\"";
        if (ClassOf(control) == "SysListView32") {
            line << " rows=" << ListView_GetItemCount(control)
                 << " columns=" << ListView_GetColumnWidth(control, 0) << ","
                 << ListView_GetColumnWidth(control, 1);
        }
        HWND parent = GetParent(control);
        lines[std::to_string(parent == window ? 0 : GetDlgCtrlID(parent)) + "/" +
              std::to_string(GetDlgCtrlID(control)) + " " + ClassOf(control)] = line.str();
    }
    std::string dump;
    for (const auto& [key, line] : lines) {
        dump += key + " " + line + "\n";
    }
    return dump;
}

} // namespace layout_check
