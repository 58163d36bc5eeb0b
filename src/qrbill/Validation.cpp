#include "qrbill/Validation.h"

#include "qrbill/Amount.h"
#include "qrbill/Characters.h"
#include "qrbill/Iban.h"
#include "qrbill/Mod97.h"
#include "qrbill/Payload.h"
#include "qrbill/References.h"
#include "qrbill/SwicoBilling.h"
#include "qrbill/Utf8.h"

namespace bvr::qr {

namespace {

constexpr std::size_t kMessageMax = 140;
constexpr std::size_t kAlternativeMax = 100;
constexpr std::size_t kAlternativesMax = 2;

class Checker {
 public:
  void Add(const std::string& field, std::string message) {
    problems_.push_back({field, std::move(message)});
  }

  // Returns the text's length in characters (0 when it is not valid UTF-8).
  std::size_t Text(const std::string& field, std::string_view text, std::size_t max,
                   bool required) {
    const Utf8Text decoded = DecodeUtf8(text);
    if (decoded.malformedAt) {
      Add(field, *CharacterProblem(text));
      return 0;
    }
    if (required && text.find_first_not_of(' ') == std::string_view::npos) {
      Add(field, "obligatoire");
      return 0;
    }
    const std::size_t length = decoded.characters.size();
    if (length > max) {
      Add(field, std::to_string(length) + " caractères, " + std::to_string(max) + " au plus");
    }
    if (std::optional<std::string> problem = CharacterProblem(text)) {
      Add(field, std::move(*problem));
    }
    return length;
  }

  Problems Take() { return std::move(problems_); }

 private:
  Problems problems_;
};

bool IsCountryCode(std::string_view code) {
  return code.size() == 2 && code[0] >= 'A' && code[0] <= 'Z' && code[1] >= 'A' && code[1] <= 'Z';
}

bool IsEmpty(const Address& a) {
  return a == Address{};
}

void CheckAddress(Checker& check, const std::string& prefix, const Address& a) {
  if (IsEmpty(a)) {
    check.Add(prefix, "obligatoire");
    return;
  }
  check.Text(prefix + ".name", a.name, 70, true);
  check.Text(prefix + ".street", a.street, 70, false);
  check.Text(prefix + ".number", a.number, 16, false);
  check.Text(prefix + ".postcode", a.postcode, 16, true);
  check.Text(prefix + ".town", a.town, 35, true);
  if (a.country.empty()) {
    check.Add(prefix + ".country", "obligatoire");
  } else if (!IsCountryCode(a.country)) {
    check.Add(prefix + ".country",
              "code de pays ISO 3166-1 de deux lettres majuscules attendu (CH, LI, FR…)");
  }
}

void CheckCurrency(Checker& check, const std::string& currency) {
  if (currency.empty()) {
    check.Add("currency", "obligatoire");
  } else if (currency != "CHF" && currency != "EUR") {
    check.Add("currency", "CHF ou EUR attendu");
  }
}

void CheckReference(Checker& check, const Bill& bill) {
  const std::string reference = Compact(bill.reference);
  std::optional<std::string> problem;
  switch (bill.referenceType) {
    case ReferenceType::QRR:
      problem = QrReferenceProblem(reference);
      break;
    case ReferenceType::SCOR:
      problem = CreditorReferenceProblem(reference);
      break;
    case ReferenceType::NON:
      if (!reference.empty()) {
        problem = "aucune référence avec le type NON";
      }
      break;
  }
  if (problem) {
    check.Add("reference", std::move(*problem));
  }
}

// Only for a valid account: a QR-IBAN goes with a QR reference and nothing else, and bills
// in euros take no QR-IBAN.
void CheckAgreement(Checker& check, const Bill& bill, std::string_view account) {
  const bool qrIban = IsQrIban(account);
  if (qrIban && bill.referenceType != ReferenceType::QRR) {
    check.Add("reference", "un QR-IBAN exige une référence QR (QRR)");
  } else if (!qrIban && bill.referenceType == ReferenceType::QRR) {
    check.Add("reference", "une référence QR (QRR) exige un QR-IBAN");
  }
  if (qrIban && bill.currency == "EUR") {
    check.Add("currency", "une facture en EUR exige un IBAN ordinaire, sans référence QR");
  }
}

void CheckTexts(Checker& check, const Bill& bill) {
  const std::size_t message = check.Text("message", bill.message, kMessageMax, false);
  const std::size_t billing = check.Text("billing", bill.billing, kMessageMax, false);
  if (message + billing > kMessageMax && message <= kMessageMax && billing <= kMessageMax) {
    check.Add("billing",
              "message et informations de facturation : " + std::to_string(message + billing) +
                  " caractères ensemble, " + std::to_string(kMessageMax) + " au plus");
  }
  if (IsSwicoS1(bill.billing)) {
    for (const Problem& problem : ParseSwicoBilling(bill.billing).problems) {
      check.Add(problem.field, problem.message);
    }
  }
  if (bill.alternatives.size() > kAlternativesMax) {
    check.Add("alternatives",
              "deux procédures au plus, " + std::to_string(bill.alternatives.size()) + " données");
  }
  for (std::size_t i = 0; i < bill.alternatives.size(); ++i) {
    check.Text("alternatives[" + std::to_string(i) + "]", bill.alternatives[i], kAlternativeMax,
               true);
  }
}

void CheckSize(Checker& check, const Bill& bill) {
  const std::size_t bytes = WritePayload(bill).size();
  if (bytes > kPayloadBytesMax) {
    check.Add("payload", "le texte du code QR compterait " + std::to_string(bytes) + " octets, " +
                             std::to_string(kPayloadBytesMax) + " au plus");
  }
}

}  // namespace

Problems ValidateBill(const Bill& bill) {
  Checker check;
  const std::string account = Compact(bill.account);
  const std::optional<std::string> accountProblem = IbanProblem(account);
  if (accountProblem) {
    check.Add("account", *accountProblem);
  }
  CheckAddress(check, "creditor", bill.creditor);
  if (!bill.amount.empty()) {
    if (std::optional<std::string> problem = AmountProblem(bill.amount)) {
      check.Add("amount", std::move(*problem));
    }
  }
  CheckCurrency(check, bill.currency);
  if (bill.debtor) {
    CheckAddress(check, "debtor", *bill.debtor);
  }
  CheckReference(check, bill);
  if (!accountProblem) {
    CheckAgreement(check, bill, account);
  }
  CheckTexts(check, bill);
  CheckSize(check, bill);
  return check.Take();
}

}  // namespace bvr::qr
