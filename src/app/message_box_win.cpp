#include "app/message_box_win.h"

#include "app/message_box.h"
#include "util/codepage_win.h"

UINT MessageBoxStyle(int buttons, int kind) {
    const MessageBoxLook look = DescribeMessageBox(buttons, kind);
    UINT style = 0;
    switch (look.buttons) {
    case MessageButtons::Ok:
        style |= MB_OK;
        break;
    case MessageButtons::YesNo:
        style |= MB_YESNO;
        break;
    case MessageButtons::YesNoCancel:
        style |= MB_YESNOCANCEL;
        break;
    case MessageButtons::OkCancel:
        style |= MB_OKCANCEL;
        break;
    }
    switch (look.icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Warning:
        style |= MB_ICONWARNING;
        break;
    case MessageIcon::Error:
        style |= MB_ICONERROR;
        break;
    case MessageIcon::Question:
        style |= MB_ICONQUESTION;
        break;
    case MessageIcon::Information:
        style |= MB_ICONINFORMATION;
        break;
    }
    return style;
}

int MsgBox(HWND owner, const std::string& text, int buttons, int kind) {
    const MessageBoxLook look = DescribeMessageBox(buttons, kind);
    return MessageBoxW(owner, WideFromGbk(text).c_str(), WideFromGbk(look.caption).c_str(),
                       MessageBoxStyle(buttons, kind));
}

int AskQuestion(HWND owner, const std::string& text) {
    return MsgBox(owner, text, kButtonsYesNo, kKindQuestion);
}
