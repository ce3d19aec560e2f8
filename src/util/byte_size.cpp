#include "util/byte_size.h"

#include "util/locale_format.h"

#include <cstddef>
#include <cstdio>

namespace {

constexpr std::size_t kLargestUnit = 4;

SizeUnitNameList& MutableSizeUnitNames() {
    static SizeUnitNameList names = {"b.", "Kb.", "Mb.", "Gb.", "Tb."};
    return names;
}

} // namespace

const SizeUnitNameList& SizeUnitNames() {
    return MutableSizeUnitNames();
}

void SetSizeUnitNames(const SizeUnitNameList& names) {
    MutableSizeUnitNames() = names;
}

std::string FormatByteSize(std::int64_t bytes, std::string_view decimalSeparator) {
    const SizeUnitNameList& units = SizeUnitNames();
    // Room for the longest number (19 digits and a sign) and a blank; the unit name is appended.
    char number[32];
    if (bytes < 1024) {
        // Signed, so that a negative count is not shown as a huge one.
        std::snprintf(number, sizeof number, "%-4lld ", static_cast<long long>(bytes));
        return number + units[0];
    }

    double value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 1;
    while (value >= 1024 && unit < kLargestUnit) {
        value /= 1024;
        ++unit;
    }

    if (value >= 1000) {
        // From 1000 on a fraction of the next unit would read worse: "1001 MB", not "0.978 GB".
        std::snprintf(number, sizeof number, "%llu ", static_cast<unsigned long long>(value));
        return number + units[unit];
    }
    // The program never changes the C library's locale, so the point is always ".".
    std::snprintf(number, sizeof number, "%.3g ", value);
    std::string text = number;
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, decimalSeparator);
    }
    return text + units[unit];
}

std::string FormatByteSize(std::int64_t bytes) {
    return FormatByteSize(bytes, UserDecimalSeparator());
}
