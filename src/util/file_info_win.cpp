#include "util/file_info.h"

#include "util/codepage_win.h"
#include "util/wide_file_win.h"

#include <vector>

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
    const DWORD size = WideGetFileVersionInfoSize(path);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> resource(size);
    if (!WideGetFileVersionInfo(path, size, resource.data())) {
        return std::nullopt;
    }
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(resource.data(), L"\\", &block, &length) || length == 0 ||
        block == nullptr) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    return Size(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}
