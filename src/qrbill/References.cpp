#include "qrbill/References.h"

#include <algorithm>

#include "qrbill/Mod97.h"
#include "strings/BvrError.h"

namespace bvr::qr {

namespace {

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The check digits follow "RF" but count as if they ended the number.
std::optional<int> CreditorRemainder(std::string_view body, std::string_view checkDigits) {
  return Mod97(std::string(body) + "RF" + std::string(checkDigits));
}

std::string TwoDigits(int value) {
  return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

// Every digit of the invoice number must land inside the reference's 26 places: the slip cuts
// what does not fit, which for a QR reference would give two invoices one reference.
bool InvoiceFits(const ReferenceLayout& layout, std::size_t digits) {
  constexpr long long kPlaces = kQrReferenceLength - 1;
  const long long start = layout.InternalNumberIndexStart;
  const long long length = layout.InternalNumberLength;
  const auto size = static_cast<long long>(digits);
  return size <= length && start + length - size >= 1 && start + length - 1 <= kPlaces;
}

}  // namespace

std::optional<std::string> QrReferenceProblem(std::string_view reference) {
  if (reference.empty()) {
    return "obligatoire avec le type QRR";
  }
  if (!AllDigits(reference)) {
    return "une référence QR ne compte que des chiffres";
  }
  if (reference.size() != kQrReferenceLength) {
    return "une référence QR compte 27 chiffres, celle-ci " + std::to_string(reference.size());
  }
  const std::string digits(reference.substr(0, kQrReferenceLength - 1));
  const int expected = CheckDigit(digits);
  if (reference.back() - '0' != expected) {
    return "chiffre de contrôle de la référence QR invalide (" + std::to_string(expected) +
           " attendu)";
  }
  return std::nullopt;
}

std::optional<std::string> CreditorReferenceProblem(std::string_view reference) {
  if (reference.empty()) {
    return "obligatoire avec le type SCOR";
  }
  if (reference.substr(0, 2) != "RF") {
    return "une référence créancier commence par RF";
  }
  if (reference.size() < 5 || reference.size() > 4 + kCreditorReferenceBodyMax) {
    return "une référence créancier compte de 5 à 25 caractères, celle-ci " +
           std::to_string(reference.size());
  }
  const std::optional<int> remainder =
      AllDigits(reference.substr(2, 2))
          ? CreditorRemainder(reference.substr(4), reference.substr(2, 2))
          : std::nullopt;
  if (!remainder) {
    return "référence créancier mal formée : RF, deux chiffres, puis lettres et chiffres";
  }
  if (*remainder != 1) {
    return "chiffres de contrôle de la référence créancier invalides";
  }
  return std::nullopt;
}

std::string CreateCreditorReference(std::string_view body) {
  const std::string compact = Compact(body);
  if (compact.empty() || compact.size() > kCreditorReferenceBodyMax) {
    throw EBvrError(Fmt("Référence créancier : de 1 à 21 lettres ou chiffres attendus : %s")
                        .s(std::string(body)));
  }
  const std::optional<int> remainder = CreditorRemainder(compact, "00");
  if (!remainder) {
    throw EBvrError(
        Fmt("Référence créancier : lettres et chiffres seulement : %s").s(std::string(body)));
  }
  return "RF" + TwoDigits(98 - *remainder) + compact;
}

std::string QrReferenceFromLayout(const ReferenceLayout& layout, const std::string& invoice) {
  if (invoice.empty() || !AllDigits(invoice)) {
    throw EBvrError(Fmt("N° de facture : chiffres seulement : %s").s(invoice));
  }
  if (!InvoiceFits(layout, invoice.size())) {
    throw EBvrError(
        Fmt("N° de facture trop long pour les places que la référence lui donne : %s").s(invoice));
  }
  const std::string reference = BuildReferenceNumber(layout, invoice);
  if (const std::optional<std::string> problem = QrReferenceProblem(reference)) {
    throw EBvrError(Fmt("Référence QR invalide : %s : %s").s(reference).s(*problem));
  }
  return reference;
}

}  // namespace bvr::qr
