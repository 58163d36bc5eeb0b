#include "numbers/Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "strings/BvrError.h"

namespace bvr {

namespace {

// Roughly the power of ten of a well-formed number text ("[-]digits[.digits][e[+-]digits]"):
// positive for values of 1 and above, negative for values below 1. Only its sign is used, to
// tell an overflow from an underflow; the text's own exponent may be of any length.
long long DecimalMagnitude(const std::string& normal) {
  std::size_t i = normal[0] == '-' ? 1 : 0;
  long long magnitude = 0;
  bool significant = false;
  bool fraction = false;
  for (; i < normal.size() && normal[i] != 'e'; ++i) {
    if (normal[i] == '.') {
      fraction = true;
    } else if (!fraction) {
      significant = significant || normal[i] != '0';
      magnitude += significant ? 1 : 0;
    } else if (!significant) {
      if (normal[i] != '0') {
        significant = true;
      } else {
        --magnitude;
      }
    }
  }
  long long exponent = 0;
  if (i < normal.size()) {
    std::size_t j = i + 1;
    const bool negative = j < normal.size() && normal[j] == '-';
    if (j < normal.size() && (normal[j] == '-' || normal[j] == '+')) {
      ++j;
    }
    for (; j < normal.size(); ++j) {
      exponent = std::min(exponent * 10 + (normal[j] - '0'), 1000000000LL);
    }
    exponent = negative ? -exponent : exponent;
  }
  return magnitude + exponent;
}

}  // namespace

std::int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  // nearbyint under the default rounding mode takes halves to the even neighbour.
  const double r = std::nearbyint(value);
  if (r <= kMin) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (r >= kMax) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(r);
}

std::string FormatGeneral(double value, char decimalSeparator) {
  if (std::isnan(value) || std::isinf(value)) {
    return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
  }
  // to_chars, unlike printf, ignores the process locale (a GUI sets it from the environment).
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  // Split off an exponent, trim trailing zeros of the mantissa, and put the exponent back.
  std::string exponent;
  if (auto e = text.find('e'); e != std::string::npos) {
    exponent = text.substr(e);
    text.erase(e);
  }
  if (auto dot = text.find('.'); dot != std::string::npos) {
    while (!text.empty() && text.back() == '0') {
      text.pop_back();
    }
    if (!text.empty() && text.back() == '.') {
      text.pop_back();
    }
    if (auto d = text.find('.'); d != std::string::npos) {
      text[d] = decimalSeparator;
    }
  }
  if (text == "-0") {
    text = "0";
  }
  return text + exponent;
}

std::string FormatPlainDecimal(double value) {
  std::string text = FormatGeneral(value);
  const std::size_t e = text.find('e');
  if (e == std::string::npos) {
    return text;
  }
  const long exponent = std::strtol(text.c_str() + e + 1, nullptr, 10);
  text.erase(e);
  const std::string sign = text[0] == '-' ? "-" : "";
  text.erase(0, sign.size());
  // The mantissa has one digit before its point: the point moves `exponent` places.
  std::string digits = text.substr(0, 1) + (text.size() > 2 ? text.substr(2) : "");
  const long point = 1 + exponent;
  if (point <= 0) {
    return sign + "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
  }
  if (static_cast<std::size_t>(point) >= digits.size()) {
    return sign + digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
  }
  digits.insert(static_cast<std::size_t>(point), ".");
  return sign + digits;
}

std::optional<std::int32_t> TryStrToInt(const std::string& text) {
  const auto fail = []() -> std::optional<std::int32_t> { return std::nullopt; };
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  }
  if (i >= text.size()) {
    return fail();
  }
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return fail();
    }
    value = value * base + digit;
    if (value > (base == 16 ? 0xFFFFFFFFLL : 0x80000000LL)) {
      return fail();
    }
  }
  if (base == 16) {
    // Hexadecimal runs over the 32 bits as they stand ($FFFFFFFF is -1).
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  if (negative) {
    value = -value;
  }
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return fail();
  }
  return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(const std::string& text) {
  if (const std::optional<std::int32_t> value = TryStrToInt(text)) {
    return *value;
  }
  throw EBvrError(Fmt("'%s' is not a valid integer value").s(text));
}

std::optional<double> TryStrToFloat(const std::string& text, char decimalSeparator) {
  const auto fail = []() -> std::optional<double> { return std::nullopt; };
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') {
    ++i;
  }
  std::string normal;  // the number rewritten with '.' for strtod, in the "C" locale
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    normal += text[i++];
  }
  std::size_t digits = 0;
  bool separator = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      normal += c;
      ++digits;
    } else if (c == decimalSeparator && !separator) {
      normal += '.';
      separator = true;
    } else {
      break;
    }
  }
  if (digits == 0) {
    return fail();
  }
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      normal += text[i++];
    }
    std::size_t expDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      normal += text[i++];
      ++expDigits;
    }
    if (expDigits == 0) {
      return fail();
    }
  }
  while (i < n && text[i] == ' ') {
    ++i;
  }
  if (i != n) {
    return fail();
  }
  // from_chars, unlike strtod, ignores the process locale.
  double value = 0.0;
  const char* begin = normal.c_str();
  if (*begin == '+') {
    ++begin;
  }
  const auto [end, ec] = std::from_chars(begin, normal.c_str() + normal.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is no representable amount.
    if (DecimalMagnitude(normal) < 0) {
      return 0.0;
    }
    return fail();
  }
  if (ec != std::errc() || end != normal.c_str() + normal.size()) {
    return fail();
  }
  return value;
}

double StrToFloat(const std::string& text, char decimalSeparator) {
  if (const std::optional<double> value = TryStrToFloat(text, decimalSeparator)) {
    return *value;
  }
  throw EBvrError(Fmt("'%s' is not a valid floating point value").s(text));
}

}  // namespace bvr
