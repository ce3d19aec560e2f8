#include "app/text_storage.h"

#include <cstddef>

namespace {

unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Compares ignoring the case of ASCII letters. GBK double-byte characters are compared whole:
// their trail byte may look like an ASCII letter and must not be folded.
bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x >= 0x81 && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
        } else if (FoldAscii(x) != FoldAscii(y)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string TTextStorage::Lookup(const std::string& key) const {
    for (std::size_t i = 0; i < loadedItems_.size(); ++i) {
        if (EqualIgnoringCase(loadedItems_[i], key)) {
            if (i < items_.size() && items_[i] != "unused") {
                return items_[i];
            }
            return key;
        }
    }
    return key;
}
