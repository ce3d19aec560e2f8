#include "app/app_platform_win.h"

#include "util/codepage_win.h"
#include "util/environment_win.h"
#include "util/file_info.h"
#include "util/folders_win.h"
#include "util/handle_win.h"
#include "util/maker_registry_win.h"

#include "slotvane_config.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>

namespace {

struct LocalMemoryRelease {
    void operator()(void* memory) const { LocalFree(memory); }
};

} // namespace

std::string WindowsAppPlatform::ProgramPath() {
    return ::ProgramPath();
}

std::optional<std::string> WindowsAppPlatform::FirstArgument() {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalMemoryRelease> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments || count < 2) {
        return std::nullopt;
    }
    return GbkFromWide(arguments.get()[1]);
}

std::string WindowsAppPlatform::UserDataFolder() {
    return GetUserDataFolder(::ProgramPath(), config::kAppTitle);
}

std::string WindowsAppPlatform::ReadMakerRegistryValue(const std::string& name) {
    return ::ReadMakerRegistryValue(name);
}

void WindowsAppPlatform::StoreMakerRegistryValue(const std::string& name, const std::string& text) {
    ::StoreMakerRegistryValue(name, text);
}

bool WindowsAppPlatform::FileExistsNonEmpty(const std::string& path) {
    return ::FileExistsNonEmpty(path);
}

std::string WindowsAppPlatform::FileVersionText(const std::string& path) {
    return GetFileVersionText(path);
}

std::optional<std::string> WindowsAppPlatform::ReadSmallFile(const std::string& path,
                                                             std::size_t maxBytes) {
    const UniqueHandle file(CreateFileW(WideFromGbk(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                      &read, nullptr)) {
            return std::nullopt;
        }
        if (read == 0) {
            break; // the file shrank while being read
        }
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

std::string WindowsAppPlatform::WindowsVersionText() {
    return GetWindowsVersionText();
}

bool WindowsAppPlatform::Is64BitWindows() {
    return ::Is64BitWindows();
}

bool WindowsAppPlatform::RunsAsAdministrator() {
    return ::RunsAsAdministrator();
}

bool WindowsAppPlatform::IsProgramInstalled(const std::string& prefix) {
    return ::IsProgramInstalled(prefix);
}

std::string WindowsAppPlatform::CleanVirtualStore(const std::string& programFolder) {
    return ::CleanVirtualStore(programFolder);
}
