#include "util/file_io.h"

#include "util/codepage_win.h"
#include "util/handle_win.h"
#include "util/os_error.h"

#include <windows.h>

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    UniqueHandle file(CreateFileW(WideFromGbk(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw MakeOSError(GetLastError());
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw MakeOSError(GetLastError());
    }
}
