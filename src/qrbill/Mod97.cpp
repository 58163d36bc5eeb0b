#include "qrbill/Mod97.h"

namespace bvr::qr {

std::optional<int> Mod97(std::string_view text) {
  int remainder = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      remainder = (remainder * 10 + (c - '0')) % 97;
    } else if (c >= 'A' && c <= 'Z') {
      remainder = (remainder * 100 + (c - 'A' + 10)) % 97;
    } else {
      return std::nullopt;
    }
  }
  return remainder;
}

std::string Compact(std::string_view printed) {
  std::string compact;
  for (const char c : printed) {
    if (c == ' ') {
      continue;
    }
    compact += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return compact;
}

}  // namespace bvr::qr
