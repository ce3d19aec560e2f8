// Searches of a folder tree for program files. Each search appends full paths to a list that the
// caller owns; a folder that cannot be read adds nothing. The file-system redirection of 32-bit
// programs is off for the whole search, so that the real system folders are searched.
#pragma once

#include "util/file_system.h"

#include <cstddef>
#include <string>
#include <vector>

// The recursive searches never enter a folder that is a link (IFileSystem::IsLink), go no deeper
// than this many levels below the folder they start in, and stop once they have listed this many
// entries ("." and ".." included); ListSubfolders lists no more than that many either.
constexpr int kMaxSearchDepth = 16;
constexpr std::size_t kMaxSearchEntries = 100000;

// Every file in folder and all folders below it whose extension, dot included (".exe"), equals
// extension ignoring case. Depth first, in the order the file system lists the entries.
void FindFilesByExtension(const std::string& folder, const std::string& extension,
                          std::vector<std::string>& list,
                          IFileSystem& fileSystem = SystemFileSystem());

// Every file in folder and all folders below it whose name equals name ignoring case.
void FindFilesByName(const std::string& folder, const std::string& name,
                     std::vector<std::string>& list, IFileSystem& fileSystem = SystemFileSystem());

// Every folder directly inside folder.
void ListSubfolders(const std::string& folder, std::vector<std::string>& list,
                    IFileSystem& fileSystem = SystemFileSystem());
