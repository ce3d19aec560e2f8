// The maker's per-user registry key, where each of the maker's programs stores the path of its
// executable under its title so that one program can start another.
#pragma once

#include <string>

// The string value of that name; empty when the key cannot be opened or the value is missing.
// Raises OSError when the value exists with a type other than a string.
std::string ReadMakerRegistryValue(const std::string& name);

// Writes the text as a string value, creating the key when it is missing. Nothing happens when
// the key cannot be opened; raises OSError when the value cannot be written.
void StoreMakerRegistryValue(const std::string& name, const std::string& text);
