// The program's 8-bit text: GBK (code page 936) wherever GBK spells a character, and GB18030's
// four-byte forms for every other character, so that any Unicode text (a path above all)
// survives the round trip through it. Every literal, table and file format stays GBK; only
// characters that GBK lacks take four bytes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The four-byte form of a character that code page 936 does not spell: any code point from
// U+0080 to U+10FFFF except the surrogates. Empty for the surrogates and for ASCII.
std::string FourByteFormOf(char32_t codePoint);

// The character that a four-byte form spells; nothing when the four bytes are not a four-byte
// form or spell no character.
std::optional<char32_t> CodePointOfFourByteForm(std::string_view form);

// Whether the text starts with the shape of a four-byte form (lead, digit, lead, digit), which
// no GBK text has: a GBK trail byte is never a digit.
bool StartsWithFourByteForm(std::string_view text);

// What the conversions ask of code page 936.
struct CodePage936 {
    // Whether it spells the character and reads its bytes back as the same character.
    std::function<bool(char16_t)> spells;
    // Its bytes for a run of characters it spells (lone surrogates included: it writes its
    // default character for them, as no encoding spells them).
    std::function<std::string(std::u16string_view)> encode;
    // Its characters for a run of bytes without four-byte forms.
    std::function<std::u16string(std::string_view)> decode;
};

// UTF-16 to the program's 8-bit text, and back.
std::string EightBitFromUtf16(std::u16string_view text, const CodePage936& codePage);
std::u16string Utf16FromEightBit(std::string_view text, const CodePage936& codePage);
