#include "util/codepage_win.h"

#include <windows.h>

std::wstring WideFromGbk(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(kProgramCodePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kProgramCodePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string GbkFromWide(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(kProgramCodePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(kProgramCodePage, 0, text.data(), size, narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}
