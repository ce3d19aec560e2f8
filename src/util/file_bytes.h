// Reading chosen bytes of a file without loading the whole file: the program-file readers look
// at a header and a resource, never at the rest of a large file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class IByteSource {
public:
    virtual ~IByteSource() = default;

    // The number of bytes the source holds.
    virtual std::uint64_t Size() const = 0;

    // Up to count bytes from offset; fewer at the end of the source or when reading fails,
    // nothing at or past the end.
    virtual std::string ReadAt(std::uint64_t offset, std::size_t count) const = 0;
};

// Bytes held in memory (a loaded resource, a test's byte array). The view must outlive the
// source.
class MemoryByteSource final : public IByteSource {
public:
    explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}

    std::uint64_t Size() const override { return bytes_.size(); }
    std::string ReadAt(std::uint64_t offset, std::size_t count) const override;

private:
    std::string_view bytes_;
};

// Opens a file read-only, shared with other readers; nothing when it cannot be opened (missing,
// locked, a folder).
std::unique_ptr<IByteSource> OpenFileBytes(const std::string& path);
