#include "qrbill/Iban.h"

#include <algorithm>

#include "qrbill/Mod97.h"

namespace bvr::qr {

namespace {

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool AllAlphanumeric(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); });
}

// The check digits come last in the number: the country and check digits move to the end.
bool CheckDigitsHold(std::string_view iban) {
  const std::string rotated = std::string(iban.substr(4)) + std::string(iban.substr(0, 4));
  return Mod97(rotated) == 1;
}

}  // namespace

std::optional<std::string> IbanProblem(std::string_view iban) {
  if (iban.empty()) {
    return "obligatoire";
  }
  const std::string_view country = iban.substr(0, 2);
  if (country != "CH" && country != "LI") {
    return "IBAN suisse (CH) ou liechtensteinois (LI) attendu";
  }
  if (iban.size() != kIbanLength) {
    return "un IBAN CH ou LI compte 21 caractères, celui-ci " + std::to_string(iban.size());
  }
  if (!AllDigits(iban.substr(2, 7)) || !AllAlphanumeric(iban.substr(9))) {
    return "IBAN mal formé : chiffres de contrôle et n° d'institution en chiffres, compte en "
           "lettres et chiffres";
  }
  if (!CheckDigitsHold(iban)) {
    return "chiffres de contrôle de l'IBAN invalides";
  }
  return std::nullopt;
}

bool IsQrIban(std::string_view iban) {
  if (iban.size() != kIbanLength || !AllDigits(iban.substr(4, 5))) {
    return false;
  }
  const int institution = std::stoi(std::string(iban.substr(4, 5)));
  return institution >= 30000 && institution <= 31999;
}

}  // namespace bvr::qr
