#include "wmi/wmi_conversions.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>

namespace {

using ObjectRef = std::shared_ptr<IAutomationObject>;

// Removes leading and trailing bytes of code 32 or less.
std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view WithoutPlus(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    return text;
}

std::optional<std::int64_t> ParseInt64(std::string_view text) {
    text = WithoutPlus(Trim(text));
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

std::optional<double> ParseDouble(std::string_view text) {
    text = WithoutPlus(Trim(text));
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

[[noreturn]] void RaiseNotA(const std::string& what, const std::string& text) {
    throw ConversionError("'" + text + "' is not a valid " + what);
}

[[noreturn]] void RaiseObject(const std::string& what) {
    throw ConversionError("An object cannot be converted to " + what);
}

std::int64_t ToInt64(const TVariant& value) {
    return std::visit(
        [](const auto& held) -> std::int64_t {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, TVariant::EmptyValue> ||
                          std::is_same_v<T, TVariant::NullValue>) {
                return 0;
            } else if constexpr (std::is_same_v<T, std::string>) {
                const auto number = ParseInt64(held);
                if (!number) {
                    RaiseNotA("integer value", held);
                }
                return *number;
            } else if constexpr (std::is_same_v<T, bool>) {
                return held ? 1 : 0;
            } else if constexpr (std::is_same_v<T, double>) {
                // Rounds half to even, as the default floating-point environment does.
                const double rounded = std::nearbyint(held);
                if (!(rounded >= -0x1p63 && rounded < 0x1p63)) {
                    throw ConversionError("A real value is out of the range of a 64-bit integer");
                }
                return static_cast<std::int64_t>(rounded);
            } else if constexpr (std::is_same_v<T, std::uint64_t>) {
                if (held > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
                    throw ConversionError("An integer is out of the range of a 64-bit integer");
                }
                return static_cast<std::int64_t>(held);
            } else if constexpr (std::is_same_v<T, ObjectRef>) {
                RaiseObject("an integer");
            } else {
                return static_cast<std::int64_t>(held);
            }
        },
        value.Get());
}

// An integer of any width as sign and magnitude, so that widths and signedness compare exactly.
struct SignedMagnitude {
    bool negative;
    std::uint64_t magnitude;

    bool operator==(const SignedMagnitude&) const = default;
};

std::optional<SignedMagnitude> IntegerOf(const TVariant& value) {
    return std::visit(
        [](const auto& held) -> std::optional<SignedMagnitude> {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, bool> || !std::is_integral_v<T>) {
                return std::nullopt;
            } else if constexpr (std::is_signed_v<T>) {
                const bool negative = held < 0;
                // Negating in the unsigned type keeps the lowest value of the type defined.
                const auto magnitude = static_cast<std::uint64_t>(static_cast<std::int64_t>(held));
                return SignedMagnitude{negative, negative ? 0 - magnitude : magnitude};
            } else {
                return SignedMagnitude{false, static_cast<std::uint64_t>(held)};
            }
        },
        value.Get());
}

std::optional<SignedMagnitude> IntegerOfText(const std::string& text) {
    std::string_view digits = WithoutPlus(Trim(text));
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative) {
        digits.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return SignedMagnitude{negative && magnitude != 0, magnitude};
}

std::optional<double> RealOf(const TVariant& value) {
    if (const auto* real = std::get_if<double>(&value.Get())) {
        return *real;
    }
    if (const auto integer = IntegerOf(value)) {
        const auto magnitude = static_cast<double>(integer->magnitude);
        return integer->negative ? -magnitude : magnitude;
    }
    return std::nullopt;
}

bool IsNumber(const TVariant& value) {
    return RealOf(value).has_value();
}

bool TextEqualsNumber(const std::string& text, const TVariant& number) {
    if (const auto integer = IntegerOf(number)) {
        return IntegerOfText(text) == integer;
    }
    const auto parsed = ParseDouble(text);
    return parsed && *parsed == *RealOf(number);
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int year, int month, int day) {
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

int Digits(const std::string& text, std::size_t first, std::size_t count) {
    int number = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            RaiseNotA("date and time", text);
        }
        number = number * 10 + (text[i] - '0');
    }
    return number;
}

} // namespace

std::string WmiVarToText(const TVariant& value) {
    return std::visit(
        [](const auto& held) -> std::string {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, TVariant::EmptyValue> ||
                          std::is_same_v<T, TVariant::NullValue>) {
                return {};
            } else if constexpr (std::is_same_v<T, std::string>) {
                return held;
            } else if constexpr (std::is_same_v<T, bool>) {
                return held ? "True" : "False";
            } else if constexpr (std::is_same_v<T, double>) {
                char buffer[32];
                const auto result = std::to_chars(buffer, buffer + sizeof buffer, held);
                return std::string(buffer, result.ptr);
            } else if constexpr (std::is_same_v<T, ObjectRef>) {
                RaiseObject("text");
            } else {
                return std::to_string(held);
            }
        },
        value.Get());
}

std::uint16_t WmiVarToWord(const TVariant& value) {
    if (value.IsNull()) {
        return 0;
    }
    const std::int64_t number = ToInt64(value);
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max()) {
        throw ConversionError("An integer is out of the range of a 32-bit integer");
    }
    return static_cast<std::uint16_t>(number);
}

std::uint32_t WmiVarToCardinal(const TVariant& value) {
    if (value.IsNull()) {
        return 0;
    }
    return static_cast<std::uint32_t>(ToInt64(value));
}

std::int64_t WmiVarToInt64(const TVariant& value) {
    if (value.IsNull()) {
        return 0;
    }
    return ToInt64(value);
}

bool WmiVarToBoolean(const TVariant& value) {
    if (value.IsNull() || value.IsEmpty()) {
        return false;
    }
    if (const auto* flag = std::get_if<bool>(&value.Get())) {
        return *flag;
    }
    if (const auto* text = std::get_if<std::string>(&value.Get())) {
        std::string word(Trim(*text));
        for (char& c : word) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        if (word == "true") {
            return true;
        }
        if (word == "false") {
            return false;
        }
        const auto number = ParseDouble(*text);
        if (!number) {
            RaiseNotA("boolean value", *text);
        }
        return *number != 0;
    }
    if (const auto number = RealOf(value)) {
        return *number != 0;
    }
    RaiseObject("a boolean");
}

double WmiVarToDouble(const TVariant& value) {
    if (value.IsNull() || value.IsEmpty()) {
        return 0.0;
    }
    if (const auto* flag = std::get_if<bool>(&value.Get())) {
        return *flag ? 1.0 : 0.0;
    }
    if (const auto* text = std::get_if<std::string>(&value.Get())) {
        const auto number = ParseDouble(*text);
        if (!number) {
            RaiseNotA("floating point value", *text);
        }
        return *number;
    }
    if (const auto number = RealOf(value)) {
        return *number;
    }
    RaiseObject("a real");
}

TDateTime WmiVarToDateTime(const TVariant& value) {
    const std::string text = WmiVarToText(value);
    if (text.size() < 15) {
        return 0;
    }
    const int year = Digits(text, 0, 4);
    const int month = Digits(text, 4, 2);
    const int day = Digits(text, 6, 2);
    const int hour = Digits(text, 8, 2);
    const int minute = Digits(text, 10, 2);
    const int second = Digits(text, 12, 2);

    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59) {
        RaiseNotA("date and time", text);
    }
    const std::int64_t days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

bool VariantEquals(const TVariant& left, const TVariant& right) {
    const auto* leftText = std::get_if<std::string>(&left.Get());
    const auto* rightText = std::get_if<std::string>(&right.Get());
    if (leftText && rightText) {
        return *leftText == *rightText;
    }
    if (leftText && IsNumber(right)) {
        return TextEqualsNumber(*leftText, right);
    }
    if (rightText && IsNumber(left)) {
        return TextEqualsNumber(*rightText, left);
    }
    const auto leftInteger = IntegerOf(left);
    const auto rightInteger = IntegerOf(right);
    if (leftInteger && rightInteger) {
        return *leftInteger == *rightInteger;
    }
    if (IsNumber(left) && IsNumber(right)) {
        return *RealOf(left) == *RealOf(right);
    }
    if (left.Kind() != right.Kind()) {
        return false;
    }
    if (const auto* flag = std::get_if<bool>(&left.Get())) {
        return *flag == std::get<bool>(right.Get());
    }
    if (const auto* object = std::get_if<ObjectRef>(&left.Get())) {
        return *object == std::get<ObjectRef>(right.Get());
    }
    return true; // both empty or both null
}
