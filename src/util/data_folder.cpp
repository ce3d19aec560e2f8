#include "util/data_folder.h"

#include "slotvane_config.h"
#include "util/file_info.h"

namespace {

std::string WithTrailingBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    return path;
}

} // namespace

std::string FolderOfPath(const std::string& path) {
    const std::size_t end = path.find_last_of("\\:");
    return WithTrailingBackslash(end == std::string::npos ? std::string()
                                                          : path.substr(0, end + 1));
}

std::string UserDataFolderIn(const std::string& appDataFolder, const std::string& exePath,
                             const std::string& title, IFileSystem& fileSystem) {
    if (appDataFolder.empty()) {
        return FolderOfPath(exePath);
    }
    // Created on every call; a folder that exists already is fine.
    const std::string makerFolder = WithTrailingBackslash(appDataFolder) + config::kMakerName;
    WideCreateDirectory(makerFolder);
    const std::string path = makerFolder + "\\" + title;
    WideCreateDirectory(path);
    return fileSystem.WideDirectoryExists(path) ? path + "\\" : FolderOfPath(exePath);
}

std::string VirtualStoreFolder(const std::string& localAppDataFolder,
                               const std::string& programFolder) {
    // The drive letter, the colon and the backslash are not part of the virtualised path.
    const std::string rest = programFolder.size() > 3 ? programFolder.substr(3) : std::string();
    return WithTrailingBackslash(localAppDataFolder) + "VirtualStore\\" + rest;
}
