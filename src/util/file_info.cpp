#include "util/file_info.h"

bool FileExistsNonEmpty(const std::string& path, IFileSystem& fileSystem) {
    fileSystem.SetWow64Redirection(true);
    const bool result = WideFileExists(path) && GetFileSize64(path) > 0;
    fileSystem.SetWow64Redirection(false);
    return result;
}

std::string GetFileVersionText(const std::string& path) {
    if (!WideFileExists(path)) {
        return "File not found";
    }
    const std::optional<std::uint64_t> version = ReadFixedFileVersion(path);
    return version ? FormatFileVersion(*version) : std::string();
}

std::string FormatFileVersion(std::uint64_t version) {
    std::string text;
    for (int shift = 48; shift >= 0; shift -= 16) {
        if (!text.empty()) {
            text += '.';
        }
        text += std::to_string((version >> shift) & 0xFFFF);
    }
    return text;
}
