#include "identify/version_text.h"

#include "identify/string_helpers.h"
#include "util/version.h"

#include <algorithm>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string LeadingVersionText(std::string_view text) {
    std::string version;
    for (const char c : text) {
        if (IsDigit(c) || c == '.') {
            version += c;
        } else if (c == ',') {
            version += '.';
        } else if (c != ' ') {
            break;
        }
    }
    return version;
}

bool IsDigitsAndDots(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || c == '.'; });
}

bool IsValidVersionText(const std::string& text) {
    return !text.empty() && TVeyraVersion(text).IsValid();
}

std::string TrailingVersionText(std::string_view name) {
    std::size_t end = name.size();
    while (end > 0 && !(IsDigit(name[end - 1]) || name[end - 1] == '.')) {
        --end;
    }
    std::size_t begin = end;
    while (begin > 0 && (IsDigit(name[begin - 1]) || name[begin - 1] == '.')) {
        --begin;
    }
    return std::string(name.substr(begin, end - begin));
}

std::string PadToFourParts(std::string text) {
    while (CountInSet(text, ".") < 4) {
        text += ".0";
    }
    return text;
}
