#include "payments/Decimal.h"

namespace bvr::pay {

namespace {

constexpr std::size_t kMaxWholeDigits = 13;
constexpr std::size_t kMaxFractionDigits = 5;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<Units> ParseDecimal(std::string_view text) {
  text = TrimBlanks(text);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() || whole.size() > kMaxWholeDigits || fraction.size() > kMaxFractionDigits ||
      (point != std::string_view::npos && fraction.empty())) {
    return std::nullopt;
  }
  Units units = 0;
  for (char c : whole) {
    if (!IsDigit(c)) {
      return std::nullopt;
    }
    units = units * 10 + (c - '0');
  }
  std::size_t places = 0;
  for (char c : fraction) {
    if (!IsDigit(c)) {
      return std::nullopt;
    }
    units = units * 10 + (c - '0');
    ++places;
  }
  for (; places < kMaxFractionDigits; ++places) {
    units *= 10;
  }
  return units;
}

std::string FormatDecimal(Units units) {
  const bool negative = units < 0;
  // Through unsigned so that the most negative value has a magnitude too.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  // Written backwards into a buffer: a result has a few amounts per open invoice.
  char buffer[32];
  char* const end = buffer + sizeof buffer;
  char* at = end;
  std::uint64_t fraction = magnitude % kUnitsPerWhole;
  std::size_t places = kMaxFractionDigits;
  while (places > 2 && fraction % 10 == 0) {
    fraction /= 10;
    --places;
  }
  for (std::size_t i = 0; i < places; ++i, fraction /= 10) {
    *--at = static_cast<char>('0' + fraction % 10);
  }
  *--at = '.';
  std::uint64_t whole = magnitude / kUnitsPerWhole;
  do {
    *--at = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  if (negative) {
    *--at = '-';
  }
  return std::string(at, end);
}

}  // namespace bvr::pay
