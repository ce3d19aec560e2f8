// Reads single-line tags such as <name>Foo</name> from an application descriptor file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The value of the last line that holds "<tag>" (ignoring case), or empty text. lines is the
// file's text, one entry per line. A tag inside a comment on its line is read like any other.
// When every line is UTF-8 (a descriptor's default encoding and its usual declaration), the value
// is decoded as UTF-8 and converted to the identification's 8-bit text (IdentifyTextFromUtf16);
// otherwise its bytes are taken as they are.
std::string ReadDescriptorTag(std::string_view tag, const std::vector<std::string>& lines);
