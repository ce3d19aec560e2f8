// The rule texts name three symbols by their single Windows-1252 bytes ("\xAE", "\x99", "\xA9"),
// while the names around them are GBK text, where the same bytes are also the second byte of many
// double-byte characters (0xB0 0xAE is a common Chinese character). These functions look at such
// a byte only where it stands as a character of its own, so that a symbol rule never cuts a
// Chinese character in half.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// True when the byte at index is the second byte of a double-byte character, reading text from
// its start: a byte 0x81-0xFE followed by a byte 0x40-0x7E or 0x80-0xFE makes one character.
bool IsSecondByteAt(std::string_view text, std::size_t index);

// True when symbol occurs in text as a character of its own.
bool HoldsSymbol(std::string_view text, char symbol);

// text without every occurrence of symbol that stands as a character of its own.
std::string RemoveSymbol(std::string_view text, char symbol);

// CutSuffixNoCase of text by the one-byte symbol, when text ends with it as a character of its own.
std::string CutSymbolSuffix(std::string_view text, char symbol);
