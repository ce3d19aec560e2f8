// "identify [--time] FILE...": one tab-separated line per file, in UTF-8: the path as given,
// IsPEImage (1 or 0), 64-bit (1 or 0), the eight version strings in the record's order, the
// displayed product and company, and the detected version; with --time the milliseconds the
// file took, last. Tabs and line breaks inside a field are written
// as \t, \n and \r. A file that cannot be read gets its line with empty fields and a message on
// the error stream; the exit code is then kExitFailure.
#pragma once

#include "cli/commands.h"
#include "identify/displayed_file_info.h"
#include "identify/version_detection_platform.h"

#include <string>
#include <vector>

// What the line of one file shows, gathered once; the columns read from it.
struct IdentifyFacts {
    bool isImage = false;
    bool is64 = false;
    FileVersionInfoRec strings;
    TDisplayedFileInfo names;
    std::string version;
};

IdentifyFacts GatherIdentifyFacts(IVersionDetectionPlatform& platform, const std::string& path);

// The fields after the path, in column order; all empty for a file that could not be read.
std::vector<std::string> IdentifyFields(const IdentifyFacts* facts);

// A field's text for the line: UTF-8, with tab, line feed and carriage return escaped.
std::string LineField(const std::string& text);

// The identify command over a given platform (tests give it one).
int RunIdentify(const std::vector<std::string>& arguments, CliContext& context,
                IVersionDetectionPlatform& platform);

// The identify command over this system's platform.
int RunIdentifyCommand(const std::vector<std::string>& arguments, CliContext& context);
