#include "app/message_box.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBox, KindAndButtonsValueGiveCaptionIconAndButtons) {
    struct Case {
        int buttons;
        int kind;
        MessageBoxLook expected;
    };
    const Case cases[] = {
        {0, 0, {"Message", MessageIcon::None, MessageButtons::Ok}},
        {1, 1, {"Warning", MessageIcon::Warning, MessageButtons::YesNo}},
        {2, 2, {"Error", MessageIcon::Error, MessageButtons::YesNoCancel}},
        {3, 3, {"Question", MessageIcon::Question, MessageButtons::OkCancel}},
        {0, 4, {"Information", MessageIcon::Information, MessageButtons::Ok}},
        {5, 7, {"", MessageIcon::None, MessageButtons::Ok}},
        {-1, -1, {"", MessageIcon::None, MessageButtons::Ok}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "buttons " << c.buttons << ", kind " << c.kind);
        EXPECT_EQ(DescribeMessageBox(c.buttons, c.kind), c.expected);
    }
}

TEST(MessageBox, CaptionsCanBeChangedAtRunTime) {
    const auto saved = MessageKindCaptions();
    MessageKindCaptions()[kKindQuestion] = "问题";
    EXPECT_EQ(DescribeMessageBox(kButtonsYesNo, kKindQuestion).caption, "问题");
    MessageKindCaptions() = saved;
    EXPECT_EQ(DescribeMessageBox(kButtonsYesNo, kKindQuestion).caption, "Question");
}

} // namespace
