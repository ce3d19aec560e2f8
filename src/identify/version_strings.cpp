#include "identify/version_strings.h"

#include "identify/identify_text.h"
#include "identify/pe_image.h"
#include "identify/string_helpers.h"
#include "util/file_bytes.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <optional>

namespace {

struct VersionKey {
    std::string FileVersionInfoRec::*field;
    const char* primaryKey;
    const char* fallbackKey; // as the fallback read spells it; the query ignores case
};

constexpr std::array<VersionKey, 8> kVersionKeys = {{
    {&FileVersionInfoRec::FileDescription, "FileDescription", "FileDescription"},
    {&FileVersionInfoRec::CompanyName, "CompanyName", "CompanyName"},
    {&FileVersionInfoRec::FileVersion, "FileVersion", "FileVersion"},
    {&FileVersionInfoRec::InternalName, "InternalName", "InternalName"},
    {&FileVersionInfoRec::LegalCopyright, "LegalCopyright", "LegalCopyRight"},
    {&FileVersionInfoRec::OriginalFilename, "OriginalFilename", "OriginalFileName"},
    {&FileVersionInfoRec::ProductName, "ProductName", "ProductName"},
    {&FileVersionInfoRec::ProductVersion, "ProductVersion", "ProductVersion"},
}};

bool KeyIs(const std::u16string& key, std::string_view wanted) {
    std::string ascii;
    for (const char16_t c : key) {
        if (c >= 0x80) {
            return false;
        }
        ascii += static_cast<char>(c);
    }
    return EqualsNoCase(ascii, wanted);
}

// The first string table of the file's own resource; nothing when the file cannot be read or
// has no version resource.
std::optional<FileVersionInfoRec> PrimaryRead(const std::string& path) {
    const std::unique_ptr<IByteSource> file = OpenFileBytes(path);
    if (!file) {
        return std::nullopt;
    }
    const auto block = ReadVersionResourceBytes(*file);
    if (!block) {
        return std::nullopt;
    }
    const VersionResource resource = ParseVersionResource(*block);
    FileVersionInfoRec record;
    if (resource.tables.empty()) {
        return record;
    }
    for (const auto& [key, value] : resource.tables.front().strings) {
        for (const VersionKey& wanted : kVersionKeys) {
            if (KeyIs(key, wanted.primaryKey) && (record.*wanted.field).empty()) {
                record.*wanted.field = IdentifyTextFromUtf16(value);
            }
        }
    }
    return record;
}

FileVersionInfoRec FallbackRead(const std::string& path, IVersionApi& platform) {
    FileVersionInfoRec record;
    const auto resource = platform.Load(path);
    if (!resource) {
        return record;
    }
    std::string prefix;
    if (const auto translation = platform.FirstTranslation(*resource)) {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%04X%04X", translation->language,
                      translation->codePage);
        prefix = std::string("\\StringFileInfo\\") + digits + "\\";
    }
    for (const VersionKey& key : kVersionKeys) {
        if (const auto text = platform.QueryText(*resource, prefix + key.fallbackKey)) {
            record.*key.field = IdentifyTextFromUtf16(*text);
        }
    }
    return record;
}

std::string CommasToDots(const std::string& version) {
    std::string out;
    for (std::size_t i = 0; i < version.size(); ++i) {
        if (version.compare(i, 2, ", ") == 0) {
            out += '.';
            ++i;
        } else {
            out += version[i];
        }
    }
    return out;
}

} // namespace

FileVersionInfoRec ReadVersionStrings(const std::string& path, IVersionApi& platform) {
    // Neither read may end the identification: what fails reads as nothing.
    std::optional<FileVersionInfoRec> record;
    try {
        record = PrimaryRead(path);
    } catch (const std::exception&) {
        record.reset();
    }
    if (!record || (record->FileDescription.empty() && record->CompanyName.empty() &&
                    record->FileVersion.empty())) {
        try {
            record = FallbackRead(path, platform);
        } catch (const std::exception&) {
            record = FileVersionInfoRec{};
        }
    }
    record->FileVersion = CommasToDots(record->FileVersion);
    record->ProductVersion = CommasToDots(record->ProductVersion);
    return *record;
}

std::string NativeSystemPath(const std::string& path, bool processRunsUnderWow64,
                             const std::string& systemFolder) {
    if (!processRunsUnderWow64 || systemFolder.empty() || !StartsWithExact(path, systemFolder)) {
        return path;
    }
    const std::string_view alias = "\\system32\\";
    for (std::size_t i = 0; i + alias.size() <= path.size(); ++i) {
        if (EqualsNoCase(std::string_view(path).substr(i, alias.size()), alias)) {
            return path.substr(0, i) + "\\sysnative\\" + path.substr(i + alias.size());
        }
    }
    return path;
}
