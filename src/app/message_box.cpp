#include "app/message_box.h"

namespace {

struct KindRow {
    const char* caption;
    MessageIcon icon;
};

// One row per kind, in kind order.
constexpr std::array<KindRow, 5> kKinds = {{
    {"Message", MessageIcon::None},
    {"Warning", MessageIcon::Warning},
    {"Error", MessageIcon::Error},
    {"Question", MessageIcon::Question},
    {"Information", MessageIcon::Information},
}};

// One row per buttons value, in value order.
constexpr std::array<MessageButtons, 4> kButtonSets = {
    MessageButtons::Ok,
    MessageButtons::YesNo,
    MessageButtons::YesNoCancel,
    MessageButtons::OkCancel,
};

std::array<std::string, 5> InitialCaptions() {
    std::array<std::string, 5> captions;
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        captions[i] = kKinds[i].caption;
    }
    return captions;
}

} // namespace

std::array<std::string, 5>& MessageKindCaptions() {
    static std::array<std::string, 5> captions = InitialCaptions();
    return captions;
}

MessageBoxLook DescribeMessageBox(int buttons, int kind) {
    MessageBoxLook look;
    if (kind >= 0 && kind < static_cast<int>(kKinds.size())) {
        look.caption = MessageKindCaptions()[static_cast<std::size_t>(kind)];
        look.icon = kKinds[static_cast<std::size_t>(kind)].icon;
    }
    if (buttons >= 0 && buttons < static_cast<int>(kButtonSets.size())) {
        look.buttons = kButtonSets[static_cast<std::size_t>(buttons)];
    }
    return look;
}
