// The desktop shell's two ways of opening a file or address.
#pragma once

#include <windows.h>

#include <string>

// One shell-execute request without an owner window; see IShell::RunProgram.
bool RunProgram(const std::string& file, const std::string& parameters, const std::string& verb,
                int showMode);

// The older shell-execute call with an owner window; an empty operation is the type's default
// action. True when the shell accepted the request.
bool ShellOpen(HWND owner, const std::string& operation, const std::string& file,
               const std::string& parameters, const std::string& folder, int showMode);
