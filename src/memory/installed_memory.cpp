#include "memory/installed_memory.h"

#include "log/log.h"

#include <cstdint>
#include <string>

void ShowSystemMemoryWithoutModules(MemoryView& state, const MemorySnapshot& snapshot,
                                    const IMemoryStatusSource& memory, TKLog* log) {
    if (snapshot.modules.loaded && !snapshot.modules.instances.empty()) {
        return;
    }
    const std::uint64_t bytes = InstalledMemoryBytes(memory, memory.QueryMemoryStatus());
    state.curmemLabel = "当前内存: " + std::to_string(bytes / 1024 / 1024 / 1024) + " GB";
    AddLine(log, "没有内存模块记录, 使用系统总内存", 1);
}
