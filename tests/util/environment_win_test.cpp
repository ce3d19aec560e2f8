#include "util/environment_win.h"

#include "registry_fixture_win.h"
#include "util/codepage_win.h"
#include "util/handle_win.h"
#include "util/os_version.h"
#include "util/registry_reader_win.h"
#include "util/uninstall_entries.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The version of the running system as the kernel reports it, whatever the program's manifest.
NtVersionNumbers KernelVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    EXPECT_NE(rtlGetVersion, nullptr);
    EXPECT_EQ(rtlGetVersion(&info), 0);
    return {info.dwMajorVersion, info.dwMinorVersion};
}

TEST(EnvironmentProbes, NameTheWindowsVersionThatTheSystemReports) {
    const NtVersionNumbers kernel = KernelVersion();
    const std::string expected = NtVersionText(kernel);
    EXPECT_EQ(GetNtVersionText(), expected);
    EXPECT_EQ(GetWindowsVersionText(), expected);
    if (kernel.major == 10) {
        // Windows 11 as well as Windows 10, and Wine set to either.
        EXPECT_EQ(GetWindowsVersionText(), "10.0 (Windows10)");
    }
}

TEST(EnvironmentProbes, KnowThatA64BitProgramRunsOnA64BitSystem) {
    EXPECT_TRUE(Is64BitWindows());
}

// Runs the calling thread on a copy of the process's token, with the Administrators group turned
// into a deny-only group when asked, until the object goes.
class ScopedImpersonation {
public:
    explicit ScopedImpersonation(bool denyAdministrators) {
        HANDLE process = nullptr;
        EXPECT_TRUE(OpenProcessToken(
            GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY, &process));
        const UniqueHandle processToken(process);
        BYTE administrators[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof administrators;
        EXPECT_TRUE(
            CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize));
        SID_AND_ATTRIBUTES deny{administrators, 0};
        HANDLE restricted = nullptr;
        EXPECT_TRUE(CreateRestrictedToken(processToken.get(), 0, denyAdministrators ? 1 : 0, &deny,
                                          0, nullptr, 0, nullptr, &restricted));
        const UniqueHandle restrictedToken(restricted);
        HANDLE impersonation = nullptr;
        EXPECT_TRUE(DuplicateToken(restrictedToken.get(), SecurityImpersonation, &impersonation));
        token_.reset(impersonation);
        EXPECT_TRUE(SetThreadToken(nullptr, token_.get()));
    }
    ScopedImpersonation(const ScopedImpersonation&) = delete;
    ScopedImpersonation& operator=(const ScopedImpersonation&) = delete;
    ~ScopedImpersonation() { RevertToSelf(); }

private:
    UniqueHandle token_;
};

TEST(EnvironmentProbes, SeeTheAdministratorsGroupUnlessItIsForDenyOnly) {
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof administrators;
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize));
    BOOL member = FALSE;
    ASSERT_TRUE(CheckTokenMembership(nullptr, administrators, &member));
    EXPECT_EQ(RunsAsAdministrator(), member != FALSE);
    // Wine's user is an administrator, so the deny-only case below shows a change.
    ASSERT_TRUE(member);

    {
        const ScopedImpersonation asProcess(false);
        EXPECT_TRUE(RunsAsAdministrator());
    }
    {
        const ScopedImpersonation denyOnly(true);
        EXPECT_FALSE(RunsAsAdministrator());
    }
    EXPECT_TRUE(RunsAsAdministrator());
}

const std::wstring kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Reads the uninstall keys from copies under a test key: HKCU\<test>\HKCU\... and
// HKCU\<test>\HKLM\....
class RedirectedRegistry final : public IRegistryReader {
public:
    explicit RedirectedRegistry(const std::wstring& testKey) : testKey_(GbkFromWide(testKey)) {}

    bool KeyExists(RegistryRoot root, const std::string& key) override {
        return system_.KeyExists(RegistryRoot::CurrentUser, Redirect(root, key));
    }
    std::optional<std::vector<std::string>> SubKeyNames(RegistryRoot root,
                                                        const std::string& key) override {
        return system_.SubKeyNames(RegistryRoot::CurrentUser, Redirect(root, key));
    }
    RegistryStringRead ReadString(RegistryRoot root, const std::string& key,
                                  const std::string& valueName) override {
        return system_.ReadString(RegistryRoot::CurrentUser, Redirect(root, key), valueName);
    }

private:
    std::string Redirect(RegistryRoot root, const std::string& key) const {
        return testKey_ + (root == RegistryRoot::CurrentUser ? "\\HKCU\\" : "\\HKLM\\") + key;
    }

    std::string testKey_;
    WindowsRegistryReader system_{true};
};

TEST(UninstallEntries, ReadStringDisplayNamesFromTheRegistry) {
    const TestRegistryKey test;
    const std::wstring user = test.Path() + L"\\HKCU\\" + kUninstall + L"\\";
    const std::wstring machine = test.Path() + L"\\HKLM\\" + kUninstall + L"\\";
    WriteRegistryText(user + L"A-Slotvane", L"DisplayName", REG_SZ, L"Tarvik Slotvane 4.5");
    WriteRegistryText(user + L"B-Plain", L"DisplayVersion", REG_SZ, L"1.0");
    WriteRegistryText(user + L"C-Expand", L"DisplayName", REG_EXPAND_SZ, L"%SystemRoot%\\x");
    WriteRegistryText(user + L"D-Chinese", L"DisplayName", REG_SZ, L"内存工具");
    const DWORD number = 7;
    WriteRegistryValue(user + L"E-Number", L"DisplayName", REG_DWORD, &number, sizeof number);
    WriteRegistryText(machine + L"Zeta", L"DisplayName", REG_SZ, L"tarvik slotvane");

    RedirectedRegistry registry(test.Path());
    std::vector<std::string> names;
    std::vector<std::string> errors;
    ListUninstallEntries(registry, true, names, errors);

    const std::string header = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const std::string wowHeader =
        "HKEY_LOCAL_"
        "MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    EXPECT_EQ(names, (std::vector<std::string>{
                         "HKEY_CURRENT_USER\\" + header, "Tarvik Slotvane 4.5", "B-Plain",
                         "%SystemRoot%\\x", "\xC4\xDA\xB4\xE6\xB9\xA4\xBE\xDF", "E-Number",
                         "HKEY_LOCAL_MACHINE\\" + header, "tarvik slotvane", wowHeader}));
    EXPECT_EQ(errors, std::vector<std::string>{"Unable to open " + wowHeader});
    EXPECT_TRUE(IsProgramInstalled(registry, true, "TARVIK SLOTVANE"));
    EXPECT_TRUE(IsProgramInstalled(registry, true, "%SystemRoot%"));
}

TEST(UninstallEntries, FindAProgramThatTheCurrentUserHasInstalled) {
    std::random_device random;
    const std::wstring name = L"Slotvane Test Entry " + std::to_wstring(random());
    const std::wstring key = kUninstall + L"\\" + name;
    const std::string prefix = "slotvane TEST entry " + GbkFromWide(name.substr(20));
    ASSERT_FALSE(IsProgramInstalled(prefix));

    WriteRegistryText(key, L"DisplayName", REG_SZ, name);
    std::vector<std::string> names;
    std::vector<std::string> errors;
    ListUninstallEntries(names, errors);
    const bool installed = IsProgramInstalled(prefix);
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());

    EXPECT_TRUE(installed);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names[0], "HKEY_CURRENT_USER\\" + GbkFromWide(kUninstall) + "\\");
    EXPECT_TRUE(IsProgramInstalled("hkey_local_machine"));
    EXPECT_TRUE(IsProgramInstalled(""));
    EXPECT_FALSE(IsProgramInstalled(prefix));
}

} // namespace
