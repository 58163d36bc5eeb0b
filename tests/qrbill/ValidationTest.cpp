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
