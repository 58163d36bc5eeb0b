// Number <-> text conversions shared by the whole library. The core always uses "." as the
// decimal separator unless a caller passes another one (the user interface passes its locale's).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bvr {

// Nearest integer, a value exactly halfway going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Values beyond the 32-bit range (and NaN) are clamped instead of being undefined.
std::int32_t RoundHalfEven(double value);

// The general decimal form of a double: at most 15 significant digits, no trailing zeros,
// no separator for whole numbers (0.1 + 0.2 gives "0.3", 1000 gives "1000").
std::string FormatGeneral(double value, char decimalSeparator = '.');

// The same digits without an exponent, for messages and printed amounts: 1e+15 gives
// "1000000000000000", -1e-07 gives "-0.0000001". Infinities and NaN as FormatGeneral.
std::string FormatPlainDecimal(double value);

// Integer text: optional sign, decimal digits or "$" and hexadecimal digits, nothing else.
// Fails with "'%s' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);
// The same reading without the exception: nothing where StrToInt fails.
std::optional<std::int32_t> TryStrToInt(const std::string& text);

// Floating-point text: optional blanks, optional sign, digits with at most one decimal
// separator, optional exponent, optional blanks. Fails with
// "'%s' is not a valid floating point value" (also for an empty text).
double StrToFloat(const std::string& text, char decimalSeparator = '.');
// The same reading without the exception: nothing where StrToFloat fails.
std::optional<double> TryStrToFloat(const std::string& text, char decimalSeparator = '.');

}  // namespace bvr
