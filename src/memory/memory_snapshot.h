// What the module scan reads from the instrumentation service, as plain values: taken on any
// thread, scanned on the window's, or read from a saved report.
#pragma once

#include "wmi/automation.h"
#include "wmi/wmi_snapshot.h"

struct MemorySnapshot {
    TWmiClassSnapshot modules; // Win32_PhysicalMemory
    TWmiClassSnapshot arrays;  // Win32_PhysicalMemoryArray
};

// Runs the scan's two queries in its order, the modules and then the arrays, and keeps what each
// stored. A failed query is kept as failed, with its reason; nothing raises.
MemorySnapshot TakeMemorySnapshot(IAutomationFactory& automation);
