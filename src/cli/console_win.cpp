#include "cli/console.h"

#include "util/codepage_win.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>

namespace {

struct LocalRelease {
    void operator()(wchar_t** arguments) const { LocalFree(arguments); }
};

} // namespace

std::vector<std::string> Utf8Arguments(int, char**) {
    // The 8-bit arguments are in the system's code page, which cannot spell every name.
    int count = 0;
    const std::unique_ptr<wchar_t*, LocalRelease> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> result;
    for (int i = 1; arguments && i < count; ++i) {
        result.push_back(CodePageFromWide(CP_UTF8, arguments.get()[i]));
    }
    return result;
}

std::string ProgramPathFromUtf8(const std::string& argument) {
    return GbkFromWide(WideFromCodePage(CP_UTF8, argument));
}

void PrepareConsole() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

double SteadyMilliseconds() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}
