#include "app/scan_worker_win.h"

#include "app/com_init_win.h"

#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

// Shared by the window's side and the worker, which keeps it alive after the window's side has
// gone. The worker posts only while `window` is set; the window's side clears it under the same
// lock when it abandons the worker, so no snapshot reaches a window that no longer waits.
struct ScanHandoff {
    std::mutex mutex;
    HWND window = nullptr;
    UINT message = 0;
    std::optional<MemorySnapshot> snapshot;
};

namespace {

// Both queries failed for the one reason.
MemorySnapshot FailedSnapshot(const std::string& reason) {
    MemorySnapshot snapshot;
    snapshot.modules.error = reason;
    snapshot.arrays.error = reason;
    return snapshot;
}

MemorySnapshot TakeSnapshot(const ScanAutomationMaker& makeAutomation) {
    try {
        const TComInitialization com;
        // Released before the apartment ends, with every object of the service.
        const std::unique_ptr<IAutomationFactory> automation = makeAutomation();
        return TakeMemorySnapshot(*automation);
    } catch (const std::exception& error) {
        return FailedSnapshot(error.what());
    } catch (...) {
        return FailedSnapshot("Unknown error");
    }
}

void RunWorker(std::shared_ptr<ScanHandoff> handoff, ScanAutomationMaker makeAutomation) {
    MemorySnapshot snapshot = TakeSnapshot(makeAutomation);
    const std::lock_guard<std::mutex> lock(handoff->mutex);
    if (handoff->window != nullptr && IsWindow(handoff->window)) {
        handoff->snapshot = std::move(snapshot);
        PostMessageW(handoff->window, handoff->message, 0, 0);
    }
}

} // namespace

TScanWorker::TScanWorker(HWND window, UINT message, ScanAutomationMaker makeAutomation)
    : handoff_(std::make_shared<ScanHandoff>()) {
    handoff_->window = window;
    handoff_->message = message;
    // Detached: the process never waits for a service that does not answer.
    std::thread(RunWorker, handoff_, std::move(makeAutomation)).detach();
}

TScanWorker::~TScanWorker() {
    const std::lock_guard<std::mutex> lock(handoff_->mutex);
    handoff_->window = nullptr;
    handoff_->snapshot.reset();
}

std::optional<MemorySnapshot> TScanWorker::Take() {
    const std::lock_guard<std::mutex> lock(handoff_->mutex);
    return std::exchange(handoff_->snapshot, std::nullopt);
}
