#include "util/environment_win.h"

#include "util/codepage_win.h"
#include "util/handle_win.h"
#include "util/os_error.h"
#include "util/os_version.h"
#include "util/registry_reader_win.h"
#include "util/uninstall_entries.h"

#include <windows.h>

#include <lm.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

namespace {

// A 64-bit program runs only on a 64-bit system.
constexpr bool kProgramIs64Bit = sizeof(void*) == 8;

struct LibraryFree {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFree>;

struct NetApiBufferRelease {
    void operator()(void* buffer) const { NetApiBufferFree(buffer); }
};

std::optional<OsVersionRecord> QueryVersionRecord() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) {
        return std::nullopt;
    }
    return OsVersionRecord{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                           GbkFromWide(info.szCSDVersion)};
}

std::optional<NtVersionNumbers> QueryWorkstationVersion() {
    LPBYTE buffer = nullptr;
    if (NetWkstaGetInfo(nullptr, 100, &buffer) != NERR_Success) {
        return std::nullopt;
    }
    const std::unique_ptr<void, NetApiBufferRelease> owned(buffer);
    const auto* info = reinterpret_cast<const WKSTA_INFO_100*>(buffer);
    return NtVersionNumbers{info->wki100_ver_major, info->wki100_ver_minor};
}

UniqueHandle OpenEffectiveToken() {
    HANDLE token = nullptr;
    if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) {
        return UniqueHandle(token);
    }
    if (GetLastError() == ERROR_NO_TOKEN &&
        OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return UniqueHandle(token);
    }
    return {};
}

} // namespace

std::string GetWindowsVersionText() {
    return WindowsVersionText(QueryVersionRecord(), GetNtVersionText);
}

std::string GetNtVersionText() {
    return NtVersionText(QueryWorkstationVersion());
}

bool Is64BitWindows() {
    const UniqueLibrary kernel(LoadLibraryW(L"kernel32.dll"));
    if (!kernel) {
        throw MakeOSError(GetLastError());
    }
    // Looked up by name: systems before the 64-bit era do not have it.
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel.get(), "IsWow64Process")));
    if (isWow64Process == nullptr) {
        return kProgramIs64Bit;
    }
    BOOL emulated = FALSE;
    if (!isWow64Process(GetCurrentProcess(), &emulated)) {
        throw MakeOSError(GetLastError());
    }
    return emulated != FALSE || kProgramIs64Bit;
}

bool ProcessRunsUnderWow64() {
    BOOL emulated = FALSE;
    return IsWow64Process(GetCurrentProcess(), &emulated) && emulated != FALSE;
}

bool RunsAsAdministrator() {
    const UniqueHandle token = OpenEffectiveToken();
    if (!token) {
        return false;
    }
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
    if (size == 0) {
        return false;
    }
    // The group list is a variable-length record; keep it aligned for its pointers.
    std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    if (!GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size)) {
        return false;
    }
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof administrators;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize)) {
        return false;
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        const SID_AND_ATTRIBUTES& group = groups->Groups[i];
        if (EqualSid(group.Sid, administrators) &&
            (group.Attributes & SE_GROUP_USE_FOR_DENY_ONLY) == 0) {
            return true;
        }
    }
    return false;
}

void ListUninstallEntries(std::vector<std::string>& names, std::vector<std::string>& errors) {
    const bool is64Bit = Is64BitWindows();
    WindowsRegistryReader registry(is64Bit);
    ListUninstallEntries(registry, is64Bit, names, errors);
}

bool IsProgramInstalled(const std::string& prefix) {
    const bool is64Bit = Is64BitWindows();
    WindowsRegistryReader registry(is64Bit);
    return IsProgramInstalled(registry, is64Bit, prefix);
}
