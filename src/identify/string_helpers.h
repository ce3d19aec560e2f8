// Text tests and cuts shared by the name and version clean-up rules.
//
// Text is the program's 8-bit text (GBK). Every character is one byte: lengths and counts are
// byte counts. Ignoring case folds the ASCII letters A-Z only, so no locale takes part and the
// bytes of double-byte characters (0x80 and above) always compare only with themselves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Removes every byte of code 32 or less (space, tab, line breaks, control bytes) at both ends.
std::string Trim(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);
// An empty needle is never found.
bool ContainsNoCase(std::string_view needle, std::string_view text);
// An empty prefix or suffix always matches.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
bool StartsWithExact(std::string_view text, std::string_view prefix);

// The rest of text after the prefix, trimmed, when text starts with it; otherwise text as it is.
std::string CutPrefixNoCase(std::string_view text, std::string_view prefix);
// Text without the suffix, trimmed, when text ends with it; otherwise text as it is.
std::string CutSuffixNoCase(std::string_view text, std::string_view suffix);

// The first or last n characters; n is clamped to 0 and the length of text.
std::string LeftPart(std::string_view text, int n);
std::string RightPart(std::string_view text, int n);

std::int32_t Larger(std::int32_t a, std::int32_t b);

// 0 for empty text, otherwise 1 + the number of characters of text that occur in set: the number
// of fields that FieldAt finds with set as the delimiters.
int CountInSet(std::string_view text, std::string_view set);
// Field number index (from 0) of text split at every delimiter character; two delimiters in a
// row enclose an empty field. Empty text when there is no such field.
std::string FieldAt(std::string_view text, int index, std::string_view delimiters);

// The text after / before the first exact occurrence of marker; the whole text when marker does
// not occur. An empty marker counts as not occurring.
std::string TextAfter(std::string_view text, std::string_view marker);
std::string TextBefore(std::string_view text, std::string_view marker);

// The position of the last byte of path that is one of separators; npos when there is none. The
// second byte of a double-byte character (after a lead byte 0x81 to 0xFE) is never taken for
// one: "運" is 0xDF 0x5C, and its 0x5C is not a "\".
std::size_t FindLastSeparator(std::string_view path, std::string_view separators = "\\");
// True when the last character of path is a "\" (not the second byte of a double-byte one).
bool EndsWithSeparator(std::string_view path);
// The path up to and with its last "\"; empty text when it has none.
std::string PathFolder(std::string_view path);
// The path after its last "\"; the whole path when it has none.
std::string PathFileName(std::string_view path);

// The file name of a path (after the last "\" or ":") cut before its last ".".
std::string FileBaseName(std::string_view path);

// Removes every trailing space-separated word that is a web address ("http://...").
std::string StripTrailingWebWords(std::string_view text);
// Removes trailing web addresses and trailing " -" separators until nothing changes.
std::string StripNameTail(std::string_view text);
