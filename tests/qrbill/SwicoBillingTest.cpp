// The S1 billing information: texts and their fields, written back, faults named; the
// structured form of a bill's JSON.
#include <gtest/gtest.h>

#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"
#include "qrbill/SwicoBilling.h"
#include "qrbill/Validation.h"

namespace bvr::qr {
namespace {

SwicoBilling InvoiceAndDate(const char* invoice, const char* date) {
  SwicoBilling fields;
  fields.invoice = invoice;
  fields.date = date;
  return fields;
}

struct TextCase {
  const char* text;
  SwicoBilling fields;
};

const TextCase kTexts[] = {
    {"//S1/10/10201409/11/190512/20/1400.000-53/30/106017086/31/180508/32/7.7/40/2:10;0:30",
     {"10201409",
      "190512",
      "1400.000-53",
      "106017086",
      "180508",
      {{"7.7", ""}},
      {},
      {{"2", "10"}, {"0", "30"}}}},
    {"//S1/10/10104/11/180228/30/395856455/31/180226180227/32/3.7:400.19;7.7:553.39;0:14/40/0:30",
     {"10104",
      "180228",
      "",
      "395856455",
      "180226180227",
      {{"3.7", "400.19"}, {"7.7", "553.39"}, {"0", "14"}},
      {},
      {{"0", "30"}}}},
    {"//S1/10/4031202511/11/180107/20/61257233.4/30/105493567/32/8:49.82/33/2.5:14.85/40/0:30",
     {"4031202511",
      "180107",
      "61257233.4",
      "105493567",
      "",
      {{"8", "49.82"}},
      {{"2.5", "14.85"}},
      {{"0", "30"}}}},
    {"//S1/10/X.66711\\/8824/11/200712/20/MW-2020-04/30/107978798/32/2.5:117.22/40/"
     "3:5;1.5:20;1:40;0:60",
     {"X.66711/8824",
      "200712",
      "MW-2020-04",
      "107978798",
      "",
      {{"2.5", "117.22"}},
      {},
      {{"3", "5"}, {"1.5", "20"}, {"1", "40"}, {"0", "60"}}}},
    {"//S1/10/a\\\\b", InvoiceAndDate("a\\b", "")},
    {"//S1/10/1234/11/240229", InvoiceAndDate("1234", "240229")},
};

TEST(SwicoBilling, TextsGiveTheirFieldsAndComeBackTheSame) {
  for (const TextCase& c : kTexts) {
    const SwicoReading reading = ParseSwicoBilling(c.text);
    EXPECT_TRUE(reading.problems.empty()) << c.text << "\n" << JoinProblems(reading.problems);
    EXPECT_EQ(reading.fields, c.fields) << c.text;
    EXPECT_EQ(WriteSwicoBilling(reading.fields), c.text);
  }
}

TEST(SwicoBilling, EmptyValuesCountAsAbsent) {
  const SwicoReading reading = ParseSwicoBilling("//S1/10//11/200712/20/");
  EXPECT_TRUE(reading.problems.empty()) << JoinProblems(reading.problems);
  EXPECT_EQ(reading.fields, InvoiceAndDate("", "200712"));
  EXPECT_EQ(WriteSwicoBilling(reading.fields), "//S1/11/200712");
  EXPECT_EQ(WriteSwicoBilling({}), "");
}

TEST(SwicoBilling, FaultyTextsNameEachFault) {
  const struct {
    const char* text;
    Problems problems;
  } cases[] = {
      {"//S2/10/1", {{"billing", "« //S1/ » attendu au début"}}},
      {"//S1/11/200712/10/1",
       {{"billing", "balise 10 après 11 : les balises vont en ordre croissant"}}},
      {"//S1/10/1/10/2", {{"billing", "balise 10 répétée"}}},
      {"//S1/12/x", {{"billing", "balise inconnue « 12 »"}}},
      {"//S1/10/a\\b", {{"billing", "« \\ » s'écrit « \\\\ » et « / » « \\/ » dans une valeur"}}},
      {"//S1/11/230229", {{"billing.date", "date AAMMJJ attendue"}}},
      {"//S1/11/201301", {{"billing.date", "date AAMMJJ attendue"}}},
      {"//S1/30/CHE106017086", {{"billing.vat_number", "les 9 chiffres de l'IDE attendus"}}},
      {"//S1/31/180227180226",
       {{"billing.vat_date", "date AAMMJJ ou période AAMMJJAAMMJJ attendue"}}},
      {"//S1/32/7.7;8:100", {{"billing.vat", "un taux (« 7.7 ») ou taux:montant;… attendu"}}},
      {"//S1/33/2.5", {{"billing.import_tax", "taux:montant;… attendu (« 7.7:16.15 »)"}}},
      {"//S1/40/2:10;0:", {{"billing.conditions", "escompte:jours;… attendu (« 2:10;0:30 »)"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseSwicoBilling(c.text).problems, c.problems) << c.text;
  }
}

Bill BillWithBilling(const std::string& billing) {
  Bill bill;
  bill.account = "CH5204835012345671000";
  bill.creditor = {"Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel", "CH"};
  bill.currency = "CHF";
  bill.billing = billing;
  return bill;
}

TEST(SwicoBilling, ABillsRulesIncludeItsSyntaxOnlyForS1) {
  EXPECT_TRUE(ValidateBill(BillWithBilling(kTexts[0].text)).empty());
  EXPECT_TRUE(ValidateBill(BillWithBilling("//XY/anything/goes")).empty());
  EXPECT_EQ(ValidateBill(BillWithBilling("//S1/11/201301")),
            (Problems{{"billing.date", "date AAMMJJ attendue"}}));
}

TEST(SwicoBilling, StructuredInABillsJsonGivesTheText) {
  const BillReading reading = ReadBillJson(R"({"account": "CH5204835012345671000",
    "creditor": {"name": "R", "postcode": "2501", "town": "Biel", "country": "CH"},
    "currency": "CHF", "billing": {"invoice": "X.66711/8824", "date": "2020-07-12",
    "customer_reference": "MW-2020-04", "vat_number": "107978798",
    "vat": [{"rate": 2.5, "amount": 117.22}],
    "conditions": [{"discount": 3, "days": 5}, {"discount": "1.5", "days": 20},
                   {"discount": 1, "days": 40}, {"discount": 0, "days": 60}]}})");
  EXPECT_TRUE(reading.problems.empty()) << JoinProblems(reading.problems);
  EXPECT_EQ(reading.bill.billing, kTexts[3].text);
  // And written back structured: the same JSON read again gives the same bill.
  EXPECT_EQ(ReadBillJson(WriteBillJson(reading.bill)).bill, reading.bill);
  EXPECT_NE(WriteBillJson(reading.bill).find(R"("date": "2020-07-12")"), std::string::npos);
  EXPECT_EQ(BuildQrPayload(reading.bill).substr(BuildQrPayload(reading.bill).rfind('\n') + 1),
            kTexts[3].text);
}

TEST(SwicoBilling, StructuredFaultsNameTheirKey) {
  const BillReading reading = ReadBillJson(R"({"billing": {"date": "12.07.2020",
    "vat_period": {"start": "2018-02-27"}, "vat": "7.7", "colour": "red"}})");
  EXPECT_EQ(reading.problems,
            (Problems{{"billing.date", "date AAAA-MM-JJ (20..) attendue"},
                      {"billing.vat_period", "{\"start\": …, \"end\": …} sans vat_date attendu"},
                      {"billing.vat", "liste d'objets attendue"},
                      {"billing.colour", "clé inconnue"}}));
}

TEST(SwicoBilling, PeriodsAndRawTextsRoundTripThroughJson) {
  for (const char* billing : {kTexts[1].text, "//S1/10//11/200712", "//XY/raw"}) {
    const Bill bill = BillWithBilling(billing);
    const std::string json = WriteBillJson(bill);
    EXPECT_EQ(ReadBillJson(json).bill.billing, billing) << json;
  }
  EXPECT_NE(WriteBillJson(BillWithBilling(kTexts[1].text)).find(R"("start": "2018-02-26")"),
            std::string::npos);
}

}  // namespace
}  // namespace bvr::qr
