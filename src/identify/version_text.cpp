#include "identify/version_text.h"

#include "identify/string_helpers.h"
#include "update/version.h"

#include <algorithm>

std::string LeadingVersionText(std::string_view text) {
    std::string version;
    for (const char c : text) {
        if (c == ',') {
            version += '.';
        } else if ((c >= '0' && c <= '9') || c == '.') {
            version += c;
        } else if (c != ' ') {
            break;
        }
    }
    return version;
}

bool IsDigitsAndDots(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

bool IsValidVersionText(const std::string& text) {
    return !text.empty() && TVeyraVersion(text).IsValid();
}

std::string PadToFourParts(std::string text) {
    while (CountInSet(text, ".") < 4) {
        text += ".0";
    }
    return text;
}
