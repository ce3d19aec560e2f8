// What a message box of a given kind and button set looks like; the Windows side shows it.
#pragma once

#include <array>
#include <string>

enum class MessageIcon { None, Warning, Error, Question, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel, OkCancel };

// The platform's codes of the buttons a message box returns.
enum MessageResult : int { kResultOk = 1, kResultCancel = 2, kResultYes = 6, kResultNo = 7 };

inline constexpr int kKindMessage = 0;
inline constexpr int kKindWarning = 1;
inline constexpr int kKindError = 2;
inline constexpr int kKindQuestion = 3;
inline constexpr int kKindInformation = 4;

inline constexpr int kButtonsOk = 0;
inline constexpr int kButtonsYesNo = 1;
inline constexpr int kButtonsYesNoCancel = 2;
inline constexpr int kButtonsOkCancel = 3;

struct MessageBoxLook {
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;

    bool operator==(const MessageBoxLook&) const = default;
};

// The captions of the five kinds, program-wide and settable at run time.
std::array<std::string, 5>& MessageKindCaptions();

// Unknown kinds get an empty caption and no icon; unknown button values get OK alone.
MessageBoxLook DescribeMessageBox(int buttons, int kind);
