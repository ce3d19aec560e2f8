#include "app/banner_win.h"

#include "app/controls_win.h"
#include "app/gdi_win.h"

namespace {

constexpr wchar_t kClassName[] = L"TBannerPanel";
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);

LRESULT CALLBACK BannerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        KeepCreationParameter(window, lParam);
        break;
    case WM_ERASEBKGND: {
        RECT rect{};
        GetClientRect(window, &rect);
        HDC dc = reinterpret_cast<HDC>(wParam);
        FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        DrawEdge(dc, &rect, BDR_SUNKENINNER, BF_RECT);
        return 1;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const auto nameLabelId = static_cast<int>(CreationParameter(window));
        const bool isName = GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == nameLabelId;
        SetTextColor(dc, isName ? kSilver : kWhite);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

HWND CreateBanner(HINSTANCE instance, HWND parent, int id, int x, int y, int width, int height,
                  int nameLabelId) {
    RegisterWindowClassOnce(instance, kClassName, &BannerProc, false, nullptr);
    return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           reinterpret_cast<void*>(static_cast<INT_PTR>(nameLabelId)));
}
