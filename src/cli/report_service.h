// The report command over this system's instrumentation service.
#pragma once

#include "cli/commands.h"

#include <string>
#include <vector>

// "report" as a command of the table (report_service_win.cpp, _posix.cpp).
int RunSystemReportCommand(const std::vector<std::string>& arguments, CliContext& context);
