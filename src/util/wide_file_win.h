// The system's file functions for the program's 8-bit paths: the wide versions when the system
// has them, else the 8-bit ones on the path in the system's code page.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

// Whether the system's wide file functions work: probed once, with a wide search in the
// Windows folder, before the first file function uses the answer.
bool WideApiAvailable();

// An open directory search, closed with FindClose; it goes on with the same kind of function
// that started it.
class FindHandle {
public:
    FindHandle() = default;
    FindHandle(HANDLE handle, bool wideApi) : handle_(handle), wideApi_(wideApi) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    FindHandle(FindHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)), wideApi_(other.wideApi_) {}
    FindHandle& operator=(FindHandle&&) = delete;
    ~FindHandle();

    // The invalid-handle value when nothing was found.
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

    // The next entry of the search; false when there is none.
    bool Next(WIN32_FIND_DATAW& data) const;

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool wideApi_ = true;
};

// Starts a directory search; without the wide API the 8-bit record is copied into the wide one
// (attributes, times and sizes unchanged, both names converted).
FindHandle WideFindFirstFile(const std::string& path, WIN32_FIND_DATAW& data,
                             bool wideApi = WideApiAvailable());

// The system reports twice a version resource's size and a few bytes more (room for its text
// conversions). Version resources are a few kilobytes; twice 1 MiB and more is not one.
constexpr DWORD kMaxVersionInfoSize = 2 * 1024 * 1024 + 16;

// The file's version resource as the system loads it (GetFileVersionInfo); nothing when the file
// has none, loading fails or the size the system reports is above maxSize, which is checked
// before anything is allocated. The system trusts the file's own size fields: hand it only files
// whose resource has been found to lie inside the file.
std::optional<std::string> WideLoadFileVersionInfo(const std::string& path,
                                                   DWORD maxSize = kMaxVersionInfoSize,
                                                   bool wideApi = WideApiAvailable());

// Creates one folder with default security; the wide call gets the long-path prefix.
bool WideCreateDirectory(const std::string& path, bool wideApi);
