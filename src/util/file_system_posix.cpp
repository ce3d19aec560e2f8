#include "util/file_system.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace {

// The native build stands in for Windows in tests: "\" is taken for the path separator.
std::string NativePath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

class PosixFileSystem final : public IFileSystem {
public:
    std::vector<std::string> ListEntries(const std::string& pattern,
                                         std::size_t maxNames) override {
        const std::string path = NativePath(pattern);
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        const std::string mask = slash == std::string::npos ? path : path.substr(slash + 1);

        std::vector<std::string> names;
        const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
        if (!dir) {
            return names;
        }
        while (names.size() < maxNames) {
            const dirent* entry = readdir(dir.get());
            if (entry == nullptr) {
                break;
            }
            if (fnmatch(mask.c_str(), entry->d_name, FNM_NOESCAPE) == 0) {
                names.emplace_back(entry->d_name);
            }
        }
        return names;
    }

    bool WideDirectoryExists(const std::string& path) override {
        struct stat info {};
        return stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    bool IsLink(const std::string& path) override {
        struct stat info {};
        return lstat(NativePath(path).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    }

    bool SetWow64Redirection(bool) override { return true; }
};

} // namespace

IFileSystem& SystemFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}
