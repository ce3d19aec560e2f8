// What the program learns about the machine it runs on.
#pragma once

#include <string>
#include <vector>

// "10.0 (Windows10)", "4.10 (98SE)", ...; "Unknown" when nothing can be learned.
std::string GetWindowsVersionText();
// The NT family's part of the above, from the workstation information.
std::string GetNtVersionText();

// True when the operating system is 64-bit: always for a 64-bit program, and for a 32-bit one
// when it runs under the 64-bit system's emulation. Raises OSError when the system cannot tell.
bool Is64BitWindows();

// True only for a 32-bit program running under the 64-bit system's emulation (WOW64): the one
// kind of process that the system redirects from the system folder and that reaches it through
// "\sysnative\". False for a 64-bit program and when the system cannot tell.
bool ProcessRunsUnderWow64();

// True when the thread's token (or the process's, when the thread has none) holds the
// Administrators group for more than deny-only use: an administrator without elevation is not.
bool RunsAsAdministrator();

// The uninstall entries of this machine (see util/uninstall_entries.h), read in the 64-bit
// registry view on a 64-bit system.
void ListUninstallEntries(std::vector<std::string>& names, std::vector<std::string>& errors);
bool IsProgramInstalled(const std::string& prefix);
