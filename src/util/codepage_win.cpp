#include "util/codepage_win.h"

#include "util/gb18030.h"

#include <windows.h>

namespace {

std::wstring WideFromUtf16(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string Utf16FromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

bool CodePage936Spells(char16_t character) {
    const wchar_t wide = static_cast<wchar_t>(character);
    char bytes[2] = {};
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                           static_cast<int>(sizeof bytes), nullptr, &usedDefault);
    wchar_t back = L'\0';
    return length > 0 && !usedDefault &&
           MultiByteToWideChar(kProgramCodePage, 0, bytes, length, &back, 1) == 1 && back == wide;
}

const CodePage936& SystemCodePage936() {
    static const CodePage936 codePage{
        CodePage936Spells,
        [](std::u16string_view run) {
            return CodePageFromWide(kProgramCodePage, WideFromUtf16(run));
        },
        [](std::string_view run) {
            return Utf16FromWide(WideFromCodePage(kProgramCodePage, run));
        }};
    return codePage;
}

} // namespace

std::wstring WideFromCodePage(unsigned codePage, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string CodePageFromWide(unsigned codePage, std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::wstring WideFromGbk(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    // Plain GBK, the usual case, converts in one call; a four-byte form is never valid GBK.
    const int size = static_cast<int>(text.size());
    const int length =
        MultiByteToWideChar(kProgramCodePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length > 0) {
        std::wstring wide(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(kProgramCodePage, 0, text.data(), size, wide.data(), length);
        return wide;
    }
    return WideFromUtf16(Utf16FromEightBit(text, SystemCodePage936()));
}

std::string GbkFromWide(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    // Text that code page 936 spells whole converts in one call.
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, text.data(),
                                           size, nullptr, 0, nullptr, &usedDefault);
    if (length > 0 && !usedDefault) {
        std::string narrow(static_cast<size_t>(length), '\0');
        WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size,
                            narrow.data(), length, nullptr, nullptr);
        if (WideFromCodePage(kProgramCodePage, narrow) == text) {
            return narrow;
        }
    }
    return EightBitFromUtf16(Utf16FromWide(text), SystemCodePage936());
}
