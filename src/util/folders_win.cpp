#include "util/folders_win.h"

#include "util/codepage_win.h"
#include "util/data_folder.h"
#include "util/file_system.h"
#include "util/wide_file_win.h"

#include <shlobj.h>

#include <memory>

namespace {

struct CoTaskMemRelease {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};

std::string WithoutTrailingBackslash(std::string path) {
    while (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

} // namespace

std::string ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return GbkFromWide(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string GetSpecialFolderPath(int folderId) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folderId, &list))) {
        return {};
    }
    const std::unique_ptr<ITEMIDLIST, CoTaskMemRelease> owned(list);
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(list, path)) {
        return {};
    }
    return GbkFromWide(path);
}

std::string GetUserDataFolder(const std::string& exePath, const std::string& title) {
    return UserDataFolderIn(GetSpecialFolderPath(kRoamingAppDataFolder), exePath, title);
}

std::string CleanVirtualStore(const std::string& programFolder) {
    const std::string localAppData = GetSpecialFolderPath(kLocalAppDataFolder);
    // Without it the path would lead to a VirtualStore folder at the root of the current drive.
    if (localAppData.empty()) {
        return {};
    }
    const std::string folder = VirtualStoreFolder(localAppData, programFolder);
    // A directory search does not take a path that ends in a backslash.
    if (!SystemFileSystem().WideDirectoryExists(WithoutTrailingBackslash(folder))) {
        return {};
    }
    DeleteFilesByExtension(folder, "SPK");
    return folder;
}

bool DeleteFilesByExtension(const std::string& folder, const std::string& extension) {
    const std::string base = WithoutTrailingBackslash(folder);
    {
        WIN32_FIND_DATAW data{};
        const FindHandle search = WideFindFirstFile(base + "\\*." + extension, data);
        for (bool found = static_cast<bool>(search); found; found = search.Next(data)) {
            const std::wstring name = data.cFileName;
            const std::string path = base + "\\" + GbkFromWide(name);
            if (data.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) {
                if (!name.empty() && name != L"." && name != L"..") {
                    DeleteFilesByExtension(path, extension);
                }
                continue;
            }
            const std::wstring widePath = WideFromGbk(path);
            if (data.dwFileAttributes != FILE_ATTRIBUTE_ARCHIVE) {
                SetFileAttributesW(widePath.c_str(), FILE_ATTRIBUTE_ARCHIVE);
            }
            DeleteFileW(widePath.c_str());
        }
    }
    // Succeeds only once nothing is left in the folder; the search is closed by now.
    RemoveDirectoryW(WideFromGbk(base).c_str());
    return true;
}
