// Builds program files byte by byte for the reader's tests: a version block from a tree of
// nodes, and a minimal image whose one section holds the resource directory leading to it.
// Tests then cut or change the bytes at the offsets the builder reports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pe_builder {

inline void PutU16(std::string& bytes, std::size_t at, std::uint16_t value) {
    if (bytes.size() < at + 2) {
        bytes.resize(at + 2, '\0');
    }
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

inline void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    PutU16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

inline std::string Utf16Bytes(std::u16string_view text, bool withNul) {
    std::string bytes;
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    if (withNul) {
        bytes.append(2, '\0');
    }
    return bytes;
}

inline void PadTo4(std::string& bytes) {
    bytes.resize((bytes.size() + 3) & ~std::size_t{3}, '\0');
}

// One node of a version block. The lengths are computed unless given.
struct Node {
    std::u16string key;
    std::string value;
    bool text = false;
    std::vector<Node> children;
    std::optional<std::uint16_t> length;
    std::optional<std::uint16_t> valueLength;
};

inline std::string Encode(const Node& node) {
    std::string bytes(6, '\0');
    bytes += Utf16Bytes(node.key, true);
    PadTo4(bytes);
    bytes += node.value;
    for (const Node& child : node.children) {
        PadTo4(bytes);
        bytes += Encode(child);
    }
    PutU16(bytes, 0, node.length.value_or(static_cast<std::uint16_t>(bytes.size())));
    const auto valueLength = node.text ? node.value.size() / 2 : node.value.size();
    PutU16(bytes, 2, node.valueLength.value_or(static_cast<std::uint16_t>(valueLength)));
    PutU16(bytes, 4, node.text ? 1 : 0);
    return bytes;
}

inline Node String(std::u16string key, std::u16string_view value) {
    return Node{std::move(key), Utf16Bytes(value, true), true, {}, {}, {}};
}

inline std::string FixedInfo(std::uint64_t fileVersion, std::uint32_t signature = 0xFEEF04BD) {
    std::string bytes(52, '\0');
    PutU32(bytes, 0, signature);
    PutU32(bytes, 4, 0x00010000);
    PutU32(bytes, 8, static_cast<std::uint32_t>(fileVersion >> 32));
    PutU32(bytes, 12, static_cast<std::uint32_t>(fileVersion));
    PutU32(bytes, 16, static_cast<std::uint32_t>(fileVersion >> 32));
    PutU32(bytes, 20, static_cast<std::uint32_t>(fileVersion));
    return bytes;
}

inline Node StringTable(std::u16string key, std::vector<Node> strings) {
    return Node{std::move(key), {}, true, std::move(strings), {}, {}};
}

inline Node Translations(std::vector<std::uint32_t> languageAndCodePage) {
    std::string value;
    for (const std::uint32_t pair : languageAndCodePage) {
        std::string entry;
        PutU16(entry, 0, static_cast<std::uint16_t>(pair >> 16));
        PutU16(entry, 2, static_cast<std::uint16_t>(pair & 0xFFFF));
        value += entry;
    }
    return Node{u"VarFileInfo", {}, true, {Node{u"Translation", value, false, {}, {}, {}}}, {}, {}};
}

inline Node StringFileInfo(std::vector<Node> tables) {
    return Node{u"StringFileInfo", {}, true, std::move(tables), {}, {}};
}

inline Node VersionRoot(std::vector<Node> children,
                        std::string fixed = FixedInfo(0x0001000200030004)) {
    return Node{u"VS_VERSION_INFO", std::move(fixed), false, std::move(children), {}, {}};
}

// A usual block: one English table with the given strings, and its translation.
inline std::string UsualBlock(std::vector<Node> strings) {
    return Encode(VersionRoot({StringFileInfo({StringTable(u"040904B0", std::move(strings))}),
                               Translations({0x040904B0})}));
}

// Offsets of the parts of a built image, for tests that damage them.
struct Image {
    explicit Image(std::size_t resourceOffset)
        : resource(resourceOffset), typeEntryTarget(resourceOffset + 20),
          nameEntryTarget(resourceOffset + 0x18 + 20),
          languageEntryTarget(resourceOffset + 0x30 + 20), dataEntry(resourceOffset + 0x48),
          block(resourceOffset + 0x58) {}

    std::string bytes;
    std::size_t signature = 0x40;          // "PE\0\0"
    std::size_t sectionCount = 0x40 + 6;   // 16-bit count in the file header
    std::size_t magic = 0x40 + 24;         // optional header's magic
    std::size_t section = 0x40 + 24 + 240; // the section header (64-bit images)
    std::size_t resource;                  // resource directory's first byte
    std::size_t typeEntryTarget;
    std::size_t nameEntryTarget;
    std::size_t languageEntryTarget;
    std::size_t dataEntry;
    std::size_t block;
};

// A one-section image (64-bit unless told otherwise) whose resource directory, at resourceOffset
// in the file, leads from type 16, name 1 and language 0x409 to block. The headers are complete
// enough for the system to load the image as a data file.
inline Image BuildImage(const std::string& block, bool is64 = true,
                        std::size_t resourceOffset = 0x200) {
    constexpr std::uint32_t kSectionAddress = 0x1000;
    Image image(resourceOffset);
    std::string& b = image.bytes;
    b.assign(resourceOffset, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    PutU32(b, 0x3C, 0x40);
    b.replace(0x40, 4, std::string("PE\0\0", 4));
    const std::size_t fileHeader = 0x44;
    PutU16(b, fileHeader, is64 ? 0x8664 : 0x14C);
    PutU16(b, fileHeader + 2, 1);
    const std::uint16_t optionalSize = is64 ? 240 : 224;
    PutU16(b, fileHeader + 16, optionalSize);
    PutU16(b, fileHeader + 18, 0x2102);
    const std::size_t optional = fileHeader + 20;
    PutU16(b, optional, is64 ? 0x20B : 0x10B);
    // Image base, alignments, system versions, sizes of image and headers, subsystem. The 32-bit
    // header's image base has 4 bytes, after a field of 4 bytes that the 64-bit one lacks, so
    // the fields after it lie at the same offsets.
    PutU32(b, optional + (is64 ? 24 : 28), is64 ? 0x40000000u : 0x00400000u);
    PutU32(b, optional + 32, kSectionAddress);
    PutU32(b, optional + 36, 0x200);
    PutU16(b, optional + 40, 6);
    PutU16(b, optional + 48, 6);
    PutU32(b, optional + 60, static_cast<std::uint32_t>(resourceOffset));
    PutU16(b, optional + 68, 2);
    const std::size_t directories = optional + (is64 ? 112 : 96);
    PutU32(b, directories - 4, 16);
    std::string resource(0x58, '\0');
    // Root: one numbered entry, type 16, to the name directory at 0x18.
    PutU16(resource, 14, 1);
    PutU32(resource, 16, 16);
    PutU32(resource, 20, 0x80000000u | 0x18);
    // Names: name 1, to the language directory at 0x30.
    PutU16(resource, 0x18 + 14, 1);
    PutU32(resource, 0x18 + 16, 1);
    PutU32(resource, 0x18 + 20, 0x80000000u | 0x30);
    // Languages: 0x409, to the data entry at 0x48.
    PutU16(resource, 0x30 + 14, 1);
    PutU32(resource, 0x30 + 16, 0x409);
    PutU32(resource, 0x30 + 20, 0x48);
    PutU32(resource, 0x48, kSectionAddress + 0x58);
    PutU32(resource, 0x48 + 4, static_cast<std::uint32_t>(block.size()));
    resource += block;
    PadTo4(resource);
    PutU32(b, directories + 2 * 8, kSectionAddress);
    PutU32(b, directories + 2 * 8 + 4, static_cast<std::uint32_t>(resource.size()));
    const std::size_t section = optional + optionalSize;
    image.section = section;
    b.replace(section, 5, ".rsrc");
    PutU32(b, section + 8, static_cast<std::uint32_t>(resource.size()));
    PutU32(b, section + 12, kSectionAddress);
    PutU32(b, section + 16, static_cast<std::uint32_t>(resource.size()));
    PutU32(b, section + 20, static_cast<std::uint32_t>(resourceOffset));
    PutU32(b, section + 36, 0x40000040); // initialised data, readable
    const auto pages = (resource.size() + kSectionAddress - 1) / kSectionAddress;
    PutU32(b, optional + 56, static_cast<std::uint32_t>(kSectionAddress * (1 + pages)));
    b += resource;
    return image;
}

// A 1,536-byte 64-bit image (headers to 0x200, one 0x400-byte resource section) whose version
// resource's data entry points inside the section (at zero bytes, so no version strings) and
// claims claimedSize bytes, more than the file holds. The system's version reader trusts that
// claim.
inline std::string OversizedVersionClaimImage(std::uint32_t claimedSize) {
    Image image = BuildImage(std::string(16, '\0'));
    PutU32(image.bytes, image.section + 8, 0x400);
    PutU32(image.bytes, image.section + 16, 0x400);
    PutU32(image.bytes, image.dataEntry + 4, claimedSize);
    image.bytes.resize(0x600, '\0');
    return image.bytes;
}

} // namespace pe_builder
