#include "util/file_bytes.h"

std::string MemoryByteSource::ReadAt(std::uint64_t offset, std::size_t count) const {
    if (offset >= bytes_.size()) {
        return {};
    }
    return std::string(bytes_.substr(static_cast<std::size_t>(offset), count));
}
