#include "util/registry_reader_win.h"

#include "util/codepage_win.h"
#include "util/os_error.h"
#include "util/registry_key_win.h"

#include <cstring>
#include <iterator>
#include <vector>

namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

UniqueRegKey OpenKey(RegistryRoot root, const std::string& key, REGSAM access) {
    // Key texts end with a backslash; the registry's own path form has none.
    std::wstring path = WideFromGbk(key);
    while (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    UniqueRegKey opened;
    if (RegOpenKeyExW(RootKey(root), path.c_str(), 0, access, opened.receive()) != ERROR_SUCCESS) {
        return {};
    }
    return opened;
}

} // namespace

WindowsRegistryReader::WindowsRegistryReader(bool view64)
    : access_(KEY_READ | (view64 ? KEY_WOW64_64KEY : 0)) {}

bool WindowsRegistryReader::KeyExists(RegistryRoot root, const std::string& key) {
    return static_cast<bool>(OpenKey(root, key, access_));
}

std::optional<std::vector<std::string>> WindowsRegistryReader::SubKeyNames(RegistryRoot root,
                                                                           const std::string& key) {
    const UniqueRegKey opened = OpenKey(root, key, access_);
    if (!opened) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    // A key name has at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        const LSTATUS status =
            RegEnumKeyExW(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) {
            break;
        }
        names.push_back(GbkFromWide(std::wstring_view(name, length)));
    }
    return names;
}

RegistryStringRead WindowsRegistryReader::ReadString(RegistryRoot root, const std::string& key,
                                                     const std::string& valueName) {
    const UniqueRegKey opened = OpenKey(root, key, access_);
    if (!opened) {
        return {};
    }
    const auto value = QueryRegistryValue(opened.get(), WideFromGbk(valueName));
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) {
        return {true, std::nullopt};
    }
    return {true, GbkFromWide(TextOfRegistryValue(*value))};
}

std::optional<std::int32_t> WindowsRegistryReader::ReadInteger(RegistryRoot root,
                                                               const std::string& key,
                                                               const std::string& valueName) {
    const UniqueRegKey opened = OpenKey(root, key, access_);
    if (!opened) {
        return std::nullopt;
    }
    const auto value = QueryRegistryValue(opened.get(), WideFromGbk(valueName));
    if (!value) {
        return std::nullopt;
    }
    if (value->type != REG_DWORD || value->data.size() < sizeof(DWORD)) {
        throw MakeOSError(ERROR_INVALID_DATATYPE);
    }
    DWORD number = 0;
    std::memcpy(&number, value->data.data(), sizeof number);
    return static_cast<std::int32_t>(number);
}
