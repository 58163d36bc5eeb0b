#include "payments/Reference.h"

#include <algorithm>

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
  std::string compact;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      continue;
    }
    compact += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return compact;
}

std::optional<std::string> ReferenceProblem(std::string_view compact) {
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
