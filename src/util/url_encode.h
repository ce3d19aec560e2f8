// Percent-encoding of text for a query value.
#pragma once

#include <string>

// Byte by byte: letters, digits, "-", "." and "_" stay, a blank becomes "%20" and every other
// byte "%XX" in upper-case hexadecimal, so a GBK double-byte character becomes two escapes.
std::string UrlEncode(const std::string& text);
