// The few file-system operations that the folder searches need, behind a seam so that the search
// logic can be tested with a fake. Paths are the program's 8-bit text with "\" between folders.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // Names of the entries that match a search pattern such as "C:\Tools\*": files and folders,
    // hidden and system ones included, "." and ".." too where the system lists them, in the order
    // the file system lists them, and no more than maxNames of them. Nothing when the folder is
    // missing or cannot be read.
    virtual std::vector<std::string> ListEntries(const std::string& pattern,
                                                 std::size_t maxNames) = 0;

    // True when a folder of that name exists. A bare drive ("C:" or "C:\") exists when the system
    // knows a volume for that letter.
    virtual bool WideDirectoryExists(const std::string& path) = 0;

    // True when the entry itself is a link to somewhere else: a reparse point on Windows
    // (junction, symbolic link, mount point), a symbolic link natively. The link is not followed.
    virtual bool IsLink(const std::string& path) = 0;

    // Switches the file-system redirection that Windows applies to 32-bit programs off (disable
    // true) or back on, for the calling thread. A 64-bit program is not redirected, so there the
    // switch changes nothing. False only when the switch failed.
    virtual bool SetWow64Redirection(bool disable) = 0;
};

// The operating system's file system.
IFileSystem& SystemFileSystem();
