// The operating system's memory status.
#pragma once

#include "memory/memory_monitor.h"

class SystemMemoryStatus final : public IMemoryStatusSource {
public:
    MemoryStatus QueryMemoryStatus() const override;
    std::optional<std::uint64_t> InstalledMemoryKilobytes() const override;
};
