// Conversions of a stored service value into a typed field. Only a null value gets the field's
// default; an empty value goes through the ordinary conversion (empty text, 0, false).
#pragma once

#include "wmi/variant.h"

#include <cstdint>
#include <stdexcept>
#include <string>

// Days since 30 December 1899 at midnight; the fraction is the time of day.
using TDateTime = double;

// A value that cannot become the field's type: text that is not a number, a date-time text whose
// digits give no valid date or time, an integer out of range, an object.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string WmiVarToText(const TVariant& value);
std::uint16_t WmiVarToWord(const TVariant& value);
std::uint32_t WmiVarToCardinal(const TVariant& value);
std::int64_t WmiVarToInt64(const TVariant& value);
bool WmiVarToBoolean(const TVariant& value);
double WmiVarToDouble(const TVariant& value);
// Reads the CIM date-time text "yyyymmddHHMMSS.ffffff+ooo"; fractions and offset are ignored.
TDateTime WmiVarToDateTime(const TVariant& value);

// Variant equality: null equals only null, empty only empty; numbers compare by value whatever
// their width, and a text compares with a number as the number it spells; texts compare byte by
// byte; objects by identity.
bool VariantEquals(const TVariant& left, const TVariant& right);
