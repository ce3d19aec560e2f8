#include "identify/pe_image.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::uint64_t kNewHeaderOffsetField = 0x3C;
constexpr std::uint64_t kMagicOffset = 24; // from "PE": signature 4, file header 20
constexpr std::uint16_t kMagic64 = 0x20B;
constexpr std::uint16_t kMagic32 = 0x10B;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kVersionType = 16;
constexpr std::uint32_t kVersionName = 1;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000;
// Version resources are a few kilobytes; anything beyond this is not one.
constexpr std::uint32_t kMaxVersionResourceSize = 1u << 20;

std::optional<std::uint16_t> U16(std::string_view bytes, std::uint64_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 2) {
        return std::nullopt;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::optional<std::uint32_t> U32(std::string_view bytes, std::uint64_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4) {
        return std::nullopt;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                      static_cast<std::uint32_t>(p[3]) << 24);
}

// The headers and the resource directory are read in many small pieces. Each read of the system
// costs far more than copying, so one read of the bytes from a start serves all the pieces
// inside them.
class PrefetchedBytes final : public IByteSource {
public:
    PrefetchedBytes(const IByteSource& file, std::uint64_t start)
        : file_(file), start_(start), bytes_(file.ReadAt(start, kPrefetchSize)) {}

    std::uint64_t Size() const override { return file_.Size(); }

    std::string ReadAt(std::uint64_t offset, std::size_t count) const override {
        if (offset >= start_ && offset - start_ <= bytes_.size() &&
            count <= bytes_.size() - (offset - start_)) {
            return bytes_.substr(static_cast<std::size_t>(offset - start_), count);
        }
        return file_.ReadAt(offset, count);
    }

private:
    static constexpr std::size_t kPrefetchSize = 4096;

    const IByteSource& file_;
    std::uint64_t start_;
    std::string bytes_;
};

std::optional<std::uint32_t> ReadU32(const IByteSource& file, std::uint64_t offset) {
    return U32(file.ReadAt(offset, 4), 0);
}

// Where the "PE\0\0" signature is, when the two signatures are there.
std::optional<std::uint64_t> SignatureOffset(const IByteSource& file) {
    if (file.ReadAt(0, 2) != "MZ") {
        return std::nullopt;
    }
    const auto offset = ReadU32(file, kNewHeaderOffsetField);
    if (!offset || file.ReadAt(*offset, 4) != std::string_view("PE\0\0", 4)) {
        return std::nullopt;
    }
    return *offset;
}

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

struct ImageLayout {
    std::uint32_t resourceAddress = 0;
    std::vector<Section> sections;
};

std::optional<ImageLayout> ReadLayout(const IByteSource& file) {
    const auto signature = SignatureOffset(file);
    if (!signature) {
        return std::nullopt;
    }
    // File header (20 bytes) and the optional header's fixed part up to its data directories.
    const std::string headers = file.ReadAt(*signature + 4, 20 + 112);
    const auto sectionCount = U16(headers, 2);
    const auto optionalSize = U16(headers, 16);
    const auto magic = U16(headers, 20);
    if (!sectionCount || !optionalSize || !magic) {
        return std::nullopt;
    }
    std::uint64_t directories = 0;
    if (*magic == kMagic32) {
        directories = 96;
    } else if (*magic == kMagic64) {
        directories = 112;
    } else {
        return std::nullopt;
    }
    const auto directoryCount = U32(headers, 20 + directories - 4);
    if (!directoryCount || *directoryCount <= kResourceDirectoryIndex ||
        directories + (kResourceDirectoryIndex + 1) * 8 > *optionalSize) {
        return std::nullopt;
    }
    const auto resourceAddress =
        ReadU32(file, *signature + 24 + directories + kResourceDirectoryIndex * 8);
    if (!resourceAddress || *resourceAddress == 0) {
        return std::nullopt;
    }
    ImageLayout layout;
    layout.resourceAddress = *resourceAddress;
    const std::string table = file.ReadAt(*signature + 24 + *optionalSize,
                                          std::size_t{*sectionCount} * kSectionHeaderSize);
    for (std::size_t at = 0; at + kSectionHeaderSize <= table.size(); at += kSectionHeaderSize) {
        layout.sections.push_back(
            {*U32(table, at + 12), *U32(table, at + 16), *U32(table, at + 20)});
    }
    return layout;
}

// The file offset of an address of the loaded image, and how many bytes of the section's file
// data follow it.
struct FilePlace {
    std::uint64_t offset;
    std::uint64_t available;
};

std::optional<FilePlace> PlaceOf(const ImageLayout& layout, std::uint32_t address) {
    for (const Section& section : layout.sections) {
        // Only addresses backed by the section's file data can be read from the file.
        const std::uint64_t start = section.virtualAddress;
        if (address >= start && address - start < section.rawSize) {
            return FilePlace{std::uint64_t{section.rawOffset} + (address - start),
                             section.rawSize - (address - start)};
        }
    }
    return std::nullopt;
}

// Reads resource directories relative to the start of the resource data.
class ResourceDirectory {
public:
    ResourceDirectory(const IByteSource& file, FilePlace root) : file_(file), root_(root) {}

    // The entry of the directory at offset whose id is wanted, or the first entry when any is
    // taken; nothing when there is none.
    std::optional<std::uint32_t> Entry(std::uint32_t offset, std::optional<std::uint32_t> wanted,
                                       bool preferFirst) const {
        // The header and the first entries in one read; a long directory needs a second.
        std::string bytes = Read(offset, 16 + 8 * kEntriesReadAtOnce);
        const auto named = U16(bytes, 12);
        const auto numbered = U16(bytes, 14);
        if (!named || !numbered) {
            return std::nullopt;
        }
        const std::size_t count = std::size_t{*named} + *numbered;
        if (bytes.size() < 16 + count * 8) {
            bytes = Read(offset, 16 + count * 8);
        }
        const std::string_view entries = std::string_view(bytes).substr(16, count * 8);
        std::optional<std::uint32_t> first;
        for (std::size_t at = 0; at + 8 <= entries.size(); at += 8) {
            const std::uint32_t name = *U32(entries, at);
            const std::uint32_t target = *U32(entries, at + 4);
            if (!first) {
                first = target;
            }
            if (wanted && name == *wanted) {
                return target;
            }
        }
        return preferFirst ? first : std::nullopt;
    }

    std::string Read(std::uint64_t offset, std::size_t count) const {
        if (offset >= root_.available) {
            return {};
        }
        return file_.ReadAt(root_.offset + offset, static_cast<std::size_t>(std::min<std::uint64_t>(
                                                       count, root_.available - offset)));
    }

private:
    static constexpr std::size_t kEntriesReadAtOnce = 16;

    const IByteSource& file_;
    FilePlace root_;
};

// The version resource's bytes as far as the section's data and the file hold them, and whether
// that is all the size its data entry claims.
struct VersionResourceRead {
    std::string bytes;
    bool whole = false;
};

std::optional<VersionResourceRead> ReadVersionResource(const IByteSource& source) {
    const PrefetchedBytes file(source, 0);
    const auto layout = ReadLayout(file);
    if (!layout) {
        return std::nullopt;
    }
    const auto root = PlaceOf(*layout, layout->resourceAddress);
    if (!root) {
        return std::nullopt;
    }
    const PrefetchedBytes resource(file, root->offset);
    const ResourceDirectory directory(resource, *root);
    // Three levels: type, name, language. Each step must lead to a directory that has not been
    // visited, so a directory that points back to itself or an earlier one ends the search.
    std::array<std::uint32_t, 3> visited{0, 0, 0};
    const auto type = directory.Entry(0, kVersionType, false);
    if (!type || (*type & kSubdirectoryFlag) == 0) {
        return std::nullopt;
    }
    visited[1] = *type & ~kSubdirectoryFlag;
    if (visited[1] == visited[0]) {
        return std::nullopt;
    }
    const auto name = directory.Entry(visited[1], kVersionName, true);
    if (!name || (*name & kSubdirectoryFlag) == 0) {
        return std::nullopt;
    }
    visited[2] = *name & ~kSubdirectoryFlag;
    if (visited[2] == visited[0] || visited[2] == visited[1]) {
        return std::nullopt;
    }
    const auto language = directory.Entry(visited[2], std::nullopt, true);
    if (!language || (*language & kSubdirectoryFlag) != 0) {
        return std::nullopt;
    }
    const std::string dataEntry = directory.Read(*language, 8);
    const auto address = U32(dataEntry, 0);
    const auto size = U32(dataEntry, 4);
    if (!address || !size || *size > kMaxVersionResourceSize) {
        return std::nullopt;
    }
    const auto data = PlaceOf(*layout, *address);
    if (!data) {
        return std::nullopt;
    }
    VersionResourceRead read;
    read.bytes = resource.ReadAt(
        data->offset, static_cast<std::size_t>(std::min<std::uint64_t>(*size, data->available)));
    // Fewer bytes than claimed: the claim reaches past the section's data or the file's end.
    read.whole = read.bytes.size() == *size;
    return read;
}

} // namespace

bool IsPEImage(const IByteSource& source, bool& is64) {
    is64 = false;
    const PrefetchedBytes file(source, 0);
    const auto signature = SignatureOffset(file);
    if (!signature) {
        return false;
    }
    const auto magic = U16(file.ReadAt(*signature + kMagicOffset, 2), 0);
    is64 = magic && *magic == kMagic64;
    return true;
}

bool IsPEImage(const std::string& path, bool& is64) {
    is64 = false;
    if (path.empty()) {
        return false;
    }
    const std::unique_ptr<IByteSource> file = OpenFileBytes(path);
    return file && IsPEImage(*file, is64);
}

std::optional<std::string> ReadVersionResourceBytes(const IByteSource& file) {
    auto read = ReadVersionResource(file);
    if (!read) {
        return std::nullopt;
    }
    return std::move(read->bytes);
}

bool VersionResourceLiesInFile(const IByteSource& file) {
    const auto read = ReadVersionResource(file);
    return read && read->whole;
}
