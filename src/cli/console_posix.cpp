#include "cli/console.h"

#include <time.h>

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

// Native file names are bytes; the program's paths hand them on unchanged.
std::string ProgramPathFromUtf8(const std::string& argument) {
    return argument;
}

void PrepareConsole() {}

double SteadyMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}
