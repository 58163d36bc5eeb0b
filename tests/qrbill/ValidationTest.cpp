// One rule a row: a valid bill changed in one place gives exactly these problems.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "qrbill/Validation.h"

namespace bvr::qr {
namespace {

Bill Valid() {
  Bill b;
  b.account = "CH44 3199 9123 0008 8901 2";
  b.creditor = {"Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel", "CH"};
  b.amount = "1949.75";
  b.currency = "CHF";
  b.referenceType = ReferenceType::QRR;
  b.reference = "21 00000 00003 13947 14300 09017";
  return b;
}

// The valid bill moved to an ordinary IBAN with a creditor reference.
void UseScor(Bill& b, const char* reference) {
  b.account = "CH93 0076 2011 6238 5295 7";
  b.referenceType = ReferenceType::SCOR;
  b.reference = reference;
}

struct Case {
  const char* what;
  std::function<void(Bill&)> change;
  std::vector<std::string> problems;
};

TEST(ValidateBill, ReportsEveryProblemOfARule) {
  const Case cases[] = {
      {"valid", [](Bill&) {}, {}},
      {"amount three decimals",
       [](Bill& b) { b.amount = "1.005"; },
       {"amount : montant mal écrit « 1.005 » : chiffres sans zéro en tête, puis « . » et deux "
        "décimales au plus (1949.75)"}},
      {"amount zero",
       [](Bill& b) { b.amount = "0.00"; },
       {"amount : montant hors limites « 0.00 » : de 0.01 à 999999999.99"}},
      {"QR-IBAN without QRR",
       [](Bill& b) {
         b.referenceType = ReferenceType::NON;
         b.reference.clear();
       },
       {"reference : un QR-IBAN exige une référence QR (QRR)"}},
      {"QR-IBAN in EUR",
       [](Bill& b) { b.currency = "EUR"; },
       {"currency : une facture en EUR exige un IBAN ordinaire, sans référence QR"}},
      {"bad character and too long name",
       [](Bill& b) { b.creditor.name = std::string(70, 'a') + "\t"; },
       {"creditor.name : 71 caractères, 70 au plus",
        "creditor.name : caractère non admis : U+0009 en position 71"}},
      {"missing town and country",
       [](Bill& b) {
         b.creditor.town.clear();
         b.creditor.country = "ch";
       },
       {"creditor.town : obligatoire",
        "creditor.country : code de pays ISO 3166-1 de deux lettres majuscules attendu (CH, LI, "
        "FR…)"}},
      {"three alternatives",
       [](Bill& b) {
         b.alternatives = {"a", "b", "c"};
       },
       {"alternatives : deux procédures au plus, 3 données"}},
      {"message and billing together",
       [](Bill& b) {
         b.message = std::string(100, 'm');
         b.billing = std::string(41, 'b');
       },
       {"billing : message et informations de facturation : 141 caractères ensemble, 140 au "
        "plus"}},
      {"account of Germany",
       [](Bill& b) { b.account = "DE89 3704 0044 0532 0130 00"; },
       {"account : IBAN suisse (CH) ou liechtensteinois (LI) attendu"}},
      {"account one character short",
       [](Bill& b) { b.account = "CH44 3199 9123 0008 8901"; },
       {"account : un IBAN CH ou LI compte 21 caractères, celui-ci 20"}},
      {"account check digits, lower case accepted",
       [](Bill& b) { b.account = "ch45 3199 9123 0008 8901 2"; },
       {"account : chiffres de contrôle de l'IBAN invalides"}},
      {"account letters in the institution",
       [](Bill& b) { b.account = "CH44 3199 A123 0008 8901 2"; },
       {"account : IBAN mal formé : chiffres de contrôle et n° d'institution en chiffres, compte "
        "en lettres et chiffres"}},
      {"ordinary IBAN with a QR reference",
       [](Bill& b) { b.account = "CH93 0076 2011 6238 5295 7"; },
       {"reference : une référence QR (QRR) exige un QR-IBAN"}},
      {"QR reference with a letter",
       [](Bill& b) { b.reference = "21000000000313947143000901A"; },
       {"reference : une référence QR ne compte que des chiffres"}},
      {"QR reference of 26 digits",
       [](Bill& b) { b.reference = "21000000000313947143000901"; },
       {"reference : une référence QR compte 27 chiffres, celle-ci 26"}},
      {"SCOR valid with an ordinary IBAN", [](Bill& b) { UseScor(b, "RF18 5390 0754 7034"); }, {}},
      {"SCOR check digits",
       [](Bill& b) { UseScor(b, "RF19 5390 0754 7034"); },
       {"reference : chiffres de contrôle de la référence créancier invalides"}},
      {"SCOR too short, too long, malformed",
       [](Bill& b) { UseScor(b, "RF18"); },
       {"reference : une référence créancier compte de 5 à 25 caractères, celle-ci 4"}},
      {"SCOR with a sign in the body",
       [](Bill& b) { UseScor(b, "RF18 5390-0754"); },
       {"reference : référence créancier mal formée : RF, deux chiffres, puis lettres et "
        "chiffres"}},
      {"SCOR with a QR-IBAN",
       [](Bill& b) {
         b.referenceType = ReferenceType::SCOR;
         b.reference = "RF18 5390 0754 7034";
       },
       {"reference : un QR-IBAN exige une référence QR (QRR)"}},
      {"NON with a reference",
       [](Bill& b) {
         b.account = "CH93 0076 2011 6238 5295 7";
         b.referenceType = ReferenceType::NON;
       },
       {"reference : aucune référence avec le type NON"}},
      {"debtor given empty", [](Bill& b) { b.debtor = Address{}; }, {"debtor : obligatoire"}},
      {"debtor without name and with a long post code",
       [](Bill& b) { b.debtor = Address{" ", "", "", std::string(17, '9'), "Bern", "CH"}; },
       {"debtor.name : obligatoire", "debtor.postcode : 17 caractères, 16 au plus"}},
      {"malformed UTF-8 in the message",
       [](Bill& b) { b.message = "Facture \xC3 mars"; },
       {"message : texte UTF-8 mal formé en position 9"}},
      {"characters outside the set, named up to five",
       [](Bill& b) {
         b.message = "a\u00e9\u0153\u2603\t\u00e7\u0100\u0218\u20ac\u2603\u2603\u2603\u2603";
       },
       {"message : caractères non admis : U+2603 «\u2603» en position 4, U+0009 en position 5, "
        "U+2603 «\u2603» en position 10, U+2603 «\u2603» en position 11, U+2603 «\u2603» en "
        "position "
        "12 et 1 autre"}},
      {"currency", [](Bill& b) { b.currency = "USD"; }, {"currency : CHF ou EUR attendu"}},
      {"QR reference check digit",
       [](Bill& b) { b.reference = "210000000003139471430009018"; },
       {"reference : chiffre de contrôle de la référence QR invalide (7 attendu)"}},
  };
  for (const Case& c : cases) {
    Bill bill = Valid();
    c.change(bill);
    std::vector<std::string> texts;
    for (const Problem& p : ValidateBill(bill)) {
      texts.push_back(p.Text());
    }
    EXPECT_EQ(texts, c.problems) << c.what;
  }
}

}  // namespace
}  // namespace bvr::qr
