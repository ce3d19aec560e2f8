#include "util/os_error.h"

#include <cstring>

OSError MakeOSError(std::uint32_t code) {
    return OSError(code, std::strerror(static_cast<int>(code)));
}
