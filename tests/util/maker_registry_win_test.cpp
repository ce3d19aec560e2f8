#include "util/maker_registry_win.h"

#include "registry_fixture_win.h"
#include "util/codepage_win.h"
#include "util/os_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

namespace {

const std::wstring kMakerKey = L"SOFTWARE\\Tarvik";

// A value name of the test's own under the maker's key, removed at the end together with the
// key when the test created it.
class MakerRegistryTest : public ::testing::Test {
protected:
    MakerRegistryTest() {
        HKEY key = nullptr;
        keyExisted =
            RegOpenKeyExW(HKEY_CURRENT_USER, kMakerKey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
        RegCloseKey(key);
        std::random_device random;
        name = L"SlotvaneTest" + std::to_wstring(random());
    }
    ~MakerRegistryTest() override {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kMakerKey.c_str(), name.c_str());
        if (!keyExisted) {
            RegDeleteKeyW(HKEY_CURRENT_USER, kMakerKey.c_str());
        }
    }

    bool keyExisted = false;
    std::wstring name;
};

TEST_F(MakerRegistryTest, StoresAndReadsThePathOfAProgram) {
    const std::string path = "C:\\Program Files\\Tarvik\\\xC4\xDA\xB4\xE6\\slotvane.exe";
    EXPECT_EQ(ReadMakerRegistryValue(GbkFromWide(name)), "");

    StoreMakerRegistryValue(GbkFromWide(name), path);
    EXPECT_EQ(ReadMakerRegistryValue(GbkFromWide(name)), path);

    StoreMakerRegistryValue(GbkFromWide(name), "");
    EXPECT_EQ(ReadMakerRegistryValue(GbkFromWide(name)), "");

    wchar_t stored[MAX_PATH] = {};
    DWORD size = sizeof stored;
    DWORD type = 0;
    StoreMakerRegistryValue(GbkFromWide(name), path);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kMakerKey.c_str(), name.c_str(), RRF_RT_ANY, &type,
                           stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(stored), L"C:\\Program Files\\Tarvik\\内存\\slotvane.exe");
}

TEST_F(MakerRegistryTest, ReadsAnExpandableStringAsStored) {
    WriteRegistryText(kMakerKey, name, REG_EXPAND_SZ, L"%ProgramFiles%\\Tarvik\\Melvo.exe");
    EXPECT_EQ(ReadMakerRegistryValue(GbkFromWide(name)), "%ProgramFiles%\\Tarvik\\Melvo.exe");
}

TEST_F(MakerRegistryTest, RaisesTheRegistrysTypeErrorForAValueThatIsNoText) {
    const DWORD number = 1;
    WriteRegistryValue(kMakerKey, name, REG_DWORD, &number, sizeof number);
    try {
        ReadMakerRegistryValue(GbkFromWide(name));
        FAIL() << "no error raised";
    } catch (const OSError& error) {
        EXPECT_EQ(error.Code(), static_cast<std::uint32_t>(ERROR_UNSUPPORTED_TYPE));
        EXPECT_STRNE(error.what(), "");
    }
}

} // namespace
