#include "util/file_bytes.h"

#include "util/codepage_win.h"
#include "util/handle_win.h"

#include <windows.h>

#include <algorithm>

namespace {

class WindowsFileBytes final : public IByteSource {
public:
    WindowsFileBytes(UniqueHandle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

    std::uint64_t Size() const override { return size_; }

    std::string ReadAt(std::uint64_t offset, std::size_t count) const override {
        if (offset >= size_) {
            return {};
        }
        const auto wanted =
            static_cast<DWORD>(std::min<std::uint64_t>({count, size_ - offset, 1u << 30}));
        std::string bytes(wanted, '\0');
        // A positioned read: the handle's own file pointer is not used.
        OVERLAPPED position{};
        position.Offset = static_cast<DWORD>(offset);
        position.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        if (!ReadFile(file_.get(), bytes.data(), wanted, &read, &position)) {
            return {};
        }
        bytes.resize(read);
        return bytes;
    }

private:
    UniqueHandle file_;
    std::uint64_t size_;
};

} // namespace

std::unique_ptr<IByteSource> OpenFileBytes(const std::string& path) {
    UniqueHandle file(CreateFileW(WideFromGbk(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return nullptr;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
        return nullptr;
    }
    return std::make_unique<WindowsFileBytes>(std::move(file),
                                              static_cast<std::uint64_t>(size.QuadPart));
}
