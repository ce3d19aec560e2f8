// The report export: what the slot list views show, written to a file that the desktop opens.
#pragma once

#include "memory/memory_view.h"
#include "util/shell.h"

#include <string>
#include <string_view>

// The file's bytes: for each visible list view a "[BANK n]" section (after an empty line from
// the second bank on) with one line per row, caption and value joined by the separator, or
// "Empty" for a list view without rows; with more than four modules, a section for every module,
// whichever page the panels show. Every line ends with CR LF; nothing is quoted.
std::string BuildReportText(const MemoryView& state, std::string_view separator);

// Writes the report to dataFolder + "export." + extension, replacing any file of that name, and
// hands the file to the shell. Raises OSError when the file cannot be written; it is then not
// opened.
void ExportReport(const MemoryView& state, std::string_view separator, std::string_view extension,
                  const std::string& dataFolder, IShell& shell);

// Action > Export > Text: tab-separated "export.txt".
void ext1Click(const MemoryView& state, const std::string& dataFolder,
               IShell& shell = SystemShell());
// Action > Export > Spreadsheet: ";"-separated "export.csv".
void Spreadsheet1Click(const MemoryView& state, const std::string& dataFolder,
                       IShell& shell = SystemShell());
