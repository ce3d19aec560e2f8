// The command-line report: the module scan without a window, printed as the export writes it.
#pragma once

#include "wmi/automation.h"

#include <ostream>
#include <string>
#include <vector>

// "report [--csv]": scans the modules and writes the report of the text export (or, with --csv,
// of the spreadsheet export) to out in UTF-8. Returns 0; 1 with the reason on err when the
// instrumentation service cannot be queried; 2 with the usage on err for other arguments. args
// are the arguments after the command's name.
int RunReportCommand(const std::vector<std::string>& args, IAutomationFactory& automation,
                     std::ostream& out, std::ostream& err);
