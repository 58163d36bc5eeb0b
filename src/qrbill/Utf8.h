// Strict UTF-8 decoding: the QR Code text is UTF-8, and its length limits count characters.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bvr::qr {

struct Utf8Text {
  std::u32string characters;  // what decoded before any fault
  // Character position (from 1) at which a malformed sequence starts (overlong forms,
  // surrogates and values past U+10FFFF included); empty when the whole text decoded.
  std::optional<std::size_t> malformedAt;
};

Utf8Text DecodeUtf8(std::string_view bytes);

void AppendUtf8(std::string& out, char32_t c);

}  // namespace bvr::qr
