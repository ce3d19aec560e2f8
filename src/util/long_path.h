// The prefix that lets the system's wide file functions take paths longer than 260 characters.
#pragma once

#include <string>

// "\\?\" before a local path; a network path "\\server\share\x" becomes
// "\\?\UNC\server\share\x". A path that already has the prefix is returned unchanged.
std::string LongPathForm(const std::string& path);
