// Makes the raw values that the system reports for a memory module readable.
#pragma once

#include <cstdint>
#include <string>

// The vendor behind a module's manufacturer text, which is either a vendor name or a JEDEC
// manufacturer code in hexadecimal; "N/A" for a placeholder, the text itself when unknown.
std::string DecodeVendor(const std::string& manufacturer);

// The name of a memory-type code. Where the code says nothing useful, the firmware's memory-device
// type names the type when it knows one (DDR5 and LPDDR5 have no memory-type code of their own),
// and otherwise the generation is guessed from the speed in MHz. A firmware type of 0 is absent.
std::string MemoryTypeName(std::uint16_t memoryType, std::int32_t speed,
                           std::uint32_t smbiosMemoryType = 0);
