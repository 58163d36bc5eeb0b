// The bill's account: a Swiss or Liechtenstein IBAN (21 characters, ISO 7064 MOD 97-10),
// which is a QR-IBAN when its institution identification lies in 30000–31999.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bvr::qr {

inline constexpr std::size_t kIbanLength = 21;

// What is wrong with an IBAN given in compact form (see Compact), in French; empty when it
// is a valid CH or LI IBAN.
std::optional<std::string> IbanProblem(std::string_view compact);

// Whether a valid compact IBAN is a QR-IBAN.
bool IsQrIban(std::string_view compact);

}  // namespace bvr::qr
