#include "identify/system_identify_platform.h"

namespace {

// The native build has no registry: every key is missing.
class NoRegistry final : public IRegistryReader {
public:
    bool KeyExists(RegistryRoot, const std::string&) override { return false; }
    std::optional<std::vector<std::string>> SubKeyNames(RegistryRoot, const std::string&) override {
        return std::nullopt;
    }
    RegistryStringRead ReadString(RegistryRoot, const std::string&, const std::string&) override {
        return {};
    }
};

} // namespace

std::unique_ptr<TSystemIdentifyPlatform> MakeSystemIdentifyPlatform() {
    return std::make_unique<TSystemIdentifyPlatform>(IdentifyMachine{},
                                                     std::make_unique<NoRegistry>(),
                                                     MakeSystemVersionApi(), SystemFileSystem());
}
