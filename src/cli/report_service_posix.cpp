#include "cli/report_service.h"

#include "cli/report_command.h"

#include <memory>
#include <stdexcept>

namespace {

// The native build has no instrumentation service: creating its objects fails, and the report
// says so as it would on a Windows system without the service.
class AbsentService final : public IAutomationFactory {
public:
    std::shared_ptr<IAutomationObject> CreateObject(const std::string& progId) override {
        throw std::runtime_error("no instrumentation service on this system (" + progId + ")");
    }
};

} // namespace

int RunSystemReportCommand(const std::vector<std::string>& arguments, CliContext& context) {
    AbsentService automation;
    return RunReportCommand(arguments, automation, context);
}
