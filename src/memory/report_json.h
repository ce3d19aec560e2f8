// The report as one JSON document that travels: the records the scan reads, under the service's
// names and in the kinds it gives them, each module with what the window shows of it. Saved on
// one machine, it is read back anywhere in place of the service.
#pragma once

#include "memory/memory_snapshot.h"
#include "memory/memory_view.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// What a report file may hold: it comes from outside.
inline constexpr std::size_t kReportFileMaxBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kReportMaxRecords = 1024; // arrays, and modules
inline constexpr int kReportMaxDepth = 16;
inline constexpr std::size_t kReportMaxValues = 1 << 18;

// A report file that cannot be read, with the problem in one line.
class ReportFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The document in UTF-8: "arrays" and "modules", each record with every property the scan reads
// that the service set (a 64-bit integer as decimal text, other integers as numbers, texts as
// strings); each module also has "shown": its rows as `scanned` shows them ("slot", "capacity",
// "maker", "part", "type", "serial", and "speed" with the seventh row), and "rank", "form_factor",
// "ecc" and "voltage" where the service has them. `scanned` is the scan of the snapshot.
std::string ReportJson(const MemorySnapshot& snapshot, const MemoryView& scanned);

// The records of a report document (or any UTF-8 JSON with the same "arrays" and "modules"
// records; other keys are ignored), as the service would have given them. Raises
// ReportFileError for what is not such a document, is too large, too deep or has too many
// records, and for a property of the wrong kind or out of its range.
MemorySnapshot SnapshotFromReportJson(std::string_view json);

// The same for a file, which is refused unread when it holds more than kReportFileMaxBytes.
MemorySnapshot ReadReportFile(const std::string& path);
