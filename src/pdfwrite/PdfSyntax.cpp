#include "pdfwrite/PdfSyntax.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "qrbill/Utf8.h"

namespace bvr::pdf {

void AppendInteger(std::string& out, long long value) {
  std::array<char, 24> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(),
             error == std::errc() ? static_cast<std::size_t>(end - buffer.data()) : 0);
}

void AppendNumber(std::string& out, double value, int decimals) {
  // Scaled to a whole number and printed as one: a page holds thousands of coordinates.
  static constexpr long long kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
  decimals = std::clamp(decimals, 0, 6);
  const long long power = kPowers[decimals];
  if (!std::isfinite(value) || std::fabs(value) >= 1e12) {
    out += '0';  // a broken coordinate must not break the file's syntax
    return;
  }
  long long scaled = std::llround(value * static_cast<double>(power));
  if (scaled < 0) {
    out += '-';
    scaled = -scaled;
  }
  AppendInteger(out, scaled / power);
  long long fraction = scaled % power;
  if (fraction == 0) {
    return;
  }
  int digits = decimals;
  while (fraction % 10 == 0) {
    fraction /= 10;
    --digits;
  }
  out += '.';
  std::array<char, 8> text{};
  for (int i = digits - 1; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  out.append(text.data(), static_cast<std::size_t>(digits));
}

void AppendHex4(std::string& out, unsigned code) {
  static constexpr std::string_view kDigits = "0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4) {
    out += kDigits[(code >> static_cast<unsigned>(shift)) & 0xFu];
  }
}

void AppendUtf16Hex(std::string& out, char32_t c) {
  if (c > 0xFFFF) {
    const char32_t v = c - 0x10000;
    AppendHex4(out, 0xD800 + static_cast<unsigned>(v >> 10));
    AppendHex4(out, 0xDC00 + static_cast<unsigned>(v & 0x3FF));
  } else {
    AppendHex4(out, static_cast<unsigned>(c));
  }
}

std::string TextString(std::string_view utf8) {
  std::string out = "<FEFF";
  for (const char32_t c : qr::DecodeUtf8(utf8).characters) {
    AppendUtf16Hex(out, c);
  }
  out += '>';
  return out;
}

}  // namespace bvr::pdf
