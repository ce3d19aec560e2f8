#include "util/registry_key_win.h"

#include <cstring>

std::optional<RegistryValue> QueryRegistryValue(HKEY key, const std::wstring& name) {
    RegistryValue value;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    // The value may grow between the two calls; ask again until the buffer fits.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        value.data.resize(size);
        status =
            RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.data.resize(size);
            return value;
        }
    }
    return std::nullopt;
}

std::wstring TextOfRegistryValue(const RegistryValue& value) {
    std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) {
        std::memcpy(text.data(), value.data.data(), text.size() * sizeof(wchar_t));
    }
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
}
