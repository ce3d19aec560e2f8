#include "util/locale_format.h"

#include "util/codepage_win.h"

#include <windows.h>

#include <iterator>

std::string UserDecimalSeparator() {
    // The system allows at most three characters plus the terminating zero.
    wchar_t separator[4] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                       static_cast<int>(std::size(separator)));
    if (length <= 1) {
        return ".";
    }
    return GbkFromWide(std::wstring_view(separator, static_cast<size_t>(length - 1)));
}
