// Makes the raw values that the system reports for a memory module readable.
#pragma once

#include <cstdint>
#include <string>

// The vendor behind a module's manufacturer text, which is either a vendor name or a JEDEC
// manufacturer code in hexadecimal; "N/A" for a placeholder, the text itself when unknown.
std::string DecodeVendor(const std::string& manufacturer);

// The name of a memory-type code; where the code says nothing useful, the generation is guessed
// from the speed in MHz.
std::string MemoryTypeName(std::uint16_t memoryType, std::int32_t speed);
