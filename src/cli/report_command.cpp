#include "cli/report_command.h"

#include "memory/module_scan.h"
#include "memory/report_export.h"
#include "util/utf8_text.h"
#include "wmi/wmi_connection.h"

#include <exception>
#include <string_view>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Why the modules cannot be listed: the service's own error when it cannot be reached at all.
std::string QueryFailure(IAutomationFactory& automation) {
    try {
        TWmiConnection connection(automation);
        connection.Connect(true);
    } catch (const std::exception& error) {
        return std::string("the instrumentation service cannot be reached: ") + error.what();
    }
    return "the instrumentation service does not list the memory modules";
}

} // namespace

int RunReportCommand(const std::vector<std::string>& args, IAutomationFactory& automation,
                     std::ostream& out, std::ostream& err) {
    std::string_view separator = "\t";
    for (const std::string& arg : args) {
        if (arg != "--csv") {
            err << "usage: slotvane-cli report [--csv]\n";
            return kUsage;
        }
        separator = ";";
    }

    MemoryView state;
    try {
        if (!ScanModules(state, automation, nullptr)) {
            err << "slotvane-cli report: " << QueryFailure(automation) << "\n";
            return kFailed;
        }
    } catch (const std::exception& error) {
        err << "slotvane-cli report: " << error.what() << "\n";
        return kFailed;
    }
    out << Utf8FromProgramText(BuildReportText(state, separator));
    return 0;
}
