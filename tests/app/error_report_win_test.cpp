#include "app/error_report_win.h"
#include "util/codepage_win.h"

#include "support/message_box_reader_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

TEST(ErrorReport, AnExceptionInAHandlerIsShownAndTheProgramGoesOn) {
    std::wstring shown;
    std::thread watcher([&] { shown = ReadAndCloseMessageBox(L"Slotvane"); });
    bool after = false;
    RunGuarded(nullptr, [] { throw std::runtime_error("\xB4\xED\xCE\xF3: disk full"); });
    after = true;
    watcher.join();
    EXPECT_TRUE(after);
    EXPECT_EQ(GbkFromWide(shown), "\xB4\xED\xCE\xF3: disk full");
}

TEST(ErrorReport, AHandlerThatSucceedsShowsNothing) {
    int calls = 0;
    RunGuarded(nullptr, [&] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(FindWindowW(L"#32770", L"Slotvane"), nullptr);
}

} // namespace
