// Small tests and cuts on version texts.
#pragma once

#include <string>
#include <string_view>

// The version at the start of text: the leading run of digits, ".", "," and blanks, with each
// "," read as "." and the blanks dropped ("1, 2, 3, 4" gives "1.2.3.4"; "3.6.12 (build 5)"
// gives "3.6.12"; text that begins with a letter gives empty text).
std::string LeadingVersionText(std::string_view text);

// True when every character is a digit or "."; true for empty text.
bool IsDigitsAndDots(std::string_view text);

// True when text is not empty and its version number is valid (its parts add up to more than 0).
bool IsValidVersionText(const std::string& text);

// The version at the end of a display name: walking from the last character, digits and "."
// are collected; other characters are skipped until something has been collected and end the
// walk after that ("GIMP 2.10.34" gives "2.10.34", "Foo 1.3.2 final" gives "1.3.2").
std::string TrailingVersionText(std::string_view name);

// The text with ".0" appended until it has four dotted parts.
std::string PadToFourParts(std::string text);
