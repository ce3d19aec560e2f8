#include "app/about_dlg_win.h"

#include "app/controls_win.h"
#include "app/dpi_win.h"
#include "app/error_report_win.h"

#include "resource_ids.h"
#include "slotvane_config.h"

#include <stdexcept>
#include <utility>

namespace {

constexpr wchar_t kWindowClass[] = L"TAboutDlg";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

enum class Kind { GroupBox, Label, Button, DefaultButton };

struct ControlRow {
    int id;
    Kind kind;
    int parent; // 0: the dialog itself
    ControlRect rect;
    const char* caption;
};

// The banner picture, as large as the picture.
constexpr ControlRect kImageRect{0, 0, 388, 96};

// Labels size themselves to their text; their width and height here are only the room they have.
const ControlRow kLayout[] = {
    {kAllGrp, Kind::GroupBox, 0, {1, 97, 384, 184}, ""},
    {kApplicationGrp, Kind::GroupBox, kAllGrp, {5, 12, 249, 53}, "应用"},
    {kAppnameLbl, Kind::Label, kApplicationGrp, {8, 16, 236, 16}, "应用程序名称:"},
    {kVersionLbl, Kind::Label, kApplicationGrp, {8, 32, 236, 16}, "版本:"},
    {kTarvikGrp, Kind::GroupBox, kAllGrp, {260, 12, 113, 117}, "Tarvik"},
    {kEmailBtn, Kind::Button, kTarvikGrp, {8, 16, 97, 28}, "邮箱"},
    {kWebBtn, Kind::Button, kTarvikGrp, {8, 48, 97, 28}, "网站"},
    {kForumBtn, Kind::Button, kTarvikGrp, {8, 80, 97, 28}, "中文翻译"},
    {kOkBtn, Kind::DefaultButton, kAllGrp, {274, 139, 81, 33}, "确定"},
};

} // namespace

TAboutDlg::TAboutDlg(HINSTANCE instance, HWND owner, AboutDlgServices services)
    : instance_(instance), owner_(owner), services_(std::move(services)) {
    RegisterWindowClassOnce(instance, kWindowClass, &InstanceWindowProc<TAboutDlg>, true,
                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const SIZE frame = OuterSize(DpiScale());
    window_ = CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.cx, frame.cy, owner, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("Cannot create the About dialog");
    }
    // A constructor that fails destroys no object: the window must not outlive this one.
    try {
        SetWindowTextGbk(window_, "关于");
        scale_ = DpiScale(WindowDpi(window_));
        MakeDpiResources();
        const SIZE outer = OuterSize(scale_);
        SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CreateControls();
        LayOut();
        textStorage_.Loaded();
    } catch (...) {
        DestroyOwnedWindow(window_);
        throw;
    }
}

TAboutDlg::~TAboutDlg() {
    DestroyOwnedWindow(window_);
}

SIZE TAboutDlg::OuterSize(const DpiScale& scale) {
    return OuterSizeForClient({scale(kClientWidth), scale(kClientHeight)}, kStyle, false, kExStyle,
                              scale.Dpi());
}

void TAboutDlg::MakeDpiResources() {
    font_.reset(CreateInterfaceFont(false, scale_.Dpi()));
    banner_ = LoadBitmapScaled(instance_, IDB_ABOUT_BANNER, scale_);
    windowIcons_.Apply(window_, instance_, IDI_SLOTVANE, scale_);
}

void TAboutDlg::ApplyDpiResources() {
    SendMessageW(Control(kAboutImage1), STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(banner_.get()));
    for (const ControlRow& row : kLayout) {
        SendMessageW(Control(row.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
}

void TAboutDlg::LayOut() {
    const auto place = [&](int id, const ControlRect& design) {
        const ControlRect rect = scale_(design);
        SetWindowPos(Control(id), nullptr, rect.x, rect.y, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(kAboutImage1, kImageRect);
    for (const ControlRow& row : kLayout) {
        place(row.id, row.rect);
    }
}

void TAboutDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    scale_ = DpiScale(dpi);
    // The controls show the old font and picture until they have the new ones.
    const auto retired = std::make_pair(std::move(font_), std::move(banner_));
    MakeDpiResources();
    ApplyDpiResources();
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    InvalidateRect(window_, nullptr, TRUE);
}

void TAboutDlg::CreateControls() {
    // Created where the design puts them at 96 DPI; LayOut places them at the window's.
    HWND image = Created(CreateChild(L"STATIC", WS_VISIBLE | SS_BITMAP, 0, window_, kAboutImage1,
                                     kImageRect, "", nullptr));
    SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_.get()));

    for (const ControlRow& row : kLayout) {
        HWND parent = row.parent == 0 ? window_ : Control(row.parent);
        DWORD style = WS_VISIBLE;
        const wchar_t* windowClass = L"BUTTON";
        switch (row.kind) {
        case Kind::GroupBox:
            style |= BS_GROUPBOX | WS_CLIPCHILDREN;
            break;
        case Kind::Label:
            windowClass = L"STATIC";
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case Kind::Button:
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case Kind::DefaultButton:
            style |= WS_TABSTOP | BS_DEFPUSHBUTTON;
            break;
        }
        HWND control =
            CreateChild(windowClass, style, row.kind == Kind::GroupBox ? WS_EX_CONTROLPARENT : 0,
                        parent, row.id, row.rect, row.caption, font_.get());
        Created(control);
        if (row.kind == Kind::GroupBox) {
            ForwardNotificationsToTopLevel(control);
        }
    }
}

HWND TAboutDlg::Control(int id) const {
    return FindControl(window_, id);
}

void TAboutDlg::RefreshLabels() {
    const std::string title = config::kAppTitle;
    SetWindowTextGbk(window_, textStorage_.Lookup("关于") + " " + title);
    SetWindowTextGbk(Control(kAppnameLbl), textStorage_.Lookup("应用程序名称:") + " " + title);
    SetWindowTextGbk(Control(kVersionLbl),
                     textStorage_.Lookup("版本:") + " " + services_.versionText());
}

void TAboutDlg::CentreOverOwner() {
    RECT ownerRect{};
    RECT ownRect{};
    GetWindowRect(owner_, &ownerRect);
    GetWindowRect(window_, &ownRect);
    const int width = ownRect.right - ownRect.left;
    const int height = ownRect.bottom - ownRect.top;
    SetWindowPos(window_, nullptr, ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2,
                 ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
}

bool TAboutDlg::Execute() {
    RefreshLabels();

    // Centred over the window that owns it, at the DPI of the monitor it lands on. A move to a
    // monitor of another DPI lays the dialog out again (WM_DPICHANGED); where the system sends
    // nothing (the dialog was made on another monitor while hidden), it is laid out here.
    CentreOverOwner();
    if (const UINT dpi = WindowDpi(window_); dpi != scale_.Dpi()) {
        const SIZE outer = OuterSize(DpiScale(dpi));
        RECT rect{};
        GetWindowRect(window_, &rect);
        OnDpiChanged(dpi, {rect.left, rect.top, rect.left + outer.cx, rect.top + outer.cy});
        CentreOverOwner();
    }

    ok_ = false;
    running_ = true;
    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetFocus(Control(kOkBtn));
    MSG message{};
    while (running_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (message.message == WM_QUIT) {
        // The program is ending: let the main loop see it too.
        PostQuitMessage(static_cast<int>(message.wParam));
    }
    EnableWindow(owner_, TRUE);
    ShowWindow(window_, SW_HIDE);
    SetActiveWindow(owner_);
    return ok_;
}

void TAboutDlg::Close(bool ok) {
    ok_ = ok;
    running_ = false;
}

void TAboutDlg::email_btnClick() {
    services_.openAddress(window_, std::string("mailto:") + config::kMailAddress);
}

void TAboutDlg::web_btnClick() {
    services_.openAddress(window_, config::kHomeUrl);
}

void TAboutDlg::forum_btnClick() {
    services_.openAddress(window_, config::kTranslatorUrl);
}

LRESULT TAboutDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        RunGuarded(window_, [&] {
            switch (LOWORD(wParam)) {
            case kOkBtn:
            case IDOK:
                Close(true);
                break;
            case IDCANCEL:
                Close(false);
                break;
            case kEmailBtn:
                email_btnClick();
                break;
            case kWebBtn:
                web_btnClick();
                break;
            case kForumBtn:
                forum_btnClick();
                break;
            default:
                break;
            }
        });
        return 0;
    case WM_CLOSE:
        // Closing hides the dialog; it lives until the program ends.
        Close(false);
        return 0;
    case WM_GETDPISCALEDSIZE:
        *reinterpret_cast<SIZE*>(lParam) = OuterSize(DpiScale(static_cast<UINT>(wParam)));
        return TRUE;
    case WM_DPICHANGED:
        RunGuarded(window_,
                   [&] { OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); });
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}
