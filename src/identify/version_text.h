// Tests and cuts of version texts.
#pragma once

#include <string>
#include <string_view>

// The version at the start of text: digits and points copied, a comma read as a point, blanks
// dropped, up to the first other character ("1, 2, 3, 4" gives "1.2.3.4").
std::string LeadingVersionText(std::string_view text);

// True when every character is a digit or "."; true for empty text.
bool IsDigitsAndDots(std::string_view text);

// True for text that is not empty and whose version has parts adding up to more than 0.
bool IsValidVersionText(const std::string& text);

// The text with ".0" appended until it has four dotted parts.
std::string PadToFourParts(std::string text);
