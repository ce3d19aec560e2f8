#include "app/scope_win.h"

#include "app/controls_win.h"
#include "app/gdi_win.h"

#include <stdexcept>
#include <vector>

namespace {

constexpr wchar_t kClassName[] = L"TScope";
constexpr COLORREF kBackground = RGB(0, 0, 0);
constexpr COLORREF kGrid = RGB(0, 128, 0);
constexpr COLORREF kBaseLine = RGB(255, 0, 0);
constexpr COLORREF kLine = RGB(0, 255, 0);

void DrawHorizontal(HDC dc, const DpiScale& scale, int y) {
    MoveToEx(dc, 0, scale(y), nullptr);
    LineTo(dc, scale(TScopeModel::kWidth), scale(y));
}

LRESULT CALLBACK ScopeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        KeepCreationParameter(window, lParam);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        if (auto* view = reinterpret_cast<TScopeView*>(CreationParameter(window))) {
            view->Paint(window);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

TScopeView::TScopeView(const TScopeModel& model)
    : model_(model), background_(CreateSolidBrush(kBackground)) {
    SetScale(scale_);
}

void TScopeView::SetScale(const DpiScale& scale) {
    scale_ = scale;
    const int width = scale_(1);
    gridPen_.reset(CreatePen(PS_SOLID, width, kGrid));
    basePen_.reset(CreatePen(PS_SOLID, width, kBaseLine));
    linePen_.reset(CreatePen(PS_SOLID, width, kLine));
    bitmap_.reset();
    buffer_.reset();
}

void TScopeView::EnsureBuffer(HDC compatible) {
    if (buffer_) {
        return;
    }
    buffer_ = std::make_unique<MemoryDC>(compatible);
    // A device-independent bitmap: the system draws into it in the program's own memory, without
    // a round trip to the display for every line.
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = scale_(TScopeModel::kWidth);
    format.bmiHeader.biHeight = -scale_(TScopeModel::kHeight);
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(compatible, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    renderedAdvances_ = -1;
}

void TScopeView::Render() {
    HDC dc = buffer_->get();
    SelectedObject selectedBitmap(dc, bitmap_.get());

    RECT all{0, 0, scale_(TScopeModel::kWidth), scale_(TScopeModel::kHeight)};
    FillRect(dc, &all, background_.get());
    {
        SelectedObject pen(dc, gridPen_.get());
        for (int y : model_.GridRows()) {
            DrawHorizontal(dc, scale_, y);
        }
        for (int x : model_.GridColumns()) {
            MoveToEx(dc, scale_(x), 0, nullptr);
            LineTo(dc, scale_(x), all.bottom);
        }
    }
    {
        SelectedObject pen(dc, basePen_.get());
        DrawHorizontal(dc, scale_, model_.BaseLineRow());
    }
    const std::vector<TScopeModel::Point> points = model_.LinePoints();
    if (points.size() >= 2) {
        std::vector<POINT> line;
        line.reserve(points.size());
        for (const TScopeModel::Point& p : points) {
            line.push_back({scale_(p.x), scale_(p.y)});
        }
        SelectedObject pen(dc, linePen_.get());
        Polyline(dc, line.data(), static_cast<int>(line.size()));
    }
    renderedAdvances_ = model_.Advances();
}

void TScopeView::Present(HDC target) const {
    HDC dc = buffer_->get();
    SelectedObject selectedBitmap(dc, bitmap_.get());
    BitBlt(target, 0, 0, scale_(TScopeModel::kWidth), scale_(TScopeModel::kHeight), dc, 0, 0,
           SRCCOPY);
}

void TScopeView::Show(HWND window) {
    WindowDC target(window);
    if (target.get() == nullptr) {
        return;
    }
    EnsureBuffer(target.get());
    Render();
    Present(target.get());
}

void TScopeView::Paint(HWND window) {
    PaintScope paint(window);
    EnsureBuffer(paint.dc());
    if (renderedAdvances_ != model_.Advances()) {
        Render();
    }
    Present(paint.dc());
}

const wchar_t* ScopeWindowClass(HINSTANCE instance) {
    RegisterWindowClassOnce(instance, kClassName, &ScopeProc, false, nullptr);
    return kClassName;
}

HWND CreateScope(HINSTANCE instance, HWND parent, int id, TScopeView& view) {
    HWND scope =
        CreateWindowExW(0, ScopeWindowClass(instance), L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, &view);
    if (scope == nullptr) {
        throw std::runtime_error("Cannot create the memory chart");
    }
    return scope;
}
