#include "wmi/automation.h"

#include <stdexcept>

namespace {

class TNoAutomation final : public IAutomationFactory {
public:
    std::shared_ptr<IAutomationObject> CreateObject(const std::string& progId) override {
        throw std::logic_error("no automation object can be created here: " + progId);
    }
};

} // namespace

IAutomationFactory& NoAutomation() {
    static TNoAutomation factory; // stateless
    return factory;
}
