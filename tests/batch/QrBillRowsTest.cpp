#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "batch/QrBillRows.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

qr::Bill Template() {
  qr::Bill bill;
  bill.account = "CH4431999123000889012";  // a QR-IBAN: every bill needs a QR reference
  bill.creditor = {"Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel", "CH"};
  bill.currency = "CHF";
  bill.message = "Facture de décembre";
  bill.language = qr::Language::de;
  return bill;
}

const ReferenceLayout kScheme{"00123456", 9, 1, 18, 8};
constexpr const char* kReference = "210000000003139471430009017";

std::vector<QrBillRow> ReadAll(const std::string& csv,
                               std::optional<ReferenceLayout> scheme = std::nullopt) {
  QrBillRowReader reader(csv::FromText(csv), csv::Encoding::Utf8, Template(), scheme);
  std::vector<QrBillRow> rows;
  for (QrBillRow row; reader.Next(row);) {
    rows.push_back(row);
  }
  return rows;
}

TEST(QrBillRows, CellsOverTheTemplateAndEmptyCellsKeepIt) {
  const std::string csv =
      "Amount, reference ,debtor.name,debtor.postcode,debtor.town,debtor.country,message\n"
      "1949.75,21 00000 00003 13947 14300 09017,Pia Rutschmann,9400,Rorschach,CH,Auftrag\n"
      ",210000000003139471430009017,,,,,\n";
  const std::vector<QrBillRow> rows = ReadAll(csv);
  ASSERT_EQ(rows.size(), 2u);
  const qr::Bill& first = rows[0].bill;
  EXPECT_EQ(rows[0].row, 1u);
  EXPECT_EQ(first.amount, "1949.75");
  EXPECT_EQ(first.referenceType, qr::ReferenceType::QRR);
  EXPECT_EQ(first.reference, "21 00000 00003 13947 14300 09017");
  ASSERT_TRUE(first.debtor.has_value());
  EXPECT_EQ(first.debtor->name, "Pia Rutschmann");
  EXPECT_EQ(first.debtor->town, "Rorschach");
  EXPECT_EQ(first.message, "Auftrag");
  EXPECT_EQ(first.creditor, Template().creditor);
  EXPECT_EQ(first.language, qr::Language::de);
  EXPECT_TRUE(rows[0].problems.empty()) << qr::JoinProblems(rows[0].problems);
  // Row 2: no amount (filled in by hand), no debtor, the template's message.
  const qr::Bill& second = rows[1].bill;
  EXPECT_EQ(rows[1].row, 2u);
  EXPECT_EQ(second.amount, "");
  EXPECT_FALSE(second.debtor.has_value());
  EXPECT_EQ(second.message, "Facture de décembre");
  EXPECT_TRUE(rows[1].problems.empty()) << qr::JoinProblems(rows[1].problems);
}

TEST(QrBillRows, AnInvoiceColumnMakesTheQrReferenceOfTheScheme) {
  const std::vector<QrBillRow> rows =
      ReadAll("invoice,amount\n45687,10\n12x,10\n123456789012345678901,10\n", kScheme);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].bill.reference, "001234560000000000000456878");
  EXPECT_EQ(rows[0].bill.referenceType, qr::ReferenceType::QRR);
  EXPECT_TRUE(rows[0].problems.empty()) << qr::JoinProblems(rows[0].problems);
  // An invoice number that is not digits, or too long for its places, is the row's problem
  // (and the bill then lacks the reference its QR-IBAN needs).
  for (std::size_t i : {1u, 2u}) {
    ASSERT_FALSE(rows[i].problems.empty()) << "row " << rows[i].row;
    EXPECT_EQ(rows[i].problems.front().field, "invoice") << "row " << rows[i].row;
  }
}

TEST(QrBillRows, TheBillsRulesAreEachRowsProblems) {
  const std::vector<QrBillRow> rows = ReadAll(
      "amount,reference\n"
      "12.345,210000000003139471430009017\n"
      "10,210000000003139471430009018\n"
      "10,\n");
  ASSERT_EQ(rows.size(), 3u);
  const std::vector<std::string> expectedFields = {"amount", "reference", "reference"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    ASSERT_FALSE(rows[i].problems.empty()) << "row " << rows[i].row;
    EXPECT_EQ(rows[i].problems.front().field, expectedFields[i]) << "row " << rows[i].row;
  }
  // A debtor given only in part is incomplete.
  const std::vector<QrBillRow> partial =
      ReadAll("reference,debtor.name\n210000000003139471430009017,Jean\n");
  ASSERT_EQ(partial.size(), 1u);
  ASSERT_FALSE(partial[0].problems.empty());
  EXPECT_EQ(partial[0].problems.front().field.rfind("debtor.", 0), 0u)
      << partial[0].problems.front().Text();
}

TEST(QrBillRows, HeadersThatWouldLoseOrMixValuesAreRefused) {
  struct Case {
    const char* csv;
    bool scheme;
    const char* message;
  };
  const Case cases[] = {
      {"amount,debtor.twon\n", false, "CSV header, column 2: unknown column \"debtor.twon\""},
      {"amount,reference,Amount\n", false, "CSV header, column 3: \"amount\" repeats column 1"},
      {"invoice,reference\n", true, "give either \"invoice\" or \"reference\""},
      {"invoice,amount\n", false, "needs --layout FILE.BVR"},
      {"", false, "CSV header: the file is empty"},
  };
  for (const Case& c : cases) {
    try {
      ReadAll(c.csv, c.scheme ? std::optional<ReferenceLayout>(kScheme) : std::nullopt);
      ADD_FAILURE() << "accepted: " << c.csv;
    } catch (const EBvrError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << c.csv << " -> " << e.what();
    }
  }
}

TEST(QrBillRows, AFieldTooManyStopsTheReadAtItsRow) {
  try {
    ReadAll("amount,reference\n10," + std::string(kReference) + "\n1,000.00,x\n");
    ADD_FAILURE() << "accepted";
  } catch (const EBvrError& e) {
    EXPECT_NE(std::string(e.what()).find("row 2 (line 3)"), std::string::npos) << e.what();
  }
}

TEST(QrBillRows, ProblemsAreListedByRowAndCutAfterTheFirstLines) {
  BatchProblems problems(3);
  problems.Add(2, {{"amount", "a"}, {"debtor.town", "b"}});
  problems.Add(5, {});
  problems.Add(7, {{"reference", "c"}, {"message", "d"}});
  problems.Add(9, {{"amount", "e"}});
  EXPECT_EQ(problems.Text(),
            "row 2, amount : a\n"
            "row 2, debtor.town : b\n"
            "row 7, reference : c\n"
            "… and 2 more problems; 3 rows have problems");
  BatchProblems none;
  none.Add(1, {});
  EXPECT_TRUE(none.Empty());
}

}  // namespace
}  // namespace bvr
