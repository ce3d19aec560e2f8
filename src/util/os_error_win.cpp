#include "util/os_error.h"

#include "util/codepage_win.h"

#include <windows.h>

#include <cwchar>
#include <string>

OSError MakeOSError(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring message = length > 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!message.empty() &&
           (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
        message.pop_back();
    }
    if (message.empty()) {
        // Codes without a system message are mostly HRESULTs, which read best in hexadecimal.
        wchar_t text[32];
        swprintf(text, 32, L"System error 0x%08X", static_cast<unsigned>(code));
        message = text;
    }
    return OSError(code, GbkFromWide(message));
}
