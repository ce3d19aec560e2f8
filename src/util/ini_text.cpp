#include "util/ini_text.h"

#include <algorithm>

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view TrimView(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Takes the next line off text, without its line end, cut to the longest line read.
std::string_view NextLine(std::string_view& text) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    std::string_view line = text.substr(0, std::min(end, kIniMaxLineLength));
    std::size_t next = end;
    if (next < text.size()) {
        next += text.compare(next, 2, "\r\n") == 0 ? 2 : 1;
    }
    text.remove_prefix(next);
    return line;
}

} // namespace

std::string ReadIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view fallback) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        text.remove_prefix(kUtf8Mark.size());
    }
    const std::string_view wantedSection = TrimView(section);
    const std::string_view wantedKey = TrimView(key);
    bool inSection = false;
    while (!text.empty()) {
        const std::string_view line = TrimView(NextLine(text));
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        SameName(TrimView(line.substr(1, close - 1)), wantedSection);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            SameName(TrimView(line.substr(0, equals)), wantedKey)) {
            return std::string(Unquote(TrimView(line.substr(equals + 1))));
        }
    }
    return std::string(fallback);
}
