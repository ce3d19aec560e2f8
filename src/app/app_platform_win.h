// The machine as the main window's logic sees it, over the Windows helpers of util/.
#pragma once

#include "app/app_platform.h"

class WindowsAppPlatform final : public IAppPlatform {
public:
    std::string ProgramPath() override;
    std::optional<std::string> FirstArgument() override;
    std::string UserDataFolder() override;
    std::string ReadMakerRegistryValue(const std::string& name) override;
    void StoreMakerRegistryValue(const std::string& name, const std::string& text) override;
    bool FileExistsNonEmpty(const std::string& path) override;
    std::string FileVersionText(const std::string& path) override;
    std::optional<std::string> ReadSmallFile(const std::string& path,
                                             std::size_t maxBytes) override;
    std::string WindowsVersionText() override;
    bool Is64BitWindows() override;
    bool RunsAsAdministrator() override;
    bool IsProgramInstalled(const std::string& prefix) override;
    std::string CleanVirtualStore(const std::string& programFolder) override;
};
