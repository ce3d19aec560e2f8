#include "identify/symbol_bytes.h"

#include "identify/string_helpers.h"

namespace {

bool IsLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

bool IsTrailByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// 2 for a double-byte character starting at index, otherwise 1.
std::size_t CharacterLength(std::string_view text, std::size_t index) {
    return IsLeadByte(text[index]) && index + 1 < text.size() && IsTrailByte(text[index + 1]) ? 2
                                                                                              : 1;
}

} // namespace

bool IsSecondByteAt(std::string_view text, std::size_t index) {
    std::size_t at = 0;
    while (at < index) {
        at += CharacterLength(text, at);
    }
    return at > index;
}

bool HoldsSymbol(std::string_view text, char symbol) {
    for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at)) {
        if (text[at] == symbol) {
            return true;
        }
    }
    return false;
}

std::string RemoveSymbol(std::string_view text, char symbol) {
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        // A symbol byte that starts a character is the symbol, whatever follows it.
        const std::size_t length = text[at] == symbol ? 1 : CharacterLength(text, at);
        if (text[at] != symbol) {
            result.append(text.substr(at, length));
        }
        at += length;
    }
    return result;
}

std::string CutSymbolSuffix(std::string_view text, char symbol) {
    if (text.empty() || text.back() != symbol || IsSecondByteAt(text, text.size() - 1)) {
        return std::string(text);
    }
    return Trim(text.substr(0, text.size() - 1));
}
