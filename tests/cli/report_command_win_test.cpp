// The report command against Wine's real instrumentation service: it prints what the export
// writes, in UTF-8 instead of GBK.
#include "app/com_init_win.h"
#include "cli/report_command.h"
#include "memory/module_scan.h"
#include "memory/report_export.h"
#include "support/recording_shell.h"
#include "support/temp_folder.h"
#include "util/codepage_win.h"
#include "wmi/com_automation_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

class ReportCommandWinTest : public ::testing::Test {
protected:
    TComInitialization com; // outlives every COM object of the test
    TComAutomation automation;
    TempFolder folder;
    RecordingShell shell;
};

TEST_F(ReportCommandWinTest, PrintsTheBytesOfTheExportFilesInUtf8) {
    struct Case {
        std::vector<std::string> args;
        void (*exportIt)(const MemoryView&, const std::string&, IShell&);
        const char* fileName;
    };
    const Case cases[] = {
        {{}, ext1Click, "export.txt"},
        {{"--csv"}, Spreadsheet1Click, "export.csv"},
    };
    MemoryView state;
    ASSERT_TRUE(ScanModules(state, automation, nullptr));
    const std::string dataFolder = folder.File("");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        c.exportIt(state, dataFolder, shell);
        const std::string exported = ReadFileBytes(folder.File(c.fileName));
        ASSERT_NE(exported.find("[BANK 1]\r\n"), std::string::npos); // Wine's module

        std::ostringstream out;
        std::ostringstream err;
        CliContext context{out, err, [](const std::string& argument) { return argument; },
                           [] { return 0.0; }};
        EXPECT_EQ(RunReportCommand(c.args, automation, context), 0);
        EXPECT_EQ(err.str(), "");
        EXPECT_EQ(out.str(), CodePageFromWide(CP_UTF8, WideFromGbk(exported)));
    }
}

} // namespace
