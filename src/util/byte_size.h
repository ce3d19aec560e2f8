// Byte counts as short texts such as "3.73 GB".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Names of bytes, kilobytes, megabytes, gigabytes and terabytes, in that order.
using SizeUnitNameList = std::array<std::string, 5>;

// Program-wide; "b.", "Kb.", "Mb.", "Gb.", "Tb." until the program sets its own.
const SizeUnitNameList& SizeUnitNames();
void SetSizeUnitNames(const SizeUnitNameList& names);

// Below 1024 the exact count; above, three significant digits of the largest unit (up to
// terabytes) that gives at least 1, or the whole number of that unit from 1000 on.
std::string FormatByteSize(std::int64_t bytes, std::string_view decimalSeparator);

// With the user's decimal separator.
std::string FormatByteSize(std::int64_t bytes);
