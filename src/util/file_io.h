// Whole-file writes on a path in the program's 8-bit text.
#pragma once

#include <string>
#include <string_view>

// Creates the file or replaces its whole content with the given bytes. Raises OSError on failure.
void WriteWholeFile(const std::string& path, std::string_view bytes);

// Writes the bytes to a temporary file beside the target and then moves it over the target, so
// that a failed or interrupted write leaves the earlier content whole. Raises OSError on failure
// (the temporary file is removed).
void ReplaceWholeFile(const std::string& path, std::string_view bytes);
