#include "strings/MessageText.h"

#include <cstdio>

namespace bvr {

namespace {

// The length of the well-formed UTF-8 sequence at text[i] (2 to 4), or 0.
std::size_t SequenceAt(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong form
    high = lead == 0xED ? 0x9F : 0xBF;  // no surrogate
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) {
    return 0;
  }
  for (std::size_t k = 2; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      return 0;
    }
  }
  return length;
}

}  // namespace

std::string EscapedForMessage(std::string_view text, std::size_t maxBytes) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size() && i < maxBytes) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += text[i++];
      continue;
    }
    const std::size_t length = c >= 0x80 ? SequenceAt(text, i) : 0;
    if (length != 0) {
      out.append(text.substr(i, length));
      i += length;
      continue;
    }
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
    out += escape;
    ++i;
  }
  if (i < text.size()) {
    out += "...";
  }
  return out;
}

}  // namespace bvr
