#include "util/long_path.h"

std::string LongPathForm(const std::string& path) {
    if (path.starts_with("\\\\?\\")) {
        return path;
    }
    if (path.starts_with("\\\\")) {
        return "\\\\?\\UNC\\" + path.substr(2);
    }
    return "\\\\?\\" + path;
}
