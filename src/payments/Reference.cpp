#include "payments/Reference.h"

#include <algorithm>

#include "numbers/VYKBVRFunctions.h"
#include "qrbill/References.h"

namespace bvr::pay {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsAlnum(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string CompactReference(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
  // Most references come compact already: copied whole.
  if (std::none_of(text.begin(), text.end(), [&](char c) { return blank(c) || lower(c); })) {
    return std::string(text);
  }
  std::string compact;
  compact.reserve(text.size());
  for (char c : text) {
    if (!blank(c)) {
      compact += lower(c) ? static_cast<char>(c - 'a' + 'A') : c;
    }
  }
  return compact;
}

std::uint8_t DigitsCheckDigit(std::string_view digits) {
  std::uint8_t carry = 0;
  for (const char c : digits) {
    carry = Modulo10Table[static_cast<std::size_t>(c - '0')][carry];
  }
  return Modulo10Table[10][carry];
}

std::optional<std::string> ReferenceProblem(std::string_view compact) {
  // Thousands of open invoices are checked: a sound QR reference is told without building the
  // texts of the full check, which says what is wrong with any other.
  if (compact.size() == qr::kQrReferenceLength &&
      std::all_of(compact.begin(), compact.end(), IsDigit) &&
      DigitsCheckDigit(compact.substr(0, compact.size() - 1)) == compact.back() - '0') {
    return std::nullopt;
  }
  return compact.substr(0, 2) == "RF" ? qr::CreditorReferenceProblem(compact)
                                      : qr::QrReferenceProblem(compact);
}

bool OnlyCheckDigitFails(std::string_view compact) {
  if (compact.substr(0, 2) == "RF") {
    return compact.size() >= 5 && compact.size() <= 4 + qr::kCreditorReferenceBodyMax &&
           IsDigit(compact[2]) && IsDigit(compact[3]) &&
           std::all_of(compact.begin() + 4, compact.end(), IsAlnum);
  }
  return compact.size() == qr::kQrReferenceLength &&
         std::all_of(compact.begin(), compact.end(), IsDigit);
}

}  // namespace bvr::pay
