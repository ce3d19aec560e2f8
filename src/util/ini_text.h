// Reads values from text in the usual ini layout: "[section]" lines and "key=value" lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Lines longer than this are read only up to it; the rest of such a line is ignored.
inline constexpr std::size_t kIniMaxLineLength = 4096;

// The value of key in section, or fallback when the section or the key is missing. Section and
// key names compare without regard to ASCII letter case; names and values are trimmed of blanks
// and control bytes, and one pair of enclosing quotes ('' or "") is removed from a value. The
// first matching key of the first section that holds it wins. Lines end in CR LF, LF or CR; a
// UTF-8 byte-order mark at the start is skipped; lines starting with ";" or "#" are comments.
std::string ReadIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view fallback);
