// The version resource's block (VS_VERSIONINFO): a tree of nodes, each with a length, a value
// length, a type, a UTF-16 key, a value and child nodes, 32-bit aligned. Every length is checked
// against the block; a node too short to be one ends its list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct FixedFileVersions {
    std::uint64_t fileVersion; // most significant half first
    std::uint64_t productVersion;
};

struct VersionTranslation {
    std::uint16_t language;
    std::uint16_t codePage;
};

struct VersionStringTable {
    std::u16string key; // language and code page as 8 hexadecimal digits, "040904B0"
    std::vector<std::pair<std::u16string, std::u16string>> strings; // each value up to its NUL
};

struct VersionResource {
    std::optional<FixedFileVersions> fixed; // only with the fixed-info signature 0xFEEF04BD
    std::vector<VersionStringTable> tables; // in the order of the block
    std::vector<VersionTranslation> translations;
};

// Everything the block holds; an empty record when it is not a version block.
VersionResource ParseVersionResource(std::string_view block);

// The value at a path of keys such as "\StringFileInfo\040904B0\CompanyName" (keys compared
// ignoring ASCII case, the empty path "\" being the root's fixed info), as the system's value
// query finds it: the value's bytes, cut to the block. A text value's length counts 16-bit
// characters, any other value's bytes. Nothing when a key is missing.
struct VersionValue {
    std::string_view bytes;
    bool isText;
};
std::optional<VersionValue> QueryVersionValue(std::string_view block, std::string_view path);

// UTF-16 text from little-endian bytes, up to the first NUL.
std::u16string TextUpToNul(std::string_view bytes);
