// Registry keys and values as the program reads them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Owns an open registry key, closed with RegCloseKey.
class UniqueRegKey {
public:
    UniqueRegKey() = default;
    UniqueRegKey(const UniqueRegKey&) = delete;
    UniqueRegKey& operator=(const UniqueRegKey&) = delete;
    UniqueRegKey(UniqueRegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    UniqueRegKey& operator=(UniqueRegKey&& other) noexcept {
        if (this != &other) {
            reset();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    ~UniqueRegKey() { reset(); }

    HKEY get() const { return key_; }
    // For the registry calls that hand out a key.
    HKEY* receive() {
        reset();
        return &key_;
    }
    explicit operator bool() const { return key_ != nullptr; }

private:
    void reset() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
    }

    HKEY key_ = nullptr;
};

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// The value's type and data; nothing when the value is missing or cannot be read.
std::optional<RegistryValue> QueryRegistryValue(HKEY key, const std::wstring& name);

// The text of a string value's data, without its terminating zeros.
std::wstring TextOfRegistryValue(const RegistryValue& value);
