// Tests and measures files. Paths are the program's 8-bit text with "\" between folders; the
// Windows side hands them to the system's wide functions.
#pragma once

#include "util/file_system.h"

#include <cstdint>
#include <optional>
#include <string>

// True when a file, not a folder, of that name exists.
bool WideFileExists(const std::string& path);

// The file's size from its attributes, or from a directory search when those cannot be read;
// 0 when the file is not found.
std::uint64_t GetFileSize64(const std::string& path);
// The file's size from a directory search on the path; 0 when nothing is found.
std::uint64_t GetFileSizeByFind(const std::string& path);

// Creates one folder, whose parent must exist; false when it was not created (also when it
// exists already). The path must be absolute: on Windows it is given the long-path prefix.
bool WideCreateDirectory(const std::string& path);

// The fixed file version of the file's version resource, most significant half first; nothing
// when the file has none or it cannot be read.
std::optional<std::uint64_t> ReadFixedFileVersion(const std::string& path);

// True for an existing file of at least one byte. The test runs with the redirection that
// Windows applies to 32-bit programs switched off, so that such a program sees the real system
// folders; it is switched on again before returning.
bool FileExistsNonEmpty(const std::string& path, IFileSystem& fileSystem = SystemFileSystem());

// The fixed file version as four numbers joined by dots ("1.2.3.4"); empty text for a file
// without a version resource; "File not found" when there is no such file.
std::string GetFileVersionText(const std::string& path);

// The four 16-bit numbers of a fixed file version, most significant first, joined by dots.
std::string FormatFileVersion(std::uint64_t version);
