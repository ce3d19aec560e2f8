#include "memory/memory_monitor.h"

#include "util/byte_size.h"

#include <optional>
#include <string>

std::uint64_t InstalledMemoryBytes(const IMemoryStatusSource& source, const MemoryStatus& status) {
    const std::optional<std::uint64_t> installedKilobytes = source.InstalledMemoryKilobytes();
    return installedKilobytes ? *installedKilobytes * 1024 : status.totalPhysical;
}

void Mem_tmrTimer(MemoryView& state, TScopeModel& scope, const IMemoryStatusSource& source,
                  std::string_view decimalSeparator) {
    const MemoryStatus status = source.QueryMemoryStatus();

    scope.SetValue(status.memoryLoad);
    scope.Advance();

    state.phyusedLabel =
        "已用: " +
        FormatByteSize(static_cast<std::int64_t>(status.totalPhysical - status.availablePhysical),
                       decimalSeparator);

    // Where the installed memory cannot be told, the memory the system manages is the closest
    // figure there is.
    state.phytotLabel =
        "总计: " + FormatByteSize(static_cast<std::int64_t>(InstalledMemoryBytes(source, status)),
                                  decimalSeparator);
}
