// The one conversion of version-resource text (UTF-16) to the identification rules' 8-bit text,
// the same in both builds: code page 936 wherever it can spell a character; the three symbols
// that the rules look for ("®", "™", "©") as their single Windows-1252 bytes 0xAE, 0x99, 0xA9;
// "?" for every other character. A character outside the 16-bit range (a surrogate pair) gives
// one "?".
#pragma once

#include <optional>
#include <string>
#include <string_view>

std::string IdentifyTextFromUtf16(std::u16string_view text);

// The same for UTF-16 bytes (little-endian, an optional byte-order mark); an odd last byte is
// ignored.
std::string IdentifyTextFromUtf16Bytes(std::string_view bytes);

// The UTF-16 text of strict UTF-8 bytes; nothing when the bytes are not UTF-8 (a cut or
// overlong sequence, a surrogate, a code point above U+10FFFF, a stray continuation byte).
std::optional<std::u16string> Utf16FromUtf8(std::string_view bytes);
// True when Utf16FromUtf8 decodes the bytes.
bool IsUtf8(std::string_view bytes);

// UTF-8 for showing such text: a two-byte code page 936 code as its character, any other byte
// from 0x80 up as its Windows-1252 character (so 0xAE, 0x99 and 0xA9 show as "®", "™", "©"),
// a byte that is neither as U+FFFD.
std::string Utf8FromIdentifyText(std::string_view text);
