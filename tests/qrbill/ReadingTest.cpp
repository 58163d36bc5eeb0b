// The two readers of a bill: its JSON form (keys and types, never rounding an amount, the
// place of a syntax error) and its QR Code text (the frame around the values).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"
#include "qrbill/PayloadReader.h"
#include "strings/BvrError.h"

namespace bvr::qr {
namespace {

std::string ErrorOf(void (*read)(const std::string&), const std::string& text) {
  try {
    read(text);
  } catch (const EBvrError& e) {
    return e.what();
  }
  return "(read)";
}

std::vector<std::string> TextsOf(const Problems& problems) {
  std::vector<std::string> texts;
  for (const Problem& p : problems) {
    texts.push_back(p.Text());
  }
  return texts;
}

const std::string kCreditor =
    R"("creditor": {"name": "A", "postcode": "2501", "town": "Biel", "country": "CH"})";

TEST(ReadBillJson, KeysAndTypes) {
  struct Case {
    std::string json;
    std::vector<std::string> problems;
  };
  const Case cases[] = {
      {"{" + kCreditor + R"(, "currency": "CHF"})", {}},
      {"{" + kCreditor + R"(, "currency": "CHF", "amout": "1.00", "debtor": {"nom": "B"}})",
       {"debtor.nom : clé inconnue", "amout : clé inconnue"}},
      {"{" + kCreditor + R"(, "currency": "CHF", "currency": "EUR"})", {"currency : clé répétée"}},
      {R"({"creditor": {"name": "A", "name": "B"}, "currency": "CHF"})",
       {"creditor.name : clé répétée"}},
      {"{" + kCreditor + R"(, "currency": 756, "amount": true, "alternatives": "x"})",
       {"amount : chaîne ou nombre attendu", "currency : chaîne de caractères attendue",
        "alternatives : liste de chaînes attendue"}},
      {"{" + kCreditor + R"(, "currency": "CHF", "alternatives": ["a", 2], "debtor": "B"})",
       {"debtor : objet attendu (name, street, number, postcode, town, country)",
        "alternatives[1] : chaîne de caractères attendue"}},
      {"{" + kCreditor + R"(, "currency": "CHF", "language": "rm"})",
       {"language : fr, de, it ou en attendu"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextsOf(ReadBillJson(c.json).problems), c.problems) << c.json;
  }
}

TEST(ReadBillJson, AmountIsTakenAsWritten) {
  struct Case {
    const char* written;
    const char* amount;
  };
  const Case cases[] = {
      {"\"1949.75\"", "1949.75"}, {"1949.75", "1949.75"}, {"12", "12"}, {"12.5", "12.5"},
      {"0.105", "0.105"},         {"1e2", "1e2"},         {"null", ""}};
  for (const Case& c : cases) {
    const std::string json =
        "{" + kCreditor + R"(, "currency": "CHF", "amount": )" + c.written + "}";
    EXPECT_EQ(ReadBillJson(json).bill.amount, c.amount) << c.written;
  }
}

TEST(ReadBillJson, ReferenceGivesItsType) {
  struct Case {
    const char* reference;
    ReferenceType type;
  };
  const Case cases[] = {{"21 00000 00003 13947 14300 09017", ReferenceType::QRR},
                        {"rf18 5390 0754 7034", ReferenceType::SCOR},
                        {"  ", ReferenceType::NON},
                        {"", ReferenceType::NON}};
  for (const Case& c : cases) {
    const std::string json =
        "{" + kCreditor + R"(, "currency": "CHF", "reference": ")" + c.reference + "\"}";
    EXPECT_EQ(ReadBillJson(json).bill.referenceType, c.type) << c.reference;
  }
}

TEST(ReadBillJson, SyntaxErrorsSayLineAndColumn) {
  const auto read = [](const std::string& text) { ReadBillJson(text); };
  struct Case {
    std::string json;
    std::string start;  // the message up to the parser's own words
  };
  const Case cases[] = {
      {"{\n  \"account\": \"CH44\",\n  \"currency\" \"CHF\"\n}",
       "JSON mal formé, ligne 3, colonne 18"},
      {"{\"message\": \"Müller\" x}", "JSON mal formé, ligne 1, colonne 22"},
      {"{\r\n\"a\": 1,\r\n}", "JSON mal formé, ligne 3, colonne 1"},
      {"", "JSON mal formé, ligne 1, colonne 1"},
      {"[1, 2]", "JSON : la facture doit être un objet { … }"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf(read, c.json).substr(0, c.start.size()), c.start) << c.json;
  }
}

// A valid QR Code text (the QR-IBAN bill of the validation tests), one element a line.
std::vector<std::string> ValidLines() {
  return {"SPC",
          "0200",
          "1",
          "CH4431999123000889012",
          "S",
          "Robert Schneider AG",
          "Rue du Lac",
          "1268",
          "2501",
          "Biel",
          "CH",
          "",
          "",
          "",
          "",
          "",
          "",
          "",
          "1949.75",
          "CHF",
          "",
          "",
          "",
          "",
          "",
          "",
          "",
          "QRR",
          "210000000003139471430009017",
          "",
          "EPD"};
}

std::string Join(const std::vector<std::string>& lines, const char* separator = "\n") {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += (i == 0 ? "" : separator) + lines[i];
  }
  return text;
}

TEST(ParseQrPayload, FrameFaultsAreListedWithTheirLines) {
  const auto read = [](const std::string& text) { ParseQrPayload(text); };
  struct Case {
    const char* what;
    std::vector<std::pair<std::size_t, std::string>> changes;  // line (from 1), new text
    std::string error;
  };
  const Case cases[] = {
      {"header and version",
       {{1, "SPX"}, {2, "0100"}},
       "ligne 1 : type « SPC » attendu\nligne 2 : version « 0200 » attendu"},
      {"combined address", {{5, "K"}}, "ligne 5 : type d'adresse du créancier « S » attendu"},
      {"ultimate creditor filled",
       {{13, "X"}},
       "ligne 13 : créancier final (réservé) : ligne vide attendue"},
      {"amount with one decimal", {{19, "1949.7"}}, "ligne 19 : montant à deux décimales attendu"},
      {"debtor type", {{21, "K"}}, "ligne 21 : type d'adresse « S » ou ligne vide attendu"},
      {"debtor lines without a type",
       {{22, "Pia"}},
       "ligne 22 : débiteur absent : ligne vide attendue"},
      {"reference type", {{28, "ABC"}}, "ligne 28 : type de référence QRR, SCOR ou NON attendu"},
      {"trailer", {{31, "END"}}, "ligne 31 : fin « EPD » attendu"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = ValidLines();
    for (const auto& [line, text] : c.changes) {
      lines[line - 1] = text;
    }
    EXPECT_EQ(ErrorOf(read, Join(lines)), c.error) << c.what;
  }
}

TEST(ParseQrPayload, LineBreaksAndLineCounts) {
  const Bill lf = ParseQrPayload(Join(ValidLines()));
  EXPECT_EQ(ParseQrPayload(Join(ValidLines(), "\r\n") + "\r\n"), lf);
  EXPECT_EQ(ParseQrPayload(Join(ValidLines()) + "\n"), lf);
  EXPECT_EQ(WritePayload(lf), Join(ValidLines()));

  std::vector<std::string> withBilling = ValidLines();
  withBilling.insert(withBilling.end(), {"//S1/10/10201409", "eBill/B/a", "UV;x"});
  const Bill full = ParseQrPayload(Join(withBilling));
  EXPECT_EQ(full.billing, "//S1/10/10201409");
  EXPECT_EQ(full.alternatives, (std::vector<std::string>{"eBill/B/a", "UV;x"}));

  const auto read = [](const std::string& text) { ParseQrPayload(text); };
  std::vector<std::string> shortText = ValidLines();
  shortText.erase(shortText.begin() + 11);
  EXPECT_EQ(ErrorOf(read, Join(shortText)),
            "Texte du code QR : de 31 à 34 lignes attendues, 30 lues");
  withBilling.push_back("one too many");
  EXPECT_EQ(ErrorOf(read, Join(withBilling)),
            "Texte du code QR : de 31 à 34 lignes attendues, 35 lues");
  // An empty 32nd line is billing information left empty, not a fault.
  EXPECT_EQ(ParseQrPayload(Join(ValidLines()) + "\n\n"), lf);
}

}  // namespace
}  // namespace bvr::qr
