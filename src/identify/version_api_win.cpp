#include "identify/version_api.h"

#include "identify/pe_image.h"
#include "util/codepage_win.h"
#include "util/file_bytes.h"
#include "util/wide_file_win.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

// The system's value query. Its reported length may reach beyond the resource (measured: it
// does), so the value is cut to the resource's end; nothing when the value lies outside it.
std::optional<std::string_view> Query(const std::string& resource, const std::wstring& subBlock,
                                      std::size_t unitSize) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(resource.data(), subBlock.c_str(), &value, &length) || value == nullptr) {
        return std::nullopt;
    }
    const auto* begin = resource.data();
    const auto* found = static_cast<const char*>(value);
    if (found < begin || found > begin + resource.size()) {
        return std::nullopt;
    }
    const auto room = static_cast<std::size_t>(begin + resource.size() - found);
    return std::string_view(found, std::min<std::size_t>(std::size_t{length} * unitSize, room));
}

class WindowsVersionApi final : public IVersionApi {
public:
    std::optional<std::string> Load(const std::string& path) override {
        // The system's reader trusts the size the file gives its resource (a claim beyond the
        // file's end crashes it under Wine), so it reads only what the parser has found whole.
        const std::unique_ptr<IByteSource> file = OpenFileBytes(path);
        if (!file || !VersionResourceLiesInFile(*file)) {
            return std::nullopt;
        }
        return WideLoadFileVersionInfo(path);
    }

    std::optional<std::u16string> QueryText(const std::string& resource,
                                            const std::string& subBlock) override {
        // A text value's length counts characters.
        const auto value = Query(resource, WideFromGbk(subBlock), sizeof(wchar_t));
        if (!value) {
            return std::nullopt;
        }
        return TextUpToNul(*value);
    }

    std::optional<VersionTranslation> FirstTranslation(const std::string& resource) override {
        const auto value = Query(resource, L"\\VarFileInfo\\Translation", 1);
        if (!value || value->size() < 4) {
            return std::nullopt;
        }
        std::uint16_t words[2];
        std::memcpy(words, value->data(), sizeof words);
        return VersionTranslation{words[0], words[1]};
    }
};

} // namespace

std::unique_ptr<IVersionApi> MakeSystemVersionApi() {
    return std::make_unique<WindowsVersionApi>();
}
