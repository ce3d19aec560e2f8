// The installed-memory label where the instrumentation service reports no memory module, as it
// does on several virtual machines that have memory all the same.
#pragma once

#include "memory/memory_monitor.h"
#include "memory/memory_snapshot.h"
#include "memory/memory_view.h"

class TKLog;

// After the scan: when the module query failed or found no module, the installed-memory label
// shows the machine's installed memory as the memory monitor has it, in whole gigabytes, and the
// log says so in one line. Raises OSError when the system cannot tell its memory status.
void ShowSystemMemoryWithoutModules(MemoryView& state, const MemorySnapshot& snapshot,
                                    const IMemoryStatusSource& memory, TKLog* log);
