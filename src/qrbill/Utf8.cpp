#include "qrbill/Utf8.h"

namespace bvr::qr {

namespace {

struct Lead {
  int continuation;  // bytes that follow
  char32_t bits;     // the lead byte's payload
  char32_t minimum;  // smallest value this length may carry (no overlong forms)
};

std::optional<Lead> LeadOf(unsigned char b) {
  if (b < 0x80) {
    return Lead{0, b, 0};
  }
  if ((b & 0xE0) == 0xC0) {
    return Lead{1, static_cast<char32_t>(b & 0x1F), 0x80};
  }
  if ((b & 0xF0) == 0xE0) {
    return Lead{2, static_cast<char32_t>(b & 0x0F), 0x800};
  }
  if ((b & 0xF8) == 0xF0) {
    return Lead{3, static_cast<char32_t>(b & 0x07), 0x10000};
  }
  return std::nullopt;
}

}  // namespace

Utf8Text DecodeUtf8(std::string_view bytes) {
  Utf8Text result;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::optional<Lead> lead = LeadOf(static_cast<unsigned char>(bytes[i]));
    bool ok = lead.has_value();
    char32_t c = ok ? lead->bits : 0;
    for (int k = 1; ok && k <= lead->continuation; ++k) {
      if (i + k >= bytes.size()) {
        ok = false;
        break;
      }
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if ((b & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (b & 0x3F);
    }
    if (!ok || c < lead->minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      result.malformedAt = result.characters.size() + 1;
      return result;
    }
    result.characters += c;
    i += 1 + static_cast<std::size_t>(lead->continuation);
  }
  return result;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace bvr::qr
