#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "CamtBuilder.h"
#include "numbers/VYKBVRFunctions.h"
#include "payments/Decimal.h"
#include "payments/Invoices.h"
#include "payments/Reference.h"
#include "qrbill/References.h"
#include "strings/BvrError.h"

namespace bvr::pay {
namespace {

const std::string kA = test::Qrr("21000000000313947143000901");

std::vector<Invoice> Read(const std::string& csv, const ReferenceMaker& maker = {}) {
  return ReadInvoices(csv::FromText(csv), csv::Encoding::Utf8, maker).list;
}

TEST(Decimal, ExactTextBothWays) {
  struct Case {
    const char* text;
    std::optional<Units> units;
    const char* formatted;
  };
  const Case cases[] = {
      {"80", 8000000, "80.00"},
      {"209.7", 20970000, "209.70"},
      {"1.00", 100000, "1.00"},
      {"0.00001", 1, "0.00001"},
      {" 12.50 ", 1250000, "12.50"},
      {"9999999999999.99999", 999999999999999999, nullptr},
      {"1.000001", std::nullopt, nullptr},
      {"-1", std::nullopt, nullptr},
      {"1e3", std::nullopt, nullptr},
      {"1,50", std::nullopt, nullptr},
      {"1.", std::nullopt, nullptr},
      {".5", std::nullopt, nullptr},
      {"", std::nullopt, nullptr},
      {"10000000000000", std::nullopt, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDecimal(c.text), c.units);
    if (c.formatted) {
      EXPECT_EQ(FormatDecimal(*c.units), c.formatted);
    }
  }
  EXPECT_EQ(FormatDecimal(-5000000), "-50.00");
  EXPECT_EQ(FormatDecimal(0), "0.00");
  EXPECT_EQ(FormatDecimal(-1), "-0.00001");
  EXPECT_EQ(FormatDecimal(std::numeric_limits<Units>::min()), "-92233720368547.75808");
}

// The quick check of the open invoices against the library's: the same digit, the same verdict.
TEST(Invoices, QuickReferenceCheckAgreesWithTheLibrarys) {
  std::mt19937 random(30);
  int sound = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string digits(random() % 31, '0');
    for (char& c : digits) {
      c = static_cast<char>('0' + random() % 10);
    }
    ASSERT_EQ(DigitsCheckDigit(digits), CheckDigit(digits)) << digits;
    if (digits.size() == qr::kQrReferenceLength - 1) {
      // Half of them with their right check digit, half with any.
      const int last = i % 2 ? CheckDigit(digits) : static_cast<int>(random() % 10);
      const std::string reference = digits + static_cast<char>('0' + last);
      ASSERT_EQ(ReferenceProblem(reference), qr::QrReferenceProblem(reference)) << reference;
      sound += !ReferenceProblem(reference);
    }
  }
  EXPECT_GT(sound, 100);  // both verdicts were met
  for (const std::string text :
       {"", "2100000000031394714300090I7", "21 000000000313947143000901"}) {
    EXPECT_EQ(ReferenceProblem(text), qr::QrReferenceProblem(text)) << text;
  }
}

TEST(Invoices, ColumnsInAnyOrderReferencesCompactedOthersIgnored) {
  const std::vector<Invoice> all = Read(
      "Customer;Currency;Reference;Amount;Invoice\n"
      "Muster AG;chf;21 00000 00003 13947 14300 09017;100.05;68\n"
      "Beispiel;EUR;rf18 5390 0754 7034;7;69\n");
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].invoice, "68");
  EXPECT_EQ(all[0].currency, "CHF");
  EXPECT_EQ(all[0].amount, 10005000);
  EXPECT_EQ(all[0].reference, "210000000003139471430009017");
  EXPECT_EQ(all[1].reference, "RF18539007547034");
  EXPECT_EQ(all[1].line, 3u);
}

TEST(Invoices, ReferencesMadeFromInvoiceNumbers) {
  const ReferenceLayout scheme{"00123456", 9, 1, 18, 8};
  const std::vector<Invoice> qrr =
      Read("invoice,amount,currency\n4711,10,CHF\n",
           [&](const std::string& n) { return qr::QrReferenceFromLayout(scheme, n); });
  ASSERT_EQ(qrr.size(), 1u);
  EXPECT_EQ(qrr[0].reference, qr::QrReferenceFromLayout(scheme, "4711"));
  const std::vector<Invoice> scor =
      Read("invoice,amount,currency\nA17,10,CHF\n",
           [](const std::string& n) { return qr::CreateCreditorReference(n); });
  ASSERT_EQ(scor.size(), 1u);
  EXPECT_EQ(scor[0].reference.substr(0, 2), "RF");
}

TEST(Invoices, BadRowsNameRowLineAndColumn) {
  const std::string head = "invoice,amount,currency,reference\n";
  const std::string good = "68,100.00,CHF," + kA + "\n";
  const ReferenceMaker scor = [](const std::string& n) { return qr::CreateCreditorReference(n); };
  struct Case {
    std::string csv;
    ReferenceMaker maker;
    std::string start;
  };
  const Case cases[] = {
      {head + good + "69,1.5.0,CHF," + kA + "\n",
       {},
       "row 2 (line 3), column amount: '1.5.0' is not an amount"},
      {head + good + "69,1.50,Fr.," + kA + "\n",
       {},
       "row 2 (line 3), column currency: 'Fr.' is not a currency"},
      {head + "68,1,CHF,210000000003139471430009018\n",
       {},
       "row 1 (line 2), column reference: 210000000003139471430009018 : chiffre de contrôle"},
      {head + good + "\n\"6\n9\",2,CHF," + kA + "\n",
       {},
       "row 2 (line 4), column reference: the reference " + kA + " is row 1's already"},
      {head + ",1,CHF," + kA + "\n",
       {},
       "row 1 (line 2), column invoice: the invoice number is missing"},
      {"invoice,amount,currency\nA/1,1,CHF\n", scor,
       "row 1 (line 2), column invoice: Référence créancier"},
      {"invoice,amount\n1,2\n",
       {},
       "CSV header: the columns \"invoice\", \"amount\" and \"currency\" are required"},
      {"invoice,amount,currency\n1,2,CHF\n",
       {},
       "CSV header: the column \"reference\" is required"},
      {head + good, scor, "CSV header: give either the column \"reference\" or --layout/--scor"},
      {"invoice,amount,amount,currency\n", {}, "CSV header, column 3: \"amount\" repeats column 2"},
      {"", {}, "CSV header: the file is empty"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.csv);
    try {
      Read(c.csv, c.maker);
      ADD_FAILURE() << "read without error";
    } catch (const EBvrError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.start, 0), 0u) << e.what();
    }
  }
}

}  // namespace
}  // namespace bvr::pay
