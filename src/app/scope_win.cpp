#include "app/scope_win.h"

#include "app/controls_win.h"
#include "app/gdi_win.h"

#include <vector>

namespace {

constexpr wchar_t kClassName[] = L"TScope";
constexpr COLORREF kBackground = RGB(0, 0, 0);
constexpr COLORREF kGrid = RGB(0, 128, 0);
constexpr COLORREF kBaseLine = RGB(255, 0, 0);
constexpr COLORREF kLine = RGB(0, 255, 0);

void DrawHorizontal(HDC dc, int y) {
    MoveToEx(dc, 0, y, nullptr);
    LineTo(dc, TScopeModel::kWidth, y);
}

void Paint(HWND window, const TScopeModel& model) {
    PaintScope paint(window);
    MemoryDC buffer(paint.dc());
    UniqueBitmap bitmap(
        CreateCompatibleBitmap(paint.dc(), TScopeModel::kWidth, TScopeModel::kHeight));
    SelectedObject selectedBitmap(buffer.get(), bitmap.get());
    HDC dc = buffer.get();

    UniqueBrush background(CreateSolidBrush(kBackground));
    RECT all{0, 0, TScopeModel::kWidth, TScopeModel::kHeight};
    FillRect(dc, &all, background.get());

    UniquePen gridPen(CreatePen(PS_SOLID, 1, kGrid));
    {
        SelectedObject pen(dc, gridPen.get());
        for (int y : model.GridRows()) {
            DrawHorizontal(dc, y);
        }
        for (int x : model.GridColumns()) {
            MoveToEx(dc, x, 0, nullptr);
            LineTo(dc, x, TScopeModel::kHeight);
        }
    }
    UniquePen basePen(CreatePen(PS_SOLID, 1, kBaseLine));
    {
        SelectedObject pen(dc, basePen.get());
        DrawHorizontal(dc, model.BaseLineRow());
    }
    const std::vector<TScopeModel::Point> points = model.LinePoints();
    if (points.size() >= 2) {
        std::vector<POINT> line;
        line.reserve(points.size());
        for (const TScopeModel::Point& p : points) {
            line.push_back({p.x, p.y});
        }
        UniquePen linePen(CreatePen(PS_SOLID, 1, kLine));
        SelectedObject pen(dc, linePen.get());
        Polyline(dc, line.data(), static_cast<int>(line.size()));
    }
    BitBlt(paint.dc(), 0, 0, TScopeModel::kWidth, TScopeModel::kHeight, dc, 0, 0, SRCCOPY);
}

LRESULT CALLBACK ScopeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        KeepCreationParameter(window, lParam);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        if (const auto* model = reinterpret_cast<const TScopeModel*>(CreationParameter(window))) {
            Paint(window, *model);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

const wchar_t* ScopeWindowClass(HINSTANCE instance) {
    RegisterWindowClassOnce(instance, kClassName, &ScopeProc, false, nullptr);
    return kClassName;
}

HWND CreateScope(HINSTANCE instance, HWND parent, int id, int x, int y, const TScopeModel& model) {
    return CreateWindowExW(0, ScopeWindowClass(instance), L"", WS_CHILD | WS_VISIBLE, x, y,
                           TScopeModel::kWidth, TScopeModel::kHeight, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           const_cast<TScopeModel*>(&model));
}
