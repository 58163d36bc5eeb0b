#include "qrbill/Characters.h"

#include <cstdio>
#include <vector>

#include "qrbill/Utf8.h"

namespace bvr::qr {

namespace {

// Past this many, the message says how many more there are instead of naming them.
constexpr std::size_t kNamedAtMost = 5;

std::string Offender(char32_t c, std::size_t position) {
  std::string text = CodePointName(c);
  if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) {
    text += " «";
    AppendUtf8(text, c);
    text += "»";
  }
  return text + " en position " + std::to_string(position);
}

}  // namespace

bool IsAllowedCharacter(char32_t c) {
  return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0x17F) || (c >= 0x218 && c <= 0x21B) ||
         c == 0x20AC;
}

std::string CodePointName(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

std::optional<std::string> CharacterProblem(std::string_view utf8) {
  const Utf8Text text = DecodeUtf8(utf8);
  if (text.malformedAt) {
    return "texte UTF-8 mal formé en position " + std::to_string(*text.malformedAt);
  }
  std::vector<std::string> named;
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.characters.size(); ++i) {
    if (!IsAllowedCharacter(text.characters[i])) {
      if (++count <= kNamedAtMost) {
        named.push_back(Offender(text.characters[i], i + 1));
      }
    }
  }
  if (count == 0) {
    return std::nullopt;
  }
  std::string message = count == 1 ? "caractère non admis : " : "caractères non admis : ";
  for (std::size_t i = 0; i < named.size(); ++i) {
    message += (i == 0 ? "" : ", ") + named[i];
  }
  if (count > named.size()) {
    const std::size_t more = count - named.size();
    message += " et " + std::to_string(more) + (more == 1 ? " autre" : " autres");
  }
  return message;
}

}  // namespace bvr::qr
