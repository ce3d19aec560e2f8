#include "app/memory_status_win.h"

#include "util/os_error.h"

#include <windows.h>

MemoryStatus SystemMemoryStatus::QueryMemoryStatus() const {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) {
        throw MakeOSError(GetLastError());
    }
    return {status.dwMemoryLoad, status.ullTotalPhys, status.ullAvailPhys};
}

std::optional<std::uint64_t> SystemMemoryStatus::InstalledMemoryKilobytes() const {
    ULONGLONG kilobytes = 0;
    if (!GetPhysicallyInstalledSystemMemory(&kilobytes) || kilobytes == 0) {
        return std::nullopt;
    }
    return kilobytes;
}
