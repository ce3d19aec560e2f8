#include "memory/report_export.h"

#include "util/file_io.h"

#include <cstddef>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// One bank's section: an empty line from the second bank on, its heading, and its rows.
void AppendBank(std::string& text, std::size_t bank, const std::vector<ListRow>& rows,
                std::string_view separator) {
    if (bank >= 2) {
        text += kLineEnd;
    }
    text += "[BANK " + std::to_string(bank) + "]";
    text += kLineEnd;
    for (const ListRow& row : rows) {
        text += row.caption;
        text += separator;
        text += row.value;
        text += kLineEnd;
    }
    if (rows.empty()) {
        text += "Empty";
        text += kLineEnd;
    }
}

} // namespace

std::string BuildReportText(const MemoryView& state, std::string_view separator) {
    std::string text;
    // With more than four modules the panels show one page of them: the report lists every
    // module, each in the form of a visible list view.
    if (state.modules.size() > kSlotPanelCount) {
        for (std::size_t k = 0; k < state.modules.size(); ++k) {
            AppendBank(text, k + 1, state.modules[k].rows, separator);
        }
        return text;
    }
    for (std::size_t bank = 1; bank <= kSlotPanelCount; ++bank) {
        const SlotPanelState& slot = state.slots[bank - 1];
        if (slot.listVisible) {
            AppendBank(text, bank, slot.rows, separator);
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
