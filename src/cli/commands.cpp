#include "cli/commands.h"

#include "cli/identify_command.h"
#include "cli/report_service.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<CliCommand, 2> kCommands = {{
    {"identify", "[--time] FILE...", RunIdentifyCommand},
    {"report", "[--csv|--json] [--from FILE]", RunSystemReportCommand},
}};

void WriteUsage(std::ostream& err) {
    err << "usage:\n";
    for (const CliCommand& command : kCommands) {
        err << "  slotvane-cli " << command.name << ' ' << command.usage << '\n';
    }
}

} // namespace

std::span<const CliCommand> CliCommands() {
    return kCommands;
}

int RunCli(const std::vector<std::string>& arguments, CliContext& context) {
    const auto command = arguments.empty() ? kCommands.end()
                                           : std::find_if(kCommands.begin(), kCommands.end(),
                                                          [&arguments](const CliCommand& c) {
                                                              return arguments.front() == c.name;
                                                          });
    if (command == kCommands.end()) {
        WriteUsage(context.err);
        return kExitUsage;
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    return command->run(rest, context);
}
