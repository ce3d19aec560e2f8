// libFuzzer target for the report documents that "report --from" reads: any input is either
// refused with ReportFileError or gives a document that, scanned and written again, reads back
// to itself. Built and run by scripts/fuzz; the starting inputs are the real machines' records.
#include "memory/module_scan.h"
#include "memory/report_json.h"
#include "wmi/wmi_conversions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// The document of a snapshot, or nothing when the scan cannot convert its values (a failure the
// command reports, not a crash).
bool Written(const MemorySnapshot& snapshot, std::string& document) {
    MemoryView view;
    try {
        if (!ScanModules(view, snapshot, nullptr)) {
            return false;
        }
        document = ReportJson(snapshot, view);
    } catch (const ConversionError&) {
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemorySnapshot snapshot;
    try {
        snapshot =
            SnapshotFromReportJson(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const ReportFileError&) {
        return 0;
    }
    std::string first;
    if (!Written(snapshot, first)) {
        return 0;
    }
    std::string second;
    if (!Written(SnapshotFromReportJson(first), second) || second != first) {
        std::abort();
    }
    return 0;
}
