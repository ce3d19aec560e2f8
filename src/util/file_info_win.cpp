#include "util/file_info.h"

#include "util/codepage_win.h"
#include "util/wide_file_win.h"

#include <cstring>

namespace {

std::uint64_t Size(DWORD high, DWORD low) {
    return (std::uint64_t{high} << 32) | low;
}

} // namespace

bool WideFileExists(const std::string& path) {
    WIN32_FIND_DATAW data{};
    const FindHandle search = WideFindFirstFile(path, data);
    return search && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::uint64_t GetFileSize64(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(WideFromGbk(path).c_str(), GetFileExInfoStandard, &data)) {
        return Size(data.nFileSizeHigh, data.nFileSizeLow);
    }
    return GetFileSizeByFind(path);
}

std::uint64_t GetFileSizeByFind(const std::string& path) {
    WIN32_FIND_DATAW data{};
    const FindHandle search = WideFindFirstFile(path, data);
    return search ? Size(data.nFileSizeHigh, data.nFileSizeLow) : 0;
}

bool WideCreateDirectory(const std::string& path) {
    return WideCreateDirectory(path, WideApiAvailable());
}

std::optional<std::uint64_t> ReadFixedFileVersion(const std::string& path) {
    const auto resource = WideLoadFileVersionInfo(path);
    if (!resource) {
        return std::nullopt;
    }
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(resource->data(), L"\\", &block, &length) || block == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    // The system's answer is taken only where it lies inside the loaded resource.
    const auto* begin = resource->data();
    const auto* found = static_cast<const char*>(block);
    if (resource->size() < sizeof(VS_FIXEDFILEINFO) || found < begin ||
        found > begin + (resource->size() - sizeof(VS_FIXEDFILEINFO))) {
        return std::nullopt;
    }
    VS_FIXEDFILEINFO fixed{};
    std::memcpy(&fixed, found, sizeof fixed);
    return Size(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
}
