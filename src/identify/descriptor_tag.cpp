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
    const bool utf8 = std::all_of(lines.begin(), lines.end(), [](const std::string& line) {
        return Utf16FromUtf8(line).has_value();
    });
    return utf8 ? IdentifyTextFromUtf16(*Utf16FromUtf8(value)) : value;
}
