#include "memory/memory_snapshot.h"

#include "wmi/win32_physical_memory.h"
#include "wmi/win32_physical_memory_array.h"

MemorySnapshot TakeMemorySnapshot(IAutomationFactory& automation) {
    const TWin32_PhysicalMemory modules(true, automation);
    const TWin32_PhysicalMemoryArray arrays(true, automation);
    return {modules.Snapshot(), arrays.Snapshot()};
}
