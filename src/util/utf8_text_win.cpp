#include "util/utf8_text.h"

#include "util/codepage_win.h"

#include <windows.h>

std::string Utf8FromProgramText(std::string_view text) {
    return CodePageFromWide(CP_UTF8, WideFromGbk(text));
}

std::string ProgramTextFromUtf8(std::string_view text) {
    return GbkFromWide(WideFromCodePage(CP_UTF8, text));
}
