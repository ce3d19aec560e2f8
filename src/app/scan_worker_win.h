// The module scan's queries on a worker thread: the instrumentation service's first answer after
// boot can take tens of seconds, and some never come, so the window does not wait for them.
#pragma once

#include "memory/memory_snapshot.h"
#include "wmi/automation.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

// Makes the automation factory of the scan's queries. It runs on the worker's thread, inside
// the worker's own COM apartment.
using ScanAutomationMaker = std::function<std::unique_ptr<IAutomationFactory>()>;

struct ScanHandoff;

// One run of the queries. The worker owns everything it uses (the maker and what it holds, its
// COM apartment, the factory), takes the snapshot and posts `message` to the window, only while
// the window still wants it; it touches nothing else of the window. It is never joined: one
// that the window has abandoned ends with its queries, or with the process.
class TScanWorker {
public:
    TScanWorker(HWND window, UINT message, ScanAutomationMaker makeAutomation);
    TScanWorker(const TScanWorker&) = delete;
    TScanWorker& operator=(const TScanWorker&) = delete;
    // Abandons the worker: nothing is posted any more.
    ~TScanWorker();

    // On the posted message: the snapshot, once; none before the worker has handed it over.
    std::optional<MemorySnapshot> Take();

private:
    std::shared_ptr<ScanHandoff> handoff_;
};
