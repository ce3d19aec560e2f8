// The program's one pair of message-box functions.
#pragma once

#include <windows.h>

#include <string>

// Shows a modal message box owned by the window; returns the code of the button pressed.
int MsgBox(HWND owner, const std::string& text, int buttons, int kind);
// Yes and No, kind "Question".
int AskQuestion(HWND owner, const std::string& text);

// The MessageBox style for a buttons value and kind.
UINT MessageBoxStyle(int buttons, int kind);
