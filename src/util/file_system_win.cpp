#include "util/file_system.h"

#include "util/codepage_win.h"
#include "util/wide_file_win.h"

#include <windows.h>

#include <utility>

namespace {

bool IsBareDrive(const std::string& path) {
    return (path.size() == 2 && path[1] == ':') ||
           (path.size() == 3 && path[1] == ':' && path[2] == '\\');
}

// kernel32 functions that may be missing, looked up by name at each use.
template <typename Function>
Function LookUp(HMODULE module, const char* name) {
    // Through the generic function type, which the compiler accepts without a cast warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

using DisableRedirection = BOOL(WINAPI*)(PVOID*);
using EnableRedirection = BOOLEAN(WINAPI*)(BOOLEAN);

class WindowsFileSystem final : public IFileSystem {
public:
    std::vector<std::string> ListEntries(const std::string& pattern,
                                         std::size_t maxNames) override {
        std::vector<std::string> names;
        WIN32_FIND_DATAW data{};
        const FindHandle find = WideFindFirstFile(pattern, data);
        if (!find) {
            return names;
        }
        do {
            if (names.size() >= maxNames) {
                break;
            }
            // A name with a lone surrogate has no 8-bit spelling and could not be opened through
            // one.
            std::string name = GbkFromWide(data.cFileName);
            if (WideFromGbk(name) == data.cFileName) {
                names.push_back(std::move(name));
            }
        } while (find.Next(data));
        return names;
    }

    bool WideDirectoryExists(const std::string& path) override {
        if (IsBareDrive(path)) {
            // A drive's root cannot be searched for; its type tells whether a volume is there.
            const std::wstring root = WideFromGbk(path.substr(0, 1)) + L":\\";
            const UINT type = GetDriveTypeW(root.c_str());
            return type != DRIVE_UNKNOWN && type != DRIVE_NO_ROOT_DIR;
        }
        WIN32_FIND_DATAW data{};
        const FindHandle find = WideFindFirstFile(path, data);
        return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    bool IsLink(const std::string& path) override {
        // A search reports the entry's own attributes, not those of the link's target.
        WIN32_FIND_DATAW data{};
        const FindHandle find = WideFindFirstFile(path, data);
        return find && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }

    bool SetWow64Redirection(bool disable) override {
        const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        if (kernel == nullptr) {
            return true;
        }
        const auto disableRedirection =
            LookUp<DisableRedirection>(kernel, "Wow64DisableWow64FsRedirection");
        const auto enableRedirection =
            LookUp<EnableRedirection>(kernel, "Wow64EnableWow64FsRedirection");
        if (disableRedirection == nullptr || enableRedirection == nullptr) {
            return true;
        }
        // The outcome of the calls is not an error: a process that is not redirected (any 64-bit
        // one) has nothing to switch.
        if (disable) {
            PVOID previous = nullptr;
            disableRedirection(&previous);
        } else {
            enableRedirection(TRUE);
        }
        return true;
    }
};

} // namespace

IFileSystem& SystemFileSystem() {
    static WindowsFileSystem fileSystem;
    return fileSystem;
}
