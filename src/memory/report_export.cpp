#include "memory/report_export.h"

#include "util/file_io.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

} // namespace

std::string BuildReportText(const MemoryView& state, std::string_view separator) {
    std::string text;
    for (int bank = 1; bank <= kSlotPanelCount; ++bank) {
        const SlotPanelState& slot = state.slots[static_cast<std::size_t>(bank - 1)];
        if (!slot.listVisible) {
            continue;
        }
        if (bank >= 2) {
            text += kLineEnd;
        }
        text += "[BANK " + std::to_string(bank) + "]";
        text += kLineEnd;
        for (const ListRow& row : slot.rows) {
            text += row.caption;
            text += separator;
            text += row.value;
            text += kLineEnd;
        }
        if (slot.rows.empty()) {
            text += "Empty";
            text += kLineEnd;
        }
    }
    return text;
}

void ExportReport(const MemoryView& state, std::string_view separator, std::string_view extension,
                  const std::string& dataFolder, IShell& shell) {
    const std::string fileName = dataFolder + "export." + std::string(extension);
    WriteWholeFile(fileName, BuildReportText(state, separator));
    // Whether a program is associated with the type is the desktop's business.
    shell.RunProgram(fileName, "", "", kShowNormal);
}

void ext1Click(const MemoryView& state, const std::string& dataFolder, IShell& shell) {
    ExportReport(state, "\t", "txt", dataFolder, shell);
}

void Spreadsheet1Click(const MemoryView& state, const std::string& dataFolder, IShell& shell) {
    ExportReport(state, ";", "csv", dataFolder, shell);
}
