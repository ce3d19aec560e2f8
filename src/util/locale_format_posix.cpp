#include "util/locale_format.h"

std::string UserDecimalSeparator() {
    return ".";
}
