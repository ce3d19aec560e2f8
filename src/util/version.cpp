#include "util/version.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>

namespace {

constexpr std::int32_t kLargestPart = 65535;

int FieldCount(const std::string& text) {
    if (text.empty()) {
        return 0;
    }
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '.'));
}

std::optional<int> DigitValue(char c, int base) {
    int value = 0;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    } else {
        return std::nullopt;
    }
    if (value >= base) {
        return std::nullopt;
    }
    return value;
}

// Whole-text conversion to a signed 32-bit number: leading blanks, one sign, then decimal digits
// or hexadecimal ones after "$", "x" or "0x". Anything else, trailing blanks included, and any
// value outside the 32-bit range give 0.
std::int32_t ToInt32OrZero(std::string_view text) {
    std::size_t pos = text.find_first_not_of(' ');
    if (pos == std::string_view::npos) {
        return 0;
    }
    text.remove_prefix(pos);

    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    int base = 10;
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return 0;
    }

    // The magnitude may reach 2^31 for the most negative number.
    const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (char c : text) {
        const std::optional<int> digit = DigitValue(c, base);
        if (!digit) {
            return 0;
        }
        magnitude = magnitude * base + *digit;
        if (magnitude > limit) {
            return 0;
        }
    }
    if (!negative && magnitude == limit) {
        return 0;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::uint32_t Packed(std::int32_t high, std::int32_t low) {
    return (static_cast<std::uint32_t>(high) << 16) + static_cast<std::uint32_t>(low);
}

} // namespace

TVeyraVersion::TVeyraVersion(const std::string& text) {
    SetText(text);
}

void TVeyraVersion::SetText(const std::string& text) {
    std::string padded = text;
    while (FieldCount(padded) < 4) {
        padded += ".0";
    }

    // The fourth field runs to the end of the text, further dots included.
    std::array<std::string_view, 4> fields;
    std::string_view rest = padded;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t dot = rest.find('.');
        fields[i] = rest.substr(0, dot);
        rest.remove_prefix(dot + 1);
    }
    fields[3] = rest;

    std::array<std::int32_t*, 4> parts = {&Major, &Minor, &Release, &Build};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::int32_t value = ToInt32OrZero(fields[i]);
        *parts[i] = value > kLargestPart ? 0 : value;
    }
}

std::string TVeyraVersion::AsText() const {
    return std::to_string(Major) + '.' + std::to_string(Minor) + '.' + std::to_string(Release) +
           '.' + std::to_string(Build);
}

bool TVeyraVersion::IsValid() const {
    // Summed in 64 bits: a 32-bit sum of large negative parts would wrap round to a positive one.
    return std::int64_t{Major} + Minor + Release + Build > 0;
}

bool TVeyraVersion::IsNewerThan(const TVeyraVersion& other) const {
    const std::array<std::int32_t, 4> mine = {Major, Minor, Release, Build};
    const std::array<std::int32_t, 4> theirs = {other.Major, other.Minor, other.Release,
                                                other.Build};
    return mine > theirs;
}

std::uint32_t TVeyraVersion::HighPart() const {
    return Packed(Major, Minor);
}

std::uint32_t TVeyraVersion::LowPart() const {
    return Packed(Release, Build);
}

std::string TVeyraVersion::HighPartText() const {
    return std::to_string(HighPart());
}

std::string TVeyraVersion::LowPartText() const {
    return std::to_string(LowPart());
}

bool TVeyraVersion::IsNewerThanParts(std::uint32_t high, std::uint32_t low) const {
    const std::uint32_t myHigh = HighPart();
    return myHigh > high || (myHigh == high && LowPart() > low);
}
