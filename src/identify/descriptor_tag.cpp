#include "identify/descriptor_tag.h"

#include "identify/identify_text.h"
#include "identify/string_helpers.h"

#include <algorithm>

namespace {

// "<" or "</", the tag and ">", built by appending: GCC 12 warns falsely about operator+ here.
std::string TagMark(std::string_view opening, std::string_view tag) {
    std::string mark(opening);
    mark.append(tag);
    mark.push_back('>');
    return mark;
}

std::string LineValue(std::string_view line, const std::string& open, const std::string& close) {
    std::string text = Trim(line);
    if (ContainsNoCase("<!--", text)) {
        // A comment is read only when it holds the tag: otherwise a remark beside the tag on the
        // same line would be taken for the tag's value.
        const std::string inside = Trim(TextBefore(Trim(TextAfter(text, "<!--")), "-->"));
        if (ContainsNoCase(open, inside)) {
            text = inside;
        }
    }
    return Trim(TextBefore(Trim(TextAfter(text, open)), close));
}

// A file read only to a bound may end inside a character: that cut is no sign of another
// encoding. The text without a sequence that is begun in its last three bytes and not finished.
std::string_view WithoutCutCharacter(std::string_view text) {
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return length > back ? text.substr(0, text.size() - back) : text;
        }
    }
    return text;
}

} // namespace

std::string ReadDescriptorTag(std::string_view tag, const std::vector<std::string>& lines) {
    const std::string open = TagMark("<", tag);
    const std::string close = TagMark("</", tag);
    std::string value;
    for (const std::string& line : lines) {
        if (ContainsNoCase(open, line)) {
            value = LineValue(line, open, close);
        }
    }
    if (value.empty()) {
        return value;
    }
    // The whole file decides: a GBK file may hold a line that happens to be UTF-8. Line ends are
    // ASCII, so no UTF-8 sequence spans two lines.
    const bool utf8 = std::all_of(lines.begin(), lines.end() - 1,
                                  [](const std::string& line) { return IsUtf8(line); }) &&
                      IsUtf8(WithoutCutCharacter(lines.back()));
    if (!utf8) {
        return value;
    }
    const auto decoded = Utf16FromUtf8(WithoutCutCharacter(value));
    return decoded ? IdentifyTextFromUtf16(*decoded) : value;
}
