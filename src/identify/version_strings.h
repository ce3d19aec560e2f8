// The eight strings of a program file's version resource, and the path through which the
// process reaches a system file.
#pragma once

#include "identify/version_api.h"
#include "identify/version_info.h"

#include <string>

// Reads the record of the file at path (already given its NativeSystemPath form). The primary
// read parses the file itself and takes the first string table, keys compared ignoring ASCII
// case. When that read fails, or leaves FileDescription, CompanyName and FileVersion all empty,
// the fallback read through the platform overwrites all eight fields: each key under
// "\StringFileInfo\" + the first translation as two 4-digit hexadecimal numbers, or as a bare
// key when there is no translation entry. Text is converted with IdentifyTextFromUtf16; ", "
// becomes "." in both versions. Never fails: what cannot be read stays empty.
FileVersionInfoRec ReadVersionStrings(const std::string& path, IVersionApi& platform);

// Replaces the first "\system32\" (any case) by "\sysnative\" when the process runs under WOW64
// (a 32-bit program on 64-bit Windows, the only kind of process for which that alias exists),
// the system folder is known and the path starts with it exactly. Any other path, and every path
// of a 64-bit process, is returned unchanged.
std::string NativeSystemPath(const std::string& path, bool processRunsUnderWow64,
                             const std::string& systemFolder);
