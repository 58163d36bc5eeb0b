// References as payments carry them and as they are compared: blanks removed, upper case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bvr::pay {

// "rf18 5390 0754 7034" -> "RF18539007547034"; blanks, tabs and line breaks removed.
std::string CompactReference(std::string_view text);

// The modulo 10 recursive check digit of a text of digits only (0-9): CheckDigit's without its
// checks and copies, for the hot path.
std::uint8_t DigitsCheckDigit(std::string_view digits);

// What is wrong with a compact reference, in French: a QR or old slip reference (digits) or a
// creditor reference (starting RF). Nothing when it is well-formed and its check digits hold.
std::optional<std::string> ReferenceProblem(std::string_view compact);

// Whether a reference that has a problem has the right form and only its check digits fail.
bool OnlyCheckDigitFails(std::string_view compact);

}  // namespace bvr::pay
