#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/Payments.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

std::string FailureOf(const std::string& csv) {
  try {
    ReadPayments(csv);
  } catch (const EBvrError& e) {
    return e.what();
  }
  return "(no failure)";
}

TEST(Payments, QuotedFieldsAndLineBreaksReachThePayerLines) {
  const std::string csv =
      "Amount,payer2,INVOICE,payer1,payer3\r\n"
      "12.5,\"Dupont, Jean\",7,Monsieur,\"Rue 1\nCase 3\"\r\n"
      "0.05,,\" 8 \",\"Say \"\"hi\"\"\",\r\n"
      "1,\"b\r\n\rc\",9,\"a\n\",\"\n\"\r\n";
  const std::vector<Payment> p = ReadPayments(csv);
  ASSERT_GE(p.size(), 2u);
  EXPECT_EQ(p[0].row, 1u);
  EXPECT_EQ(p[0].line, 2u);
  EXPECT_EQ(p[0].invoice, "7");
  EXPECT_DOUBLE_EQ(p[0].amount, 12.5);
  // A line break inside a field starts a new payer line.
  EXPECT_EQ(p[0].payer, (std::vector<std::string>{"Monsieur", "Dupont, Jean", "Rue 1", "Case 3"}));
  // The second row starts after the line break inside the first one.
  EXPECT_EQ(p[1].line, 4u);
  EXPECT_EQ(p[1].invoice, "8");
  EXPECT_DOUBLE_EQ(p[1].amount, 0.05);
  // Trailing empty payer lines dropped, inner ones kept.
  EXPECT_EQ(p[1].payer, (std::vector<std::string>{"Say \"hi\""}));
  // CR LF, CR and LF each end one line; the empty lines at the end go.
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[2].payer, (std::vector<std::string>{"a", "", "b", "", "c"}));
}

TEST(Payments, PayerColumnsFollowTheirNumberNotTheirPlace) {
  const auto p = ReadPayments("payer10,payer2,invoice,amount,payer1,payerx\nj,b,1,1,a,z\n");
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].payer, (std::vector<std::string>{"a", "b", "j"}));
}

TEST(Payments, ReadingFailsWithRowAndColumn) {
  const struct {
    std::string csv;
    std::string message;
  } cases[] = {
      {"invoice,payer1\n1,a\n", "CSV header: the columns \"invoice\" and \"amount\" are required"},
      {"", "CSV header: the file is empty"},
      {"invoice,amount\n1,2\n3,x\n", "row 2 (line 3), column amount: "},
      {"invoice,amount\n1,2\n3,4\n5,1.2.3\n", "row 3 (line 4), column amount: "},
      {"invoice,amount\n1,\n", "row 1 (line 2), column amount: "},
      {"invoice,amount\n1,\"2\n", "row 1 (line 2), column amount: the quote opened on line 2 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.csv);
    EXPECT_EQ(FailureOf(c.csv).rfind(c.message, 0), 0u) << FailureOf(c.csv);
  }
}

TEST(Payments, ShiftedOrRepeatedColumnsAreRefused) {
  const struct {
    std::string csv;
    std::string message;
  } cases[] = {
      // An unquoted thousands or decimal comma would print 1.00 and 12.00.
      {"invoice,amount,payer1\n45687,1,000.00,Jean Dupont\n",
       "row 1 (line 2), column 4: 4 fields where the header has 3"},
      {"invoice,amount,payer1\n1,2,a\n45687,1,12,50\n",
       "row 2 (line 3), column 4: 4 fields where the header has 3"},
      {"invoice,amount,payer1,payer2\n45687\n", "row 1 (line 2), column 2: 1 fields where"},
      {"invoice,amount,invoice\n1,2,3\n", "CSV header, column 3: \"invoice\" repeats column 1"},
      {"payer1,invoice,amount,payer1\n", "CSV header, column 4: \"payer1\" repeats column 1"},
      {"invoice,payer1,amount,payer01\n", "CSV header, column 4: \"payer01\" repeats column 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.csv);
    EXPECT_EQ(FailureOf(c.csv).rfind(c.message, 0), 0u) << FailureOf(c.csv);
  }
  // Only a missing last field reads as empty.
  const auto p = ReadPayments("invoice,amount,payer1\n7,1.5\n");
  ASSERT_EQ(p.size(), 1u);
  EXPECT_DOUBLE_EQ(p[0].amount, 1.5);
  EXPECT_TRUE(p[0].payer.empty());
}

TEST(Payments, EchoedValuesAreShortAndEscaped) {
  EXPECT_EQ(FailureOf("invoice,amount\n1,\"a\x01\"\n"),
            "row 1 (line 2), column amount: 'a\\x01' is not a valid floating point value");
  EXPECT_EQ(FailureOf("invoice,amount\n1," + std::string(900, '9') + "x\n"),
            "row 1 (line 2), column amount: '" + std::string(40, '9') +
                "...' is not a valid floating point value");
}

TEST(Payments, LayoutFaultsAreNotBlamedOnARow) {
  TBvrProperties layout;
  LoadDemonstrationLayout(layout);
  layout.Reference().number().InternalNumberLength = -2147483647 - 1;
  try {
    CheckPayments(ReadPayments("invoice,amount\n1,2\n"), layout);
    FAIL() << "no failure";
  } catch (const EBvrError& e) {
    EXPECT_EQ(std::string(e.what()),
              "the reference keeps no digit for the invoice number "
              "(Reference.number.InternalNumberLength = -2147483648)");
  }
  LoadDemonstrationLayout(layout);
  layout.Account().Setnumber("01-987654-5");
  try {
    CheckPayments(ReadPayments("invoice,amount\n1,2\n"), layout);
    FAIL() << "no failure";
  } catch (const EBvrError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("row", 0), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("01-987654-5"), std::string::npos) << e.what();
  }
}

TEST(Payments, CheckFailsAtTheFirstUnprintableRow) {
  TBvrProperties layout;
  LoadDemonstrationLayout(layout);
  const struct {
    std::string csv;
    std::string message;
  } cases[] = {
      {"invoice,amount\n1,2\n12a,3\n",
       "row 2 (line 3), column invoice: '12a' is not a valid integer value"},
      {"invoice,amount\n1,2\n,3\n",
       "row 2 (line 3), column invoice: '' is not a valid integer value"},
      {"invoice,amount\n1,2\n1234567890123456789,3\n",
       "row 2 (line 3), column invoice: '1234567890123456789' has more than the 18 digits"},
      {"invoice,amount\n1,2\n2,3\n3,123456789\n",
       "row 3 (line 4), column amount: 123456789 : Montant trop grand"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.csv);
    std::string message = "(no failure)";
    try {
      CheckPayments(ReadPayments(c.csv), layout);
    } catch (const EBvrError& e) {
      message = e.what();
    }
    EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
  }
  // A credit note prints with the coding line without amount.
  EXPECT_NO_THROW(
      CheckPayments(ReadPayments("invoice,amount\n45687,1000\n1,0.05\n2,-12.5\n"), layout));
}

}  // namespace
}  // namespace bvr

namespace bvr {
namespace {

TEST(Payments, SwissSpreadsheetCsvReachesThePayerLines) {
  const struct {
    const char* name;
    std::string csv;
  } cases[] = {
      {"windows_1252_semicolons",
       "invoice;amount;payer1;payer2\r\n45687;12.50;Hans M\xFCller;\"Zo\xEB, Rue 1\"\r\n"},
      {"utf8_bom_semicolons",
       "\xEF\xBB\xBFinvoice;amount;payer1;payer2\r\n45687;12.50;Hans M\xC3\xBCller;"
       "\"Zo\xC3\xAB, Rue 1\"\r\n"},
      {"windows_1252_tabs",
       "invoice\tamount\tpayer1\tpayer2\n45687\t12.50\tHans M\xFCller\tZo\xEB, Rue 1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto p = ReadPayments(c.csv);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].invoice, "45687");
    EXPECT_DOUBLE_EQ(p[0].amount, 12.5);
    EXPECT_EQ(p[0].payer, (std::vector<std::string>{"Hans M\xC3\xBCller", "Zo\xC3\xAB, Rue 1"}));
  }
  // Forced to UTF-8, a Windows-1252 byte is an error in its place, never a replacement sign.
  try {
    ReadPayments(cases[0].csv, csv::Encoding::Utf8);
    ADD_FAILURE() << "no failure";
  } catch (const EBvrError& e) {
    EXPECT_EQ(std::string(e.what()), "row 1 (line 2), column payer1: byte 0xFC is not UTF-8");
  }
}

}  // namespace
}  // namespace bvr
