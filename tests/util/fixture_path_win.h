// Paths of the fixture programs that the build puts beside the test program.
#pragma once

#include "util/codepage_win.h"

#include <windows.h>

#include <string>

inline std::string FixturePath(const std::string& name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder.erase(folder.find_last_of(L'\\') + 1);
    return GbkFromWide(folder) + name;
}
