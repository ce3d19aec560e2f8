#include "identify/string_helpers.h"

#include <algorithm>
#include <cstddef>

namespace {

// Bytes are compared as unsigned values: a signed char would turn every byte of a double-byte
// character into a negative code and make it look like a control character.
unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

unsigned char FoldAscii(char c) {
    const unsigned char b = Byte(c);
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

bool SameNoCase(char a, char b) {
    return FoldAscii(a) == FoldAscii(b);
}

bool IsTrimmed(char c) {
    return Byte(c) <= 32;
}

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

} // namespace

std::string Trim(std::string_view text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsTrimmed);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsTrimmed).base();
    return first < last ? std::string(first, last) : std::string();
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameNoCase);
}

bool ContainsNoCase(std::string_view needle, std::string_view text) {
    if (needle.empty()) {
        return false;
    }
    return std::search(text.begin(), text.end(), needle.begin(), needle.end(), SameNoCase) !=
           text.end();
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool StartsWithExact(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix);
}

std::string CutPrefixNoCase(std::string_view text, std::string_view prefix) {
    if (!StartsWithNoCase(text, prefix)) {
        return std::string(text);
    }
    return Trim(text.substr(prefix.size()));
}

std::string CutSuffixNoCase(std::string_view text, std::string_view suffix) {
    if (!EndsWithNoCase(text, suffix)) {
        return std::string(text);
    }
    return Trim(text.substr(0, text.size() - suffix.size()));
}

std::string LeftPart(std::string_view text, int n) {
    return std::string(text.substr(0, static_cast<std::size_t>(std::clamp(n, 0, Length(text)))));
}

std::string RightPart(std::string_view text, int n) {
    const int count = std::clamp(n, 0, Length(text));
    return std::string(text.substr(text.size() - static_cast<std::size_t>(count)));
}

std::int32_t Larger(std::int32_t a, std::int32_t b) {
    return std::max(a, b);
}

int CountInSet(std::string_view text, std::string_view set) {
    if (text.empty()) {
        return 0;
    }
    const auto inSet = [set](char c) { return set.find(c) != std::string_view::npos; };
    return 1 + static_cast<int>(std::count_if(text.begin(), text.end(), inSet));
}

std::string FieldAt(std::string_view text, int index, std::string_view delimiters) {
    if (index < 0) {
        return {};
    }
    std::size_t start = 0;
    for (int field = 0; field < index; ++field) {
        const std::size_t end = text.find_first_of(delimiters, start);
        if (end == std::string_view::npos) {
            return {};
        }
        start = end + 1;
    }
    const std::size_t end = text.find_first_of(delimiters, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

std::string TextAfter(std::string_view text, std::string_view marker) {
    const std::size_t at = marker.empty() ? std::string_view::npos : text.find(marker);
    return std::string(at == std::string_view::npos ? text : text.substr(at + marker.size()));
}

std::string TextBefore(std::string_view text, std::string_view marker) {
    const std::size_t at = marker.empty() ? std::string_view::npos : text.find(marker);
    return std::string(text.substr(0, at));
}

std::size_t FindLastSeparator(std::string_view path, std::string_view separators) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char b = Byte(path[i]);
        if (b >= 0x81 && b <= 0xFE) {
            ++i; // the second byte belongs to the character
        } else if (separators.find(path[i]) != std::string_view::npos) {
            last = i;
        }
    }
    return last;
}

bool EndsWithSeparator(std::string_view path) {
    return !path.empty() && FindLastSeparator(path) == path.size() - 1;
}

std::string PathFolder(std::string_view path) {
    const std::size_t separator = FindLastSeparator(path);
    return separator == std::string_view::npos ? std::string()
                                               : std::string(path.substr(0, separator + 1));
}

std::string PathFileName(std::string_view path) {
    const std::size_t separator = FindLastSeparator(path);
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string FileBaseName(std::string_view path) {
    const std::size_t separator = FindLastSeparator(path, "\\:");
    const std::string_view name =
        separator == std::string_view::npos ? path : path.substr(separator + 1);
    return std::string(name.substr(0, name.rfind('.')));
}

std::string StripTrailingWebWords(std::string_view text) {
    std::string result(text);
    for (;;) {
        const int words = CountInSet(result, " ");
        if (words < 2) {
            return result;
        }
        const std::string last = FieldAt(result, words - 1, " ");
        if (!StartsWithNoCase(last, "http://")) {
            return result;
        }
        result = Trim(CutSuffixNoCase(result, last));
    }
}

std::string StripNameTail(std::string_view text) {
    std::string result(text);
    for (;;) {
        const std::string previous = result;
        result = CutSuffixNoCase(Trim(StripTrailingWebWords(result)), " -");
        if (result == previous) {
            return result;
        }
    }
}
