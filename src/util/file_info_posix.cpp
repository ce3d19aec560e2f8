#include "util/file_info.h"

#include "util/native_path_posix.h"

#include <sys/stat.h>

namespace {

std::optional<struct stat> Status(const std::string& path) {
    struct stat info {};
    if (stat(NativePath(path).c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

} // namespace

bool WideFileExists(const std::string& path) {
    const auto info = Status(path);
    return info && !S_ISDIR(info->st_mode);
}

std::uint64_t GetFileSize64(const std::string& path) {
    return GetFileSizeByFind(path);
}

std::uint64_t GetFileSizeByFind(const std::string& path) {
    const auto info = Status(path);
    return info ? static_cast<std::uint64_t>(info->st_size) : 0;
}

bool WideCreateDirectory(const std::string& path) {
    return mkdir(NativePath(path).c_str(), 0777) == 0;
}

// Native files carry no version resources.
std::optional<std::uint64_t> ReadFixedFileVersion(const std::string&) {
    return std::nullopt;
}
