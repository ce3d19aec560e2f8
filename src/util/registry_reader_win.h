// The system registry behind the read-only registry seam.
#pragma once

#include "util/registry_reader.h"

#include <windows.h>

class WindowsRegistryReader final : public IRegistryReader {
public:
    // With view64 the 64-bit view is read even by a 32-bit program on a 64-bit system.
    explicit WindowsRegistryReader(bool view64);

    bool KeyExists(RegistryRoot root, const std::string& key) override;
    std::optional<std::vector<std::string>> SubKeyNames(RegistryRoot root,
                                                        const std::string& key) override;
    RegistryStringRead ReadString(RegistryRoot root, const std::string& key,
                                  const std::string& valueName) override;
    std::optional<std::int32_t> ReadInteger(RegistryRoot root, const std::string& key,
                                            const std::string& valueName) override;

private:
    REGSAM access_;
};
