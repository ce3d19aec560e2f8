#include "identify/version_api.h"

#include "identify/pe_image.h"
#include "util/file_bytes.h"

std::optional<std::string> ParsedVersionApi::Load(const std::string& path) {
    const std::unique_ptr<IByteSource> file = OpenFileBytes(path);
    if (!file) {
        return std::nullopt;
    }
    auto resource = ReadVersionResourceBytes(*file);
    if (!resource || resource->empty()) {
        return std::nullopt;
    }
    return resource;
}

std::optional<std::u16string> ParsedVersionApi::QueryText(const std::string& resource,
                                                          const std::string& subBlock) {
    const auto value = QueryVersionValue(resource, subBlock);
    if (!value) {
        return std::nullopt;
    }
    return TextUpToNul(value->bytes);
}

std::optional<VersionTranslation> ParsedVersionApi::FirstTranslation(const std::string& resource) {
    const auto value = QueryVersionValue(resource, "\\VarFileInfo\\Translation");
    if (!value || value->bytes.size() < 4) {
        return std::nullopt;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(value->bytes.data());
    return VersionTranslation{static_cast<std::uint16_t>(p[0] | p[1] << 8),
                              static_cast<std::uint16_t>(p[2] | p[3] << 8)};
}

std::optional<std::string> LoadVersionResource(const std::string& path) {
    return ParsedVersionApi().Load(path);
}
