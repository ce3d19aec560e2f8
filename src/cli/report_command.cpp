#include "cli/report_command.h"

#include "memory/module_scan.h"
#include "memory/report_export.h"
#include "memory/report_json.h"
#include "util/utf8_text.h"
#include "wmi/win32_physical_memory.h"
#include "wmi/wmi_connection.h"

#include <exception>
#include <optional>
#include <string_view>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr std::string_view kUsageText = "usage: slotvane-cli report [--csv|--json] [--from FILE]\n";

enum class Format { Text, Csv, Json };

struct Options {
    Format format = Format::Text;
    std::optional<std::string> from;
};

std::optional<Options> ParseOptions(const std::vector<std::string>& args) {
    Options options;
    bool formatGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "--csv" || arg == "--json") && !formatGiven) {
            options.format = arg == "--csv" ? Format::Csv : Format::Json;
            formatGiven = true;
        } else if (arg == "--from" && i + 1 < args.size() && !options.from) {
            options.from = args[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

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

// A reason as one line: what a file holds may break it.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 32) {
            c = ' ';
        }
    }
    return text;
}

} // namespace

int RunReportCommand(const std::vector<std::string>& args, IAutomationFactory& automation,
                     CliContext& context) {
    const std::optional<Options> options = ParseOptions(args);
    if (!options) {
        context.err << kUsageText;
        return kUsage;
    }

    std::string report;
    try {
        const MemorySnapshot snapshot =
            options->from ? ReadReportFile(context.pathFromArgument(*options->from))
                          : TakeMemorySnapshot(automation);
        MemoryView state;
        if (!ScanModules(state, snapshot, nullptr)) {
            // A saved document's modules fail only when the first one cannot be converted.
            const std::string reason =
                options->from
                    ? *options->from + ": " + TWin32_PhysicalMemory(snapshot.modules).LoadError()
                    : QueryFailure(automation);
            context.err << "slotvane-cli report: " << OneLine(reason) << "\n";
            return kFailed;
        }
        switch (options->format) {
        case Format::Text:
            report = Utf8FromProgramText(BuildReportText(state, "\t"));
            break;
        case Format::Csv:
            report = Utf8FromProgramText(BuildReportText(state, ";"));
            break;
        case Format::Json:
            report = ReportJson(snapshot, state);
            break;
        }
    } catch (const std::exception& error) {
        const std::string source = options->from ? *options->from + ": " : "";
        context.err << "slotvane-cli report: " << OneLine(source + error.what()) << "\n";
        return kFailed;
    }
    context.out << report;
    return 0;
}
