// A QR-bill as its creditor describes it: the values that go into the Swiss QR Code, plus the
// language of the printed texts. Texts are UTF-8 as given; the account and the reference may
// hold blanks (as printed), which the QR Code text leaves out.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bvr::qr {

// A structured address (type "S"): street and building number are separate elements.
struct Address {
  std::string name;
  std::string street;
  std::string number;
  std::string postcode;
  std::string town;
  std::string country;  // ISO 3166-1 alpha-2

  bool operator==(const Address&) const = default;
};

enum class ReferenceType { QRR, SCOR, NON };

enum class Language { fr, de, it, en };

struct Bill {
  std::string account;  // IBAN or QR-IBAN
  Address creditor;
  std::string amount;    // decimal text with "." and at most two decimals; empty: filled in by hand
  std::string currency;  // CHF or EUR
  std::optional<Address> debtor;
  ReferenceType referenceType = ReferenceType::NON;
  std::string reference;                  // empty for NON
  std::string message;                    // unstructured message
  std::string billing;                    // billing information, e.g. "//S1/10/…"
  std::vector<std::string> alternatives;  // alternative procedures
  Language language = Language::fr;

  bool operator==(const Bill&) const = default;
};

// "QRR", "SCOR", "NON": the reference type as the QR Code text writes it.
std::string_view ReferenceTypeCode(ReferenceType type);
std::optional<ReferenceType> ReferenceTypeFromCode(std::string_view code);

// "fr", "de", "it", "en".
std::string_view LanguageCode(Language language);
std::optional<Language> LanguageFromCode(std::string_view code);

}  // namespace bvr::qr
