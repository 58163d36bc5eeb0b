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
      {"invoice,amount\n1,2\n3,x\n", "row 2, column amount: "},
      {"invoice,amount\n1,2\n3,4\n5,1.2.3\n", "row 3, column amount: "},
      {"invoice,amount\n1,\n", "row 1, column amount: "},
      {"invoice,amount\n1,\"2\n", "CSV line 2: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.csv);
    EXPECT_EQ(FailureOf(c.csv).rfind(c.message, 0), 0u) << FailureOf(c.csv);
  }
}

TEST(Payments, CheckFailsAtTheFirstUnprintableRow) {
  TBvrProperties layout;
  LoadDemonstrationLayout(layout);
  const struct {
    std::string csv;
    std::string message;
  } cases[] = {
      {"invoice,amount\n1,2\n12a,3\n", "row 2, column invoice: '12a' is not a valid integer value"},
      {"invoice,amount\n1,2\n,3\n", "row 2, column invoice: '' is not a valid integer value"},
      {"invoice,amount\n1,2\n1234567890123456789,3\n",
       "row 2, column invoice: '1234567890123456789' has more than the 18 digits"},
      {"invoice,amount\n1,2\n2,3\n3,123456789\n",
       "row 3, column amount: 123456789 : Montant trop grand"},
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
