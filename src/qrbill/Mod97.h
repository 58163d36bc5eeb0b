// ISO 7064 MOD 97-10 over letters and digits (A = 10 … Z = 35), as IBANs and ISO 11649
// creditor references use it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bvr::qr {

// The remainder modulo 97 of the number the text spells; empty when the text holds anything
// but digits and upper-case letters A–Z.
std::optional<int> Mod97(std::string_view text);

// Blanks removed, ASCII letters upper-cased: the form in which IBANs and references are
// checked and written into the QR Code text.
std::string Compact(std::string_view printed);

}  // namespace bvr::qr
