#include "util/wide_file_win.h"

#include "util/codepage_win.h"
#include "util/long_path.h"

#include <algorithm>
#include <iterator>

namespace {

std::wstring Wide(const std::string& path) {
    return WideFromGbk(path);
}

// The path as the system's 8-bit functions read it: in the system's own code page.
std::string Ansi(const std::string& path) {
    return CodePageFromWide(CP_ACP, WideFromGbk(path));
}

template <size_t Size>
void CopyAnsiName(const char* name, wchar_t (&wide)[Size]) {
    // The terminating zero is converted too, so the whole buffer is room for it.
    std::fill(std::begin(wide), std::end(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, static_cast<int>(Size));
}

void CopyFindData(const WIN32_FIND_DATAA& ansi, WIN32_FIND_DATAW& wide) {
    wide.dwFileAttributes = ansi.dwFileAttributes;
    wide.ftCreationTime = ansi.ftCreationTime;
    wide.ftLastAccessTime = ansi.ftLastAccessTime;
    wide.ftLastWriteTime = ansi.ftLastWriteTime;
    wide.nFileSizeHigh = ansi.nFileSizeHigh;
    wide.nFileSizeLow = ansi.nFileSizeLow;
    wide.dwReserved0 = ansi.dwReserved0;
    wide.dwReserved1 = ansi.dwReserved1;
    CopyAnsiName(ansi.cFileName, wide.cFileName);
    CopyAnsiName(ansi.cAlternateFileName, wide.cAlternateFileName);
}

bool ProbeWideApi() {
    // Room for any Windows folder.
    wchar_t folder[1024] = {};
    const UINT length = GetWindowsDirectoryW(folder, static_cast<UINT>(std::size(folder)));
    std::wstring pattern(folder, std::min<size_t>(length, std::size(folder)));
    if (pattern.empty() || pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L"*.*";
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}

} // namespace

bool WideApiAvailable() {
    static const bool available = ProbeWideApi();
    return available;
}

FindHandle::~FindHandle() {
    if (*this) {
        FindClose(handle_);
    }
}

bool FindHandle::Next(WIN32_FIND_DATAW& data) const {
    if (wideApi_) {
        return FindNextFileW(handle_, &data) != FALSE;
    }
    WIN32_FIND_DATAA ansi{};
    if (!FindNextFileA(handle_, &ansi)) {
        return false;
    }
    CopyFindData(ansi, data);
    return true;
}

FindHandle WideFindFirstFile(const std::string& path, WIN32_FIND_DATAW& data, bool wideApi) {
    if (wideApi) {
        return FindHandle(FindFirstFileW(Wide(path).c_str(), &data), true);
    }
    WIN32_FIND_DATAA ansi{};
    FindHandle search(FindFirstFileA(Ansi(path).c_str(), &ansi), false);
    if (search) {
        CopyFindData(ansi, data);
    }
    return search;
}

std::optional<std::string> WideLoadFileVersionInfo(const std::string& path, DWORD maxSize,
                                                   bool wideApi) {
    DWORD ignored = 0;
    const DWORD size = wideApi ? GetFileVersionInfoSizeW(Wide(path).c_str(), &ignored)
                               : GetFileVersionInfoSizeA(Ansi(path).c_str(), &ignored);
    if (size == 0 || size > maxSize) {
        return std::nullopt;
    }
    std::string resource(size, '\0');
    const BOOL loaded = wideApi ? GetFileVersionInfoW(Wide(path).c_str(), 0, size, resource.data())
                                : GetFileVersionInfoA(Ansi(path).c_str(), 0, size, resource.data());
    if (!loaded) {
        return std::nullopt;
    }
    return resource;
}

bool WideCreateDirectory(const std::string& path, bool wideApi) {
    return (wideApi ? CreateDirectoryW(Wide(LongPathForm(path)).c_str(), nullptr)
                    : CreateDirectoryA(Ansi(path).c_str(), nullptr)) != FALSE;
}
