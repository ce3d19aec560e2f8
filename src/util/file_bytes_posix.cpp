#include "util/file_bytes.h"

#include "util/native_path_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace {

class PosixFileBytes final : public IByteSource {
public:
    PosixFileBytes(int descriptor, std::uint64_t size) : descriptor_(descriptor), size_(size) {}
    PosixFileBytes(const PosixFileBytes&) = delete;
    PosixFileBytes& operator=(const PosixFileBytes&) = delete;
    ~PosixFileBytes() override { close(descriptor_); }

    std::uint64_t Size() const override { return size_; }

    std::string ReadAt(std::uint64_t offset, std::size_t count) const override {
        if (offset >= size_) {
            return {};
        }
        std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset)),
                          '\0');
        std::size_t filled = 0;
        while (filled < bytes.size()) {
            const ssize_t read = pread(descriptor_, bytes.data() + filled, bytes.size() - filled,
                                       static_cast<off_t>(offset + filled));
            if (read <= 0) {
                break;
            }
            filled += static_cast<std::size_t>(read);
        }
        bytes.resize(filled);
        return bytes;
    }

private:
    int descriptor_;
    std::uint64_t size_;
};

} // namespace

std::unique_ptr<IByteSource> OpenFileBytes(const std::string& path) {
    const int descriptor = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(descriptor);
        return nullptr;
    }
    return std::make_unique<PosixFileBytes>(descriptor, static_cast<std::uint64_t>(info.st_size));
}
