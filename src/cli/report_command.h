// The command-line report: the module scan without a window, printed as the export writes it or
// as a JSON document that another machine can read back.
#pragma once

#include "cli/commands.h"
#include "wmi/automation.h"

#include <string>
#include <vector>

// "report [--csv|--json] [--from FILE]": scans the modules and writes to context.out, in UTF-8,
// the report of the text export, of the spreadsheet export (--csv), or the JSON document
// (--json). With --from the records come from a saved document instead of the instrumentation
// service. Returns 0; 1 with the reason on one line of context.err when the service cannot be
// queried or the file cannot be read; 2 with the usage on context.err for other arguments. args
// are the arguments after the command's name.
int RunReportCommand(const std::vector<std::string>& args, IAutomationFactory& automation,
                     CliContext& context);
