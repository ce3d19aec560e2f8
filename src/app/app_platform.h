// What the main window's logic asks of the machine: the program's own file and command line, the
// per-user data folder, the maker's registry key, file tests and the environment probes. The
// Windows side is app/app_platform_win.h; tests use fakes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

class IAppPlatform {
public:
    virtual ~IAppPlatform() = default;

    // The full path of the running program file.
    virtual std::string ProgramPath() = 0;
    // The first command-line argument, unchanged; nothing when there is none.
    virtual std::optional<std::string> FirstArgument() = 0;
    // The per-user data folder, created on demand, ending in "\"; the program's own folder when
    // it cannot be had.
    virtual std::string UserDataFolder() = 0;

    // The string value of that name under the maker's per-user key; empty when missing. Raises
    // when the value exists with a type other than a string.
    virtual std::string ReadMakerRegistryValue(const std::string& name) = 0;
    // Writes a string value under the maker's per-user key; raises when it cannot be written.
    virtual void StoreMakerRegistryValue(const std::string& name, const std::string& text) = 0;

    // True for an existing file of at least one byte.
    virtual bool FileExistsNonEmpty(const std::string& path) = 0;
    // "1.2.3.4", empty text without a version resource, "File not found" without the file.
    virtual std::string FileVersionText(const std::string& path) = 0;
    // The whole file; nothing when it is missing, cannot be read or is larger than maxBytes.
    virtual std::optional<std::string> ReadSmallFile(const std::string& path,
                                                     std::size_t maxBytes) = 0;

    // "10.0 (Windows10)" and the like; "Unknown" when nothing can be learned.
    virtual std::string WindowsVersionText() = 0;
    // Raises when the system cannot tell.
    virtual bool Is64BitWindows() = 0;
    virtual bool RunsAsAdministrator() = 0;
    // True when an uninstall entry's name begins with prefix, ASCII letter case ignored.
    virtual bool IsProgramInstalled(const std::string& prefix) = 0;

    // Cleans the system's virtual-store copy of the program folder (with its trailing "\") and
    // returns that copy's path; empty text when there is none.
    virtual std::string CleanVirtualStore(const std::string& programFolder) = 0;
};
