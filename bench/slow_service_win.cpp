// The program as the slow-service case of scripts/bench runs it: slotvane.exe whose
// instrumentation service answers only after a fixed delay, as a cold service does after boot.
// The delay in milliseconds comes from SLOTVANE_BENCH_SERVICE_DELAY_MS (0 when unset), so that
// the command line, which the program logs, stays as the shipped program's.
#include "app/program_win.h"
#include "wmi/automation.h"
#include "wmi/com_automation_win.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

// The system's service, reached only once the delay has passed.
class DelayedAutomation final : public IAutomationFactory {
public:
    explicit DelayedAutomation(DWORD delayMs) : delayMs_(delayMs) {}

    std::shared_ptr<IAutomationObject> CreateObject(const std::string& progId) override {
        Sleep(delayMs_);
        delayMs_ = 0;
        return system_.CreateObject(progId);
    }

private:
    DWORD delayMs_;
    TComAutomation system_;
};

DWORD ServiceDelayMs() {
    const char* delay = std::getenv("SLOTVANE_BENCH_SERVICE_DELAY_MS");
    return delay != nullptr ? static_cast<DWORD>(std::strtoul(delay, nullptr, 10)) : 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const DWORD delayMs = ServiceDelayMs();
    return RunSlotvane(instance, showCommand,
                       [delayMs] { return std::make_unique<DelayedAutomation>(delayMs); });
}
