// The module scan: what the instrumentation service knows about the board's memory arrays and
// modules, turned into what the main window shows, with one log line per row.
#pragma once

#include "memory/memory_snapshot.h"
#include "memory/memory_view.h"
#include "wmi/automation.h"

#include <cstdint>
#include <string>

class TKLog;

// Sums the arrays into the system panel, enables one slot panel per slot of the array read last,
// narrows the window below three slots, fills and logs one list view per module (six rows, and a
// seventh with the speed it runs at when the service gives it), shows the first page of four of
// them in the panels with the empty-slot and search buttons, and the installed memory. A failed
// query counts as no instance. A value that cannot be converted ends the scan with the error,
// leaving the state as far as it got. Returns false when the module query failed, for callers that
// must tell that apart from a machine without modules.
bool ScanModules(MemoryView& state, const MemorySnapshot& snapshot, TKLog* log);
// The same over the service's answers as they come: takes the snapshot, then scans it.
bool ScanModules(MemoryView& state, IAutomationFactory& automation, TKLog* log);

// True when the part-number row holds more than blanks and control characters.
bool HasPartNumber(const SlotPanelState& panel);

// The type row: the type name with the module's PC rating or its speed. A firmware memory-device
// type of 0 is absent.
std::string ModuleTypeText(std::uint16_t memoryType, std::uint32_t speed,
                           std::uint32_t smbiosMemoryType = 0);
