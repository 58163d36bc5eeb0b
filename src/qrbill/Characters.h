// The characters a QR-bill's text elements may hold: Basic Latin without the controls,
// Latin-1 Supplement and Latin Extended-A from U+00A0, the four Romanian letters with comma
// below (U+0218–U+021B) and the euro sign.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bvr::qr {

bool IsAllowedCharacter(char32_t c);

// The message for a text whose characters are not all allowed, naming each offending one
// with its position (from 1, in characters), or for malformed UTF-8; empty when fine.
std::optional<std::string> CharacterProblem(std::string_view utf8);

// "U+00E9"
std::string CodePointName(char32_t c);

}  // namespace bvr::qr
