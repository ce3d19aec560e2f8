// Program files (Portable Executable images): the signature test and the way to their version
// resource. Every offset and length read from the file is checked against the bytes actually
// read, and only the headers, the resource directory and the resource itself are read.
#pragma once

#include "util/file_bytes.h"

#include <cstdint>
#include <optional>
#include <string>

// True when the file starts with "MZ" and the 32-bit offset at 0x3C points to "PE\0\0". is64 is
// true only then and when the optional header's magic (24 bytes after "PE") is 0x20B; a file
// that ends before the magic is an image that is not 64-bit. Nothing else of the headers is
// examined.
bool IsPEImage(const IByteSource& file, bool& is64);

// The same for a file by path; false for an empty path and a file that cannot be opened.
bool IsPEImage(const std::string& path, bool& is64);

// The bytes of the image's version resource (type 16, name 1 or else the first name, the first
// language); nothing when the file is not an image, has no such resource, the way to it leaves
// the file or its data entry claims more than 1 MiB. A resource whose claimed size reaches past
// the section's data or the file's end gives the bytes that are there.
std::optional<std::string> ReadVersionResourceBytes(const IByteSource& file);

// True only when the file is an image with a version resource (as ReadVersionResourceBytes finds
// it) whose claimed size lies wholly inside the section's data in the file. The system's version
// reader trusts that size, so only such a file may be handed to it.
bool VersionResourceLiesInFile(const IByteSource& file);
