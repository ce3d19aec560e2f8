// Where the program keeps its files: the per-user data folder and the folder the system
// virtualises for a program that writes into its own folder.
#pragma once

#include "util/file_system.h"

#include <string>

// The folder part of a path, up to and with its last "\" (or the drive's ":"), ending in "\".
std::string FolderOfPath(const std::string& path);

// appDataFolder\Tarvik\title\, both folders created when missing. The program's own folder
// (that of exePath) when appDataFolder is empty or the data folder cannot be created.
std::string UserDataFolderIn(const std::string& appDataFolder, const std::string& exePath,
                             const std::string& title,
                             IFileSystem& fileSystem = SystemFileSystem());

// localAppDataFolder\VirtualStore\ followed by the program folder without its drive
// ("C:\Program Files\Slotvane\" gives ...\VirtualStore\Program Files\Slotvane\).
std::string VirtualStoreFolder(const std::string& localAppDataFolder,
                               const std::string& programFolder);
