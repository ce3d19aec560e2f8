// A fake instrumentation service for the module scan's worker: it answers from a fake machine,
// but only once the test has opened its gate, so that a test can hold the scan at the service
// for as long as it likes, or for ever. The gate also counts the services made and tells when
// the worker has let go of the maker it was given.
#pragma once

#include "wmi/automation.h"
#include "wmi/fake_wmi_service.h"

// <condition_variable> brings the durations; <chrono> itself does not compile to GBK.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

class ServiceGate {
public:
    explicit ServiceGate(bool open) : open_(open) {}

    void Open() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }

    // The service's first call: waits here until the gate is open. A test that never opens it
    // still gets its answer after a minute, so that a window that waits for its service shows
    // in the test's checks rather than as a test that never ends.
    void Pass() {
        std::unique_lock<std::mutex> lock(mutex_);
        ++waiting_;
        opened_.wait_for(lock, std::chrono::minutes(1), [this] { return open_; });
        --waiting_;
    }

    // A worker is held at the closed gate.
    bool Holding() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return waiting_ > 0;
    }
    // How many times the service was made, once for each run of the scan's queries.
    int Made() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return made_;
    }
    // Whoever held the maker (the worker, once it has one) has let go of it.
    bool MakerReleased() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return released_;
    }

    void NoteMade() {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++made_;
    }
    void NoteReleased() {
        const std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable opened_;
    bool open_;
    int waiting_ = 0;
    int made_ = 0;
    bool released_ = false;
};

class GatedAutomation final : public IAutomationFactory {
public:
    GatedAutomation(std::shared_ptr<ServiceGate> gate, const FakeMachine& machine)
        : gate_(std::move(gate)) {
        service_.Machine() = machine;
    }

    std::shared_ptr<IAutomationObject> CreateObject(const std::string& progId) override {
        if (!passed_) {
            gate_->Pass();
            passed_ = true;
        }
        return service_.CreateObject(progId);
    }

private:
    std::shared_ptr<ServiceGate> gate_;
    FakeAutomation service_;
    bool passed_ = false;
};

// Tells the gate when the last copy of the maker that holds it is gone.
class MakerReleaseNotice {
public:
    explicit MakerReleaseNotice(std::shared_ptr<ServiceGate> gate) : gate_(std::move(gate)) {}
    MakerReleaseNotice(const MakerReleaseNotice&) = delete;
    MakerReleaseNotice& operator=(const MakerReleaseNotice&) = delete;
    ~MakerReleaseNotice() { gate_->NoteReleased(); }

private:
    std::shared_ptr<ServiceGate> gate_;
};

// The maker of the scan's automation factory: the machine behind the gate.
inline std::function<std::unique_ptr<IAutomationFactory>()>
GatedService(std::shared_ptr<ServiceGate> gate, FakeMachine machine) {
    auto notice = std::make_shared<MakerReleaseNotice>(gate);
    return [gate, machine, notice]() -> std::unique_ptr<IAutomationFactory> {
        gate->NoteMade();
        return std::make_unique<GatedAutomation>(gate, machine);
    };
}
