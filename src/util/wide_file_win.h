// The system's file functions for the program's 8-bit paths: the wide versions when the system
// has them, else the 8-bit ones on the path in the system's code page.
#pragma once

#include <windows.h>

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

// Size of the file's version resource; 0 when it has none.
DWORD WideGetFileVersionInfoSize(const std::string& path, bool wideApi = WideApiAvailable());
bool WideGetFileVersionInfo(const std::string& path, DWORD size, void* buffer,
                            bool wideApi = WideApiAvailable());

// Creates one folder with default security; the wide call gets the long-path prefix.
bool WideCreateDirectory(const std::string& path, bool wideApi);
