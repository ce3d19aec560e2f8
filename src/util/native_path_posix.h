// The native build stands in for Windows in tests: "\" in a path is taken for the separator.
#pragma once

#include <algorithm>
#include <string>

inline std::string NativePath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
