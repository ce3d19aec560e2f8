// The About dialog: the application's name and version, and the maker's links.
#pragma once

#include "app/dpi_win.h"
#include "app/gdi_win.h"
#include "app/text_storage.h"

#include <windows.h>

#include <functional>
#include <string>

struct AboutDlgServices {
    // The file version of the program, as shown after "版本:".
    std::function<std::string()> versionText;
    // Hands an address (web or "mailto:") to the shell, with the dialog as owner.
    std::function<void(HWND owner, const std::string& address)> openAddress;
};

enum AboutDlgControl : int {
    kAboutImage1 = 2000,
    kAllGrp,
    kApplicationGrp,
    kAppnameLbl,
    kVersionLbl,
    kTarvikGrp,
    kEmailBtn,
    kWebBtn,
    kForumBtn,
    kOkBtn,
};

class TAboutDlg {
public:
    static constexpr int kClientWidth = 389;
    static constexpr int kClientHeight = 285;

    // Created hidden; lives until the program ends.
    TAboutDlg(HINSTANCE instance, HWND owner, AboutDlgServices services);
    TAboutDlg(const TAboutDlg&) = delete;
    TAboutDlg& operator=(const TAboutDlg&) = delete;
    ~TAboutDlg();

    HWND Handle() const { return window_; }
    HWND Control(int id) const;
    TTextStorage& TS_about() { return textStorage_; }

    // Shows the dialog modally; true when it was closed with the OK button.
    bool Execute();
    void RefreshLabels();

    void email_btnClick();
    void web_btnClick();
    void forum_btnClick();

private:
    template <typename Owner>
    friend LRESULT CALLBACK InstanceWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    // The font and picture for the dialog's DPI; ApplyDpiResources hands them to the controls.
    void MakeDpiResources();
    void ApplyDpiResources();
    // Places every control from the layout table at the dialog's DPI.
    void LayOut();
    static SIZE OuterSize(const DpiScale& scale);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void CentreOverOwner();
    void Close(bool ok);

    HINSTANCE instance_;
    HWND owner_;
    AboutDlgServices services_;
    HWND window_ = nullptr;
    // The dialog's DPI over the design's 96; the font and picture below are made for it.
    DpiScale scale_;
    WindowIcons windowIcons_;
    UniqueFont font_;
    UniqueBitmap banner_;
    TTextStorage textStorage_{{"关于", "应用程序名称:", "版本:"}};
    bool running_ = false;
    bool ok_ = false;
};
