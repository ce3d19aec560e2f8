#include "identify/version_resource.h"

#include <algorithm>

namespace {

constexpr std::size_t kNodeHeaderSize = 6; // length, value length, type
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr std::size_t kFixedInfoSize = 52;
// The deepest path in a version block is root, StringFileInfo, table, string.
constexpr int kMaxDepth = 4;

std::uint16_t U16At(std::string_view bytes, std::size_t offset) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t U32At(std::string_view bytes, std::size_t offset) {
    return U16At(bytes, offset) | static_cast<std::uint32_t>(U16At(bytes, offset + 2)) << 16;
}

std::size_t Align4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

struct Node {
    std::size_t end;    // one past the node, within its parent
    std::size_t stride; // from this node to the next sibling
    std::u16string key;
    std::string_view value;
    bool isText;
    std::size_t childrenBegin;
};

// The node at offset, which must end by limit; nothing when no node fits.
std::optional<Node> ReadNode(std::string_view block, std::size_t offset, std::size_t limit) {
    if (offset > limit || limit - offset < kNodeHeaderSize) {
        return std::nullopt;
    }
    const std::uint16_t length = U16At(block, offset);
    if (length < kNodeHeaderSize) {
        return std::nullopt;
    }
    Node node;
    node.end = std::min(offset + length, limit);
    node.stride = Align4(length);
    const std::uint16_t valueLength = U16At(block, offset + 2);
    node.isText = U16At(block, offset + 4) == 1;
    std::size_t at = offset + kNodeHeaderSize;
    bool keyEnded = false;
    while (at + 2 <= node.end) {
        const char16_t c = U16At(block, at);
        at += 2;
        if (c == 0) {
            keyEnded = true;
            break;
        }
        node.key += c;
    }
    if (!keyEnded) {
        node.value = {};
        node.childrenBegin = node.end;
        return node;
    }
    const std::size_t valueBegin = std::min(Align4(at), node.end);
    const std::size_t valueBytes = std::min<std::size_t>(
        node.isText ? std::size_t{valueLength} * 2 : valueLength, node.end - valueBegin);
    node.value = block.substr(valueBegin, valueBytes);
    node.childrenBegin = std::min(Align4(valueBegin + valueBytes), node.end);
    return node;
}

// The children of a node, in order.
std::vector<Node> Children(std::string_view block, const Node& parent) {
    std::vector<Node> children;
    std::size_t offset = parent.childrenBegin;
    while (const auto child = ReadNode(block, offset, parent.end)) {
        children.push_back(*child);
        offset += child->stride;
    }
    return children;
}

std::optional<Node> Root(std::string_view block) {
    auto root = ReadNode(block, 0, block.size());
    if (!root || root->key != u"VS_VERSION_INFO") {
        return std::nullopt;
    }
    return root;
}

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool KeyEquals(std::u16string_view key, std::string_view wanted) {
    return key.size() == wanted.size() &&
           std::equal(key.begin(), key.end(), wanted.begin(), [](char16_t a, char b) {
               return AsciiLower(a) == AsciiLower(static_cast<unsigned char>(b));
           });
}

std::optional<FixedFileVersions> FixedOf(std::string_view value) {
    if (value.size() < kFixedInfoSize || U32At(value, 0) != kFixedInfoSignature) {
        return std::nullopt;
    }
    const auto pair = [&value](std::size_t at) {
        return std::uint64_t{U32At(value, at)} << 32 | U32At(value, at + 4);
    };
    return FixedFileVersions{pair(8), pair(16)};
}

} // namespace

std::u16string TextUpToNul(std::string_view bytes) {
    std::u16string text;
    for (std::size_t at = 0; at + 2 <= bytes.size(); at += 2) {
        const char16_t c = U16At(bytes, at);
        if (c == 0) {
            break;
        }
        text += c;
    }
    return text;
}

VersionResource ParseVersionResource(std::string_view block) {
    VersionResource resource;
    const auto root = Root(block);
    if (!root) {
        return resource;
    }
    resource.fixed = FixedOf(root->value);
    for (const Node& part : Children(block, *root)) {
        if (KeyEquals(part.key, "StringFileInfo")) {
            for (const Node& table : Children(block, part)) {
                VersionStringTable parsed{table.key, {}};
                for (const Node& entry : Children(block, table)) {
                    parsed.strings.emplace_back(entry.key, TextUpToNul(entry.value));
                }
                resource.tables.push_back(std::move(parsed));
            }
        } else if (KeyEquals(part.key, "VarFileInfo")) {
            for (const Node& variable : Children(block, part)) {
                if (!KeyEquals(variable.key, "Translation")) {
                    continue;
                }
                for (std::size_t at = 0; at + 4 <= variable.value.size(); at += 4) {
                    resource.translations.push_back(
                        {U16At(variable.value, at), U16At(variable.value, at + 2)});
                }
            }
        }
    }
    return resource;
}

std::optional<VersionValue> QueryVersionValue(std::string_view block, std::string_view path) {
    auto node = Root(block);
    if (!node) {
        return std::nullopt;
    }
    int depth = 0;
    std::size_t at = 0;
    while (at < path.size()) {
        const std::size_t next = std::min(path.find('\\', at), path.size());
        const std::string_view key = path.substr(at, next - at);
        at = next + 1;
        if (key.empty()) {
            continue;
        }
        if (++depth >= kMaxDepth) {
            return std::nullopt;
        }
        const std::vector<Node> children = Children(block, *node);
        const auto found = std::find_if(children.begin(), children.end(), [key](const Node& child) {
            return KeyEquals(child.key, key);
        });
        if (found == children.end()) {
            return std::nullopt;
        }
        node = *found;
    }
    return VersionValue{node->value, node->isText};
}
