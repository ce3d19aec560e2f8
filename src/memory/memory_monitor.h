// The memory monitor's tick: the chart follows the memory load, the labels show the memory in
// use and the memory installed.
#pragma once

#include "memory/memory_view.h"
#include "memory/scope_model.h"

#include <cstdint>
#include <optional>
#include <string_view>

struct MemoryStatus {
    std::uint32_t memoryLoad = 0; // percent of physical memory in use
    std::uint64_t totalPhysical = 0;
    std::uint64_t availablePhysical = 0;
};

class IMemoryStatusSource {
public:
    virtual ~IMemoryStatusSource() = default;
    // Raises OSError when the system cannot tell.
    virtual MemoryStatus QueryMemoryStatus() const = 0;
    // The physically installed memory in kilobytes; none when the system cannot tell.
    virtual std::optional<std::uint64_t> InstalledMemoryKilobytes() const = 0;
};

// The machine's installed memory as the monitor shows it: what the system reports as physically
// installed or, where it cannot tell, the physical memory it manages.
std::uint64_t InstalledMemoryBytes(const IMemoryStatusSource& source, const MemoryStatus& status);

// One tick: one memory-status query, one installed-memory query, figures written with the given
// decimal separator. A failed memory-status query raises before anything has changed, so the
// chart and both labels keep their previous state.
void Mem_tmrTimer(MemoryView& state, TScopeModel& scope, const IMemoryStatusSource& source,
                  std::string_view decimalSeparator);
