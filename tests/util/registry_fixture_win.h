// A fresh registry key under HKEY_CURRENT_USER\Software\SlotvaneTests, deleted with everything
// in it at the end.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

class TestRegistryKey {
public:
    TestRegistryKey() {
        std::random_device random;
        path_ =
            L"Software\\SlotvaneTests\\" + std::to_wstring(random()) + std::to_wstring(random());
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;
    ~TestRegistryKey() {
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\SlotvaneTests");
    }

    // The key's path under HKEY_CURRENT_USER, without a trailing backslash.
    const std::wstring& Path() const { return path_; }
    HKEY Key() const { return key_; }

private:
    std::wstring path_;
    HKEY key_ = nullptr;
};

// Writes a value of the given type under HKEY_CURRENT_USER\key, creating the key.
inline void WriteRegistryValue(const std::wstring& key, const std::wstring& name, DWORD type,
                               const void* data, DWORD size) {
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(opened, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(opened);
}

inline void WriteRegistryText(const std::wstring& key, const std::wstring& name, DWORD type,
                              const std::wstring& text) {
    WriteRegistryValue(key, name, type, text.c_str(),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}
