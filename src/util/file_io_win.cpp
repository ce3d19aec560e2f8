#include "util/file_io.h"

#include "util/codepage_win.h"
#include "util/handle_win.h"
#include "util/os_error.h"

#include <windows.h>

namespace {

// The replacement is flushed before the move, so the move never exposes unwritten content.
void WriteWideFile(const std::wstring& path, std::string_view bytes, bool flush) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw MakeOSError(GetLastError());
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || (flush && !FlushFileBuffers(file.get()))) {
        throw MakeOSError(GetLastError());
    }
}

} // namespace

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    WriteWideFile(WideFromGbk(path), bytes, false);
}

void ReplaceWholeFile(const std::string& path, std::string_view bytes) {
    const std::wstring target = WideFromGbk(path);
    const std::wstring temporary = target + L".part";
    try {
        WriteWideFile(temporary, bytes, true);
        if (!MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            throw MakeOSError(GetLastError());
        }
    } catch (...) {
        DeleteFileW(temporary.c_str());
        throw;
    }
}
