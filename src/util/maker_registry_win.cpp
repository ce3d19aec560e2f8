#include "util/maker_registry_win.h"

#include "slotvane_config.h"
#include "util/codepage_win.h"
#include "util/os_error.h"
#include "util/registry_key_win.h"

namespace {

UniqueRegKey OpenMakerKey() {
    UniqueRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WideFromGbk(config::kMakerRegistryKey).c_str(), 0,
                        nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return key;
}

} // namespace

std::string ReadMakerRegistryValue(const std::string& name) {
    const UniqueRegKey key = OpenMakerKey();
    if (!key) {
        return {};
    }
    const auto value = QueryRegistryValue(key.get(), WideFromGbk(name));
    if (!value) {
        return {};
    }
    // Expandable strings are text too; they are returned as stored.
    if (value->type != REG_SZ && value->type != REG_EXPAND_SZ) {
        throw MakeOSError(ERROR_UNSUPPORTED_TYPE);
    }
    return GbkFromWide(TextOfRegistryValue(*value));
}

void StoreMakerRegistryValue(const std::string& name, const std::string& text) {
    const UniqueRegKey key = OpenMakerKey();
    if (!key) {
        return;
    }
    const std::wstring data = WideFromGbk(text);
    const LSTATUS status = RegSetValueExW(key.get(), WideFromGbk(name).c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(data.c_str()),
                                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) {
        throw MakeOSError(static_cast<std::uint32_t>(status));
    }
}
