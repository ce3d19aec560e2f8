// The system's folders and the program's clean-up of its virtualised copy.
#pragma once

#include <string>

// Shell folder numbers in use.
inline constexpr int kRoamingAppDataFolder = 26;
inline constexpr int kLocalAppDataFolder = 28;
inline constexpr int kSystemFolder = 37;

// The full path of the running program file.
std::string ProgramPath();

// The shell folder's path (at most 260 characters), or empty text.
std::string GetSpecialFolderPath(int folderId);

// The per-user data folder, roaming application data\Tarvik\title\, created on demand; the
// program's own folder when it cannot be had. Ends in "\".
std::string GetUserDataFolder(const std::string& exePath, const std::string& title);

// Deletes the ".SPK" entries of the system's virtual-store copy of the program folder (with its
// trailing "\") and returns that copy's path; empty text when there is no copy.
std::string CleanVirtualStore(const std::string& programFolder);

// Deletes the entries of folder\*.ext: files after clearing their attributes, folders with
// everything matching in them, then the folder itself if it has become empty. Failures are
// ignored; the result is always true.
bool DeleteFilesByExtension(const std::string& folder, const std::string& extension);
