#include "app/main_dlg_win.h"

#include "app/about_dlg_win.h"
#include "app/banner_win.h"
#include "app/controls_win.h"
#include "app/dpi_win.h"
#include "app/error_report_win.h"
#include "app/scope_win.h"
#include "memory/module_pages.h"
#include "memory/report_export.h"
#include "util/codepage_win.h"
#include "util/locale_format.h"

#include "resource_ids.h"
#include "slotvane_config.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kWindowClass[] = L"TMainDlg";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_WINDOWEDGE;
constexpr int kImageSize = 32;
constexpr int kGlyphSize = 16;

enum class Kind {
    Label,
    GroupBox,
    Picture,
    DriversButton,
    ListView,
    SpecButton,
    RamButton,
    PagerButton,
    PagerCaption,
};

struct ControlRow {
    int id;
    Kind kind;
    int parent; // 0: the window itself
    ControlRect rect;
    const char* caption;
};

// The banner is 764 pixels wide from -12; the drivers button sits at its visible right end and
// follows that edge when the window narrows.
constexpr int kDriversLeft = 764 - 12 - 59 - 8;

// The banner, at the top of the window.
constexpr ControlRect kBannerRect{-12, 0, 764, 57};

// Labels size themselves to their text; their width and height here are ignored.
const ControlRow kLayout[] = {
    {kImage1, Kind::Picture, kTopPnl, {24, 8, 32, 32}, ""},
    {kLabel2, Kind::Label, kTopPnl, {63, 10, 0, 0}, "Slotvane"},
    {kSubtitleLbl, Kind::Label, kTopPnl, {64, 26, 0, 0}, "查看内存插槽、内存模块和内存使用情况"},
    {kDriversBtn, Kind::DriversButton, kTopPnl, {kDriversLeft, 8, 59, 41}, "驱动程序更新"},
    {kGeneralGrp, Kind::GroupBox, 0, {2, 61, 743, 430}, "一般"},
    {kSystemGrp, Kind::GroupBox, kGeneralGrp, {8, 12, 147, 81}, "系统信息"},
    {kSlotsLbl, Kind::Label, kSystemGrp, {8, 19, 0, 0}, "插槽数量:"},
    {kCurmemLbl, Kind::Label, kSystemGrp, {8, 35, 0, 0}, "当前内存:"},
    {kMaxmemLbl, Kind::Label, kSystemGrp, {8, 51, 0, 0}, "最大内存:"},
    {kGroupBox2, Kind::GroupBox, kGeneralGrp, {160, 12, 209, 81}, "物理内存"},
    {kPhyusedLbl, Kind::Label, kGroupBox2, {8, 19, 0, 0}, "已用:"},
    {kPhytotLbl, Kind::Label, kGroupBox2, {8, 35, 0, 0}, "可用:"},
    // The pager sits below the memory labels, beside the system panel, where a narrowed window
    // still shows it. The arrows are GB18030's four-byte forms of U+25C0 and U+25B6.
    {kPagerPreviousBtn, Kind::PagerButton, kGroupBox2, {8, 54, 24, 21}, "\x81\x37\x9D\x32"},
    {kPagerLbl, Kind::PagerCaption, kGroupBox2, {32, 57, 48, 16}, ""},
    {kPagerNextBtn, Kind::PagerButton, kGroupBox2, {80, 54, 24, 21}, "\x81\x37\x9C\x34"},
    {kSlot1Grp + 0, Kind::GroupBox, kGeneralGrp, {8, 96, 361, 161}, "插槽 1"},
    {kSlot1Grp + 1, Kind::GroupBox, kGeneralGrp, {8, 262, 361, 161}, "插槽 2"},
    {kSlot1Grp + 2, Kind::GroupBox, kGeneralGrp, {376, 96, 361, 161}, "插槽 3"},
    {kSlot1Grp + 3, Kind::GroupBox, kGeneralGrp, {376, 262, 361, 161}, "插槽 4"},
};

constexpr ControlRect kScopeRect{115, 10, TScopeModel::kWidth, TScopeModel::kHeight};

constexpr ControlRect kListRect{7, 16, 266, 137};
constexpr ControlRect kSpecButtonRect{280, 16, 73, 89};
constexpr ControlRect kRamButtonRect{8, 16, 345, 137};
constexpr const char* kSpecButtonCaption = "谷歌搜索\r\n内存规格";
// The width of the list views' two columns until they are filled.
constexpr int kColumnWidth = 60;

// The controls of each slot panel: the first slot's id and the place in the panel.
struct SlotControlRow {
    int firstId;
    ControlRect rect;
};

constexpr SlotControlRow kSlotLayout[] = {
    {kLst1, kListRect},
    {kGetSpec1Btn, kSpecButtonRect},
    {kGetRAM1Btn, kRamButtonRect},
};

const ControlRect& DesignedRect(int id) {
    for (const ControlRow& row : kLayout) {
        if (row.id == id) {
            return row.rect;
        }
    }
    throw std::logic_error("A control without a place in the layout");
}

struct MenuItemRow {
    int menu; // index of the top-level menu, or -1 for the Export submenu
    WORD id;  // 0: separator
    const char* caption;
};

constexpr MenuItemRow kMenuItems[] = {
    {0, kQuit1, "退出(&Q)\tCtrl+Q"},
    {-1, kExt1, "文本(&T)"},
    {-1, kSpreadsheet1, "电子表格(&S)"},
    {2, kOpenlogfile1, "打开日志文件(&O)\tCtrl+L"},
    {2, 0, ""},
    {2, kCheckforupdate1, "检查更新\tCtrl+G"},
    {2, 0, ""},
    {2, kAbout1, "关于(&A)\tCtrl+B"},
};

constexpr std::array<ACCEL, 4> kShortcuts{{
    {FVIRTKEY | FCONTROL, 'Q', kQuit1},
    {FVIRTKEY | FCONTROL, 'L', kOpenlogfile1},
    {FVIRTKEY | FCONTROL, 'G', kCheckforupdate1},
    {FVIRTKEY | FCONTROL, 'B', kAbout1},
}};

HMENU BuildMenuBar() {
    HMENU bar = CreateMenu();
    std::array<HMENU, 3> menus{CreatePopupMenu(), CreatePopupMenu(), CreatePopupMenu()};
    HMENU exportMenu = CreatePopupMenu();
    for (const MenuItemRow& row : kMenuItems) {
        HMENU target = row.menu < 0 ? exportMenu : menus[static_cast<size_t>(row.menu)];
        if (row.id == 0) {
            AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(target, MF_STRING, row.id, WideFromGbk(row.caption).c_str());
        }
    }
    AppendMenuW(menus[1], MF_POPUP, reinterpret_cast<UINT_PTR>(exportMenu),
                WideFromGbk("导出(&E)").c_str());
    const std::array<const char*, 3> titles{"文件(&F)", "操作(&A)", "&?"};
    for (size_t i = 0; i < menus.size(); ++i) {
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menus[i]),
                    WideFromGbk(titles[i]).c_str());
    }
    return bar;
}

// Labels keep the size of their text, as the designed labels do. The text is measured on a memory
// DC: a label's own DC would cost a round trip to the window server at every change.
void SetLabelText(HDC measuring, HWND label, const std::wstring& text) {
    SIZE size{};
    {
        SelectedObject font(measuring,
                            reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(measuring, text.c_str(), static_cast<int>(text.size()), &size);
    }
    // A label whose size stays (most ticks) is not moved, which would repaint its parent too.
    RECT current{};
    GetClientRect(label, &current);
    if (current.right != size.cx || current.bottom != size.cy) {
        SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    // The label repaints itself, background included, when its text changes.
    SetWindowTextW(label, text.c_str());
}

std::wstring WindowTextWide(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetLabel(HDC measuring, HWND label, const std::string& text) {
    SetLabelText(measuring, label, WideFromGbk(text));
}

// The control's own visibility, whatever its parents': a panel whose painting is paused counts as
// hidden to IsWindowVisible.
bool ShownItself(HWND control) {
    return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void ShowControl(HWND control, bool visible) {
    if (ShownItself(control) != visible) {
        ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
    }
}

void SetFont(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// Every column as wide as its header and its widest cell.
void AutosizeColumns(HWND list) {
    for (int column = 0; column < 2; ++column) {
        ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE);
        const int cells = ListView_GetColumnWidth(list, column);
        ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE_USEHEADER);
        const int header = ListView_GetColumnWidth(list, column);
        ListView_SetColumnWidth(list, column, std::max(cells, header));
    }
}

void FillListView(HWND list, const SlotPanelState& slot) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (int column = 0; column < 2; ++column) {
        std::wstring caption = column < static_cast<int>(slot.columnCaptions.size())
                                   ? WideFromGbk(slot.columnCaptions[static_cast<size_t>(column)])
                                   : std::wstring();
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT;
        header.pszText = caption.data();
        ListView_SetColumn(list, column, &header);
    }
    for (size_t row = 0; row < slot.rows.size(); ++row) {
        std::wstring caption = WideFromGbk(slot.rows[row].caption);
        std::wstring value = WideFromGbk(slot.rows[row].value);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = caption.data();
        ListView_InsertItem(list, &item);
        ListView_SetItemText(list, static_cast<int>(row), 1, value.data());
    }
    AutosizeColumns(list);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// Pauses the painting of a window's panels (its direct children) and paints them all once when it
// ends. Applying a scan changes dozens of controls, each of which would otherwise paint itself at
// once and again after the window narrows.
class PanelPaintPause {
public:
    explicit PanelPaintPause(HWND window) : window_(window) {
        for (HWND panel = GetWindow(window, GW_CHILD); panel != nullptr;
             panel = GetWindow(panel, GW_HWNDNEXT)) {
            if (ShownItself(panel)) {
                SendMessageW(panel, WM_SETREDRAW, FALSE, 0);
                panels_.push_back(panel);
            }
        }
    }
    PanelPaintPause(const PanelPaintPause&) = delete;
    PanelPaintPause& operator=(const PanelPaintPause&) = delete;
    ~PanelPaintPause() {
        for (HWND panel : panels_) {
            SendMessageW(panel, WM_SETREDRAW, TRUE, 0);
        }
        RedrawWindow(window_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }

private:
    HWND window_;
    std::vector<HWND> panels_;
};

} // namespace

TMainDlg::TMainDlg(HINSTANCE instance, MainDlgServices services)
    : instance_(instance), services_(std::move(services)),
      logic_(state_, {services_.platform, ui_, services_.shell, http_, services_.identification,
                      services_.memory, [this] { StartScan(); }, [this] { ApplyState(); },
                      services_.serverHost}) {
    RegisterWindowClassOnce(instance, kWindowClass, &InstanceWindowProc<TMainDlg>, true,
                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

    HMENU menuBar = BuildMenuBar();
    // Made at the designed place and size, then scaled once the window knows its DPI.
    const SIZE frame = OuterSize(DpiScale());
    window_ = CreateWindowExW(kExStyle, kWindowClass, WideFromGbk(state_.caption).c_str(), kStyle,
                              kLeft, kTop, frame.cx, frame.cy, nullptr, menuBar, instance, this);
    if (window_ == nullptr) {
        DestroyMenu(menuBar);
        throw std::runtime_error("Cannot create the main window");
    }
    // A constructor that fails destroys no object: the window must not outlive this one.
    try {
        shortcuts_.reset(
            CreateAcceleratorTableW(const_cast<ACCEL*>(kShortcuts.data()), kShortcuts.size()));
        scale_ = DpiScale(WindowDpi(window_));
        MakeDpiResources();
        const SIZE outer = OuterSize(scale_);
        SetWindowPos(window_, nullptr, scale_(kLeft), scale_(kTop), outer.cx, outer.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        CreateControls();
        LayOut();
        ApplyState();
        // The memory timer ticks from the moment the window exists.
        SetTimer(window_, kMemTimerId, config::kMemoryTimerPeriodMs, nullptr);
    } catch (...) {
        DestroyOwnedWindow(window_);
        throw;
    }
}

TMainDlg::~TMainDlg() {
    // The owned dialog goes first, as an owned window does.
    about_.reset();
    DestroyOwnedWindow(window_);
}

void TMainDlg::MakeDpiResources() {
    font_.reset(CreateInterfaceFont(false, scale_.Dpi()));
    boldFont_.reset(CreateInterfaceFont(true, scale_.Dpi()));
    const int imageSize = scale_(kImageSize);
    const int glyphSize = scale_(kGlyphSize);
    imageList96_.reset(ImageList_Create(imageSize, imageSize, ILC_COLOR32 | ILC_MASK, 2, 0));
    for (int id : {IDI_EMPTY_SLOT, IDI_DRIVERS}) {
        UniqueIcon icon(LoadIconAtSize(instance_, id, imageSize));
        ImageList_AddIcon(imageList96_.get(), icon.get());
    }
    emptySlotIcon_.reset(ImageList_GetIcon(imageList96_.get(), 0, ILD_NORMAL));
    searchGlyph_.reset(LoadIconAtSize(instance_, IDI_SEARCH, glyphSize));
    bannerIcon_.reset(LoadIconAtSize(instance_, IDI_SLOTVANE, imageSize));
    windowIcons_.Apply(window_, instance_, IDI_SLOTVANE, scale_);
    scopeView_.SetScale(scale_);
}

void TMainDlg::ApplyDpiResources() {
    for (const ControlRow& row : kLayout) {
        HWND control = Control(row.id);
        switch (row.kind) {
        case Kind::Label:
            SetFont(control, row.id == kLabel2 ? boldFont_.get() : font_.get());
            SetLabelText(measuring_.get(), control, WindowTextWide(control));
            break;
        case Kind::Picture:
            SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(bannerIcon_.get()), 0);
            break;
        default:
            SetFont(control, font_.get());
            break;
        }
    }
    for (int i = 0; i < kSlotPanelCount; ++i) {
        HWND list = Control(kLst1 + i);
        SetFont(list, font_.get());
        if (ListView_GetItemCount(list) > 0) {
            AutosizeColumns(list);
        } else {
            for (int column = 0; column < 2; ++column) {
                ListView_SetColumnWidth(list, column, scale_(kColumnWidth));
            }
        }
        HWND spec = Control(kGetSpec1Btn + i);
        SetFont(spec, font_.get());
        SendMessageW(spec, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(searchGlyph_.get()));
        HWND ram = Control(kGetRAM1Btn + i);
        SetFont(ram, font_.get());
        SendMessageW(ram, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(emptySlotIcon_.get()));
    }
}

void TMainDlg::LayOut() {
    const auto place = [&](int id, const ControlRect& design, bool sized) {
        const ControlRect rect = scale_(design);
        SetWindowPos(Control(id), nullptr, rect.x, rect.y, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | (sized ? 0 : SWP_NOSIZE));
    };
    place(kTopPnl, kBannerRect, true);
    for (const ControlRow& row : kLayout) {
        place(row.id, row.rect, row.kind != Kind::Label);
    }
    place(kScope, kScopeRect, true);
    for (int i = 0; i < kSlotPanelCount; ++i) {
        for (const SlotControlRow& row : kSlotLayout) {
            place(row.firstId + i, row.rect, true);
        }
    }
    AnchorToRightEdge();
}

void TMainDlg::AnchorToRightEdge() {
    RECT client{};
    GetClientRect(window_, &client);
    const int delta = client.right - scale_(kDesignedClientWidth);
    // The banner and the general panel are anchored to the right edge and shrink with it; the
    // drivers button keeps its distance from that edge.
    for (const auto& [id, design] :
         {std::pair{kTopPnl, kBannerRect}, std::pair{kGeneralGrp, DesignedRect(kGeneralGrp)}}) {
        const ControlRect rect = scale_(design);
        SetWindowPos(Control(id), nullptr, 0, 0, rect.width + delta, rect.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const ControlRect drivers = scale_(DesignedRect(kDriversBtn));
    SetWindowPos(Control(kDriversBtn), nullptr, drivers.x + delta, drivers.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TMainDlg::OuterSize(const DpiScale& scale) const {
    SIZE outer = OuterSizeForClient({scale(kDesignedClientWidth), scale(kDesignedClientHeight)},
                                    kStyle, true, kExStyle, scale.Dpi());
    if (state_.narrowed) {
        outer.cx = scale(kNarrowedWindowWidth);
    }
    return outer;
}

void TMainDlg::CreateControls() {
    // Created where the design puts them at 96 DPI; LayOut places them at the window's.
    Created(CreateBanner(instance_, window_, kTopPnl, kBannerRect.x, kBannerRect.y,
                         kBannerRect.width, kBannerRect.height, kLabel2));

    for (const ControlRow& row : kLayout) {
        HWND parent = row.parent == 0 ? window_ : Control(row.parent);
        HWND control = nullptr;
        switch (row.kind) {
        case Kind::Label:
            control = CreateChild(L"STATIC", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, parent, row.id,
                                  row.rect, row.caption,
                                  row.id == kLabel2 ? boldFont_.get() : font_.get());
            SetLabel(measuring_.get(), control, row.caption);
            break;
        case Kind::GroupBox:
            control = CreateChild(L"BUTTON", WS_VISIBLE | BS_GROUPBOX | WS_CLIPCHILDREN,
                                  WS_EX_CONTROLPARENT, parent, row.id, row.rect, row.caption,
                                  font_.get());
            ForwardNotificationsToTopLevel(control);
            break;
        case Kind::Picture:
            control = CreateChild(L"STATIC", WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, 0, parent,
                                  row.id, row.rect, "", nullptr);
            SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(bannerIcon_.get()), 0);
            break;
        case Kind::DriversButton:
            // The caption alone: beside a picture, its first line would not fit the button.
            control = CreateChild(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE,
                                  0, parent, row.id, row.rect, row.caption, font_.get());
            break;
        case Kind::PagerButton:
            // Hidden until there are more than four modules.
            control = CreateChild(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, parent, row.id,
                                  row.rect, row.caption, font_.get());
            break;
        case Kind::PagerCaption:
            control = CreateChild(L"STATIC", SS_CENTER | SS_NOPREFIX, 0, parent, row.id, row.rect,
                                  row.caption, font_.get());
            break;
        default:
            break;
        }
        Created(control);
    }

    CreateScope(instance_, Control(kGroupBox2), kScope, scopeView_);

    for (int i = 0; i < kSlotPanelCount; ++i) {
        HWND group = Control(kSlot1Grp + i);
        HWND list = CreateChild(WC_LISTVIEWW,
                                WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                    LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                                WS_EX_CLIENTEDGE, group, kLst1 + i, kListRect, "", font_.get());
        Created(list);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
        for (int column = 0; column < 2; ++column) {
            LVCOLUMNW header{};
            header.mask = LVCF_WIDTH | LVCF_TEXT;
            header.cx = scale_(kColumnWidth);
            header.pszText = const_cast<wchar_t*>(L"");
            ListView_InsertColumn(list, column, &header);
        }

        HWND spec =
            CreateChild(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0, group,
                        kGetSpec1Btn + i, kSpecButtonRect, kSpecButtonCaption, font_.get());
        Created(spec);
        SendMessageW(spec, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(searchGlyph_.get()));

        HWND ram = CreateChild(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_FLAT, 0,
                               group, kGetRAM1Btn + i, kRamButtonRect, "", font_.get());
        Created(ram);
        // Visual styles draw every button raised; without them BS_FLAT draws it flat.
        SetWindowTheme(ram, L"", L"");
        SendMessageW(ram, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(emptySlotIcon_.get()));
        SetWindowPos(ram, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

HWND TMainDlg::Control(int id) const {
    if (id < kTopPnl || id >= kControlEnd) {
        return nullptr;
    }
    HWND& control = controls_[static_cast<size_t>(id - kTopPnl)];
    if (control == nullptr) {
        control = FindControl(window_, id);
    }
    return control;
}

bool TMainDlg::TranslateShortcut(MSG& message) const {
    return shortcuts_ && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
           TranslateAcceleratorW(window_, shortcuts_.get(), &message) != 0;
}

void TMainDlg::ApplyState() {
    const MainDlgState* previous = applied_ ? &*applied_ : nullptr;
    auto changed = [&](auto member) {
        return previous == nullptr || state_.*member != previous->*member;
    };
    std::optional<PanelPaintPause> pause;
    if (previous != nullptr && IsWindowVisible(window_) &&
        (changed(&MainDlgState::slots) || changed(&MainDlgState::narrowed) ||
         changed(&MainDlgState::scanPending))) {
        pause.emplace(window_);
    }

    if (changed(&MainDlgState::caption)) {
        SetWindowTextGbk(window_, state_.caption);
    }
    if (changed(&MainDlgState::bannerOwnColour)) {
        InvalidateRect(Control(kTopPnl), nullptr, TRUE);
    }
    if (changed(&MainDlgState::checkForUpdateEnabled)) {
        EnableMenuItem(GetMenu(window_), kCheckforupdate1,
                       MF_BYCOMMAND | (state_.checkForUpdateEnabled ? MF_ENABLED : MF_GRAYED));
        DrawMenuBar(window_);
    }
    if (changed(&MainDlgState::slotsLabel)) {
        SetLabel(measuring_.get(), Control(kSlotsLbl), state_.slotsLabel);
    }
    if (changed(&MainDlgState::curmemLabel)) {
        SetLabel(measuring_.get(), Control(kCurmemLbl), state_.curmemLabel);
    }
    if (changed(&MainDlgState::maxmemLabel)) {
        SetLabel(measuring_.get(), Control(kMaxmemLbl), state_.maxmemLabel);
    }
    ShowControl(Control(kMaxmemLbl), state_.maxmemVisible);
    if (changed(&MainDlgState::phyusedLabel)) {
        SetLabel(measuring_.get(), Control(kPhyusedLbl), state_.phyusedLabel);
    }
    if (changed(&MainDlgState::phytotLabel)) {
        SetLabel(measuring_.get(), Control(kPhytotLbl), state_.phytotLabel);
    }
    for (int i = 0; i < kSlotPanelCount; ++i) {
        ApplySlot(i, state_.slots[static_cast<size_t>(i)],
                  previous ? &previous->slots[static_cast<size_t>(i)] : nullptr);
    }
    if (changed(&MainDlgState::slotCaptions)) {
        for (int i = 0; i < kSlotPanelCount; ++i) {
            SetWindowTextGbk(Control(kSlot1Grp + i), state_.slotCaptions[static_cast<size_t>(i)]);
        }
    }
    if (changed(&MainDlgState::pager)) {
        ApplyPager();
    }
    if (changed(&MainDlgState::emptySlotCaptions)) {
        // The caption sits beside the picture the button was created with.
        for (int i = 0; i < kSlotPanelCount; ++i) {
            SetWindowTextGbk(Control(kGetRAM1Btn + i),
                             state_.emptySlotCaptions[static_cast<size_t>(i)]);
        }
    }
    if (state_.narrowed && (previous == nullptr || !previous->narrowed)) {
        Narrow();
    }
    applied_ = state_;
}

void TMainDlg::ApplyMemoryLabels() {
    if (!applied_) {
        ApplyState();
        return;
    }
    if (state_.phyusedLabel != applied_->phyusedLabel) {
        SetLabel(measuring_.get(), Control(kPhyusedLbl), state_.phyusedLabel);
        applied_->phyusedLabel = state_.phyusedLabel;
    }
    if (state_.phytotLabel != applied_->phytotLabel) {
        SetLabel(measuring_.get(), Control(kPhytotLbl), state_.phytotLabel);
        applied_->phytotLabel = state_.phytotLabel;
    }
}

bool TMainDlg::TranslateDialogKeys(MSG& message) const {
    // Only keys concern the dialog keys. Asking for the focus, or letting the dialog manager look
    // at every message, would cost a round trip to the window server on each timer tick and paint.
    if (window_ == nullptr || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    // Enter presses the focused button, as Space does.
    HWND focus = GetFocus();
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && focus != nullptr &&
        IsChild(window_, focus) &&
        (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) !=
            0) {
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    }
    // Tab and Shift+Tab move between the buttons and list views; Space reaches the button.
    return IsDialogMessageW(window_, &message) != FALSE;
}

void TMainDlg::ApplySlot(int index, const SlotPanelState& slot, const SlotPanelState* previous) {
    HWND group = Control(kSlot1Grp + index);
    HWND list = Control(kLst1 + index);
    HWND spec = Control(kGetSpec1Btn + index);
    HWND ram = Control(kGetRAM1Btn + index);

    EnableWindow(group, slot.enabled);
    // The list views are created without captions and rows, as the design-time state has them.
    const SlotPanelState asCreated;
    const SlotPanelState& shown = previous != nullptr ? *previous : asCreated;
    if (slot.rows != shown.rows || slot.columnCaptions != shown.columnCaptions) {
        FillListView(list, slot);
    }
    // Until the scan has answered, the panels show nothing to act on.
    const bool scanned = !state_.scanPending;
    ShowControl(list, scanned && slot.listVisible);
    ShowControl(ram, scanned && slot.emptySlotButtonVisible);
    ShowControl(spec, scanned && slot.specButtonVisible);
    EnableWindow(spec, slot.specButtonEnabled);
}

void TMainDlg::ApplyPager() {
    const ModulePagerState& pager = state_.pager;
    HWND previous = Control(kPagerPreviousBtn);
    HWND next = Control(kPagerNextBtn);
    // A button that is disabled while it has the focus hands it to the other one, so that the
    // keyboard can walk back from the last page and forward from the first.
    HWND focus = GetFocus();
    if (focus == previous && !pager.previousEnabled && pager.nextEnabled) {
        SetFocus(next);
    } else if (focus == next && !pager.nextEnabled && pager.previousEnabled) {
        SetFocus(previous);
    }
    EnableWindow(previous, pager.previousEnabled);
    EnableWindow(next, pager.nextEnabled);
    SetWindowTextGbk(Control(kPagerLbl), pager.caption);
    for (HWND control : {previous, Control(kPagerLbl), next}) {
        ShowControl(control, pager.visible);
    }
}

void TMainDlg::Narrow() {
    RECT frame{};
    GetWindowRect(window_, &frame);
    SetWindowPos(window_, nullptr, 0, 0, OuterSize(scale_).cx, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    AnchorToRightEdge();
    // The panels of the right column (two columns of two) lie beyond the narrowed edge.
    for (int i = kSlotPanelCount / 2; i < kSlotPanelCount; ++i) {
        ShowControl(Control(kSlot1Grp + i), false);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void TMainDlg::StartScan() {
    // The deadline first: should the worker not start, the scan still ends, as timed out.
    SetTimer(window_, kScanDeadlineTimerId, services_.scanDeadlineMs, nullptr);
    // The worker takes the maker: it owns what it uses.
    scan_ = std::make_unique<TScanWorker>(window_, kScanDoneMessage,
                                          std::exchange(services_.scanAutomation, nullptr));
}

void TMainDlg::StopWaitingForScan() {
    KillTimer(window_, kScanDeadlineTimerId);
    scan_.reset();
}

void TMainDlg::PagerClick(int step) {
    ShowModulePage(state_, state_.page + step);
    ApplyState();
}

void TMainDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    std::optional<PanelPaintPause> pause;
    if (IsWindowVisible(window_)) {
        pause.emplace(window_);
    }
    scale_ = DpiScale(dpi);
    // The controls show the old fonts and pictures until they have the new ones.
    const auto retired =
        std::make_tuple(std::move(font_), std::move(boldFont_), std::move(imageList96_),
                        std::move(emptySlotIcon_), std::move(searchGlyph_), std::move(bannerIcon_));
    MakeDpiResources();
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    // After the layout: a list view's last column fills the width the list view has.
    ApplyDpiResources();
}

void TMainDlg::Quit1Click() {
    // Exactly what the close box does.
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

void TMainDlg::ext1Click() {
    ::ext1Click(state_, services_.userDataFolder(), services_.shell);
}

void TMainDlg::Spreadsheet1Click() {
    ::Spreadsheet1Click(state_, services_.userDataFolder(), services_.shell);
}

void TMainDlg::Openlogfile1Click() {
    logic_.Openlogfile1Click();
}

void TMainDlg::About1Click() {
    if (!aboutServices_) {
        return;
    }
    if (!about_) {
        about_ = std::make_unique<TAboutDlg>(instance_, window_, *aboutServices_);
    }
    about_->Execute();
}

void TMainDlg::Mem_tmrTimer() {
    // A tick whose error report is still open must not be overlapped by the next one.
    if (ticking_) {
        return;
    }
    ticking_ = true;
    RunGuarded(window_, [&] {
        ::Mem_tmrTimer(state_, scope_, services_.memory, decimalSeparator_);
        ApplyMemoryLabels();
        // Nothing to show while minimised; the paint at restoring draws what is due.
        if (!IsIconic(window_)) {
            scopeView_.Show(Control(kScope));
        }
    });
    ticking_ = false;
}

template <typename Handler>
void TMainDlg::RunLogic(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        // What the handler had set before the error stays on screen.
        ApplyState();
        throw;
    }
    ApplyState();
}

void TMainDlg::OnCommand(int id) {
    switch (id) {
    case kQuit1:
        Quit1Click();
        break;
    case kExt1:
        ext1Click();
        break;
    case kSpreadsheet1:
        Spreadsheet1Click();
        break;
    case kOpenlogfile1:
        Openlogfile1Click();
        break;
    case kCheckforupdate1:
        RunLogic([&] { logic_.Checkforupdate1Click(); });
        break;
    case kAbout1:
        About1Click();
        break;
    case kDriversBtn:
        logic_.drivers_btnClick();
        break;
    case kPagerPreviousBtn:
        PagerClick(-1);
        break;
    case kPagerNextBtn:
        PagerClick(1);
        break;
    default:
        if (id >= kGetSpec1Btn && id < kGetSpec1Btn + kSlotPanelCount) {
            logic_.getSpec_btnClick(id - kGetSpec1Btn);
        } else if (id >= kGetRAM1Btn && id < kGetRAM1Btn + kSlotPanelCount) {
            logic_.getRAM_btnClick();
        }
        break;
    }
}

LRESULT TMainDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        RunGuarded(window_, [&] { OnCommand(LOWORD(wParam)); });
        return 0;
    case WM_TIMER:
        if (wParam == kMemTimerId) {
            Mem_tmrTimer();
        } else if (wParam == kScanDeadlineTimerId) {
            // The worker is abandoned, never waited for; an answer it gives later is dropped.
            StopWaitingForScan();
            RunGuarded(window_, [&] { RunLogic([&] { logic_.ScanTimedOut(); }); });
        }
        return 0;
    case kScanDoneMessage:
        if (std::optional<MemorySnapshot> snapshot = scan_ ? scan_->Take() : std::nullopt) {
            StopWaitingForScan();
            RunGuarded(window_, [&] { RunLogic([&] { logic_.ScanArrived(*snapshot); }); });
        }
        return 0;
    case WM_ACTIVATEAPP:
        // Posted, not run here; the sequence unhooks itself, so it still runs once.
        if (wParam != FALSE && logic_.ActivationHooked() && !startUpPosted_) {
            startUpPosted_ = true;
            PostMessageW(window_, kStartUpMessage, 0, 0);
        }
        return 0;
    case kStartUpMessage:
        RunGuarded(window_, [&] { RunLogic([&] { logic_.AppEvtActivate(); }); });
        return 0;
    case WM_CLOSE:
        RunGuarded(window_, [&] { logic_.FormClose(); });
        DestroyWindow(window_);
        return 0;
    case WM_SETTINGCHANGE:
        decimalSeparator_ = UserDecimalSeparator();
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_GETDPISCALEDSIZE:
        // The size the layout gives at the new DPI, which the system then suggests.
        *reinterpret_cast<SIZE*>(lParam) = OuterSize(DpiScale(static_cast<UINT>(wParam)));
        return TRUE;
    case WM_DPICHANGED:
        RunGuarded(window_,
                   [&] { OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); });
        return 0;
    case WM_DESTROY:
        KillTimer(window_, kMemTimerId);
        StopWaitingForScan();
        logic_.FormDestroy();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}
