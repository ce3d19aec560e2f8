#include "cli/report_service.h"

#include "app/com_init_win.h"
#include "cli/report_command.h"
#include "wmi/com_automation_win.h"

int RunSystemReportCommand(const std::vector<std::string>& arguments, CliContext& context) {
    const TComInitialization com;
    TComAutomation automation;
    return RunReportCommand(arguments, automation, context);
}
