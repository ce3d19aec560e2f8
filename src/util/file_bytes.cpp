#include "util/file_bytes.h"

#include "util/os_error.h"

#include <limits>
#include <stdexcept>

std::string MemoryByteSource::ReadAt(std::uint64_t offset, std::size_t count) const {
    if (offset >= bytes_.size()) {
        return {};
    }
    return std::string(bytes_.substr(static_cast<std::size_t>(offset), count));
}

std::string ReadWholeFile(const std::string& path) {
    // 2 is "no such file" on Windows and on POSIX systems alike.
    constexpr std::uint32_t kFileNotFound = 2;
    const std::unique_ptr<IByteSource> file = OpenFileBytes(path);
    if (!file) {
        throw MakeOSError(kFileNotFound);
    }
    if (file->Size() > std::numeric_limits<std::size_t>::max() / 2) {
        throw std::runtime_error("The file is too large to be read whole: " + path);
    }
    const auto size = static_cast<std::size_t>(file->Size());
    std::string bytes = file->ReadAt(0, size);
    if (bytes.size() != size) {
        throw std::runtime_error("The file could not be read to its end: " + path);
    }
    return bytes;
}
