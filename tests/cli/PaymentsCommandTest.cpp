// bvrslip payments: bank files read as a table, and matched to open invoices into a result
// written whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../payments/CamtBuilder.h"
#include "CliTestSupport.h"
#include "model/DemoLayout.h"

namespace bvr {
namespace {

namespace fs = std::filesystem;
using test::CamtFile;
using test::EntryParts;
using test::Tx;

const std::string k68 = test::Qrr("00000000000000000000000068");
const std::string k69 = test::Qrr("00000000000000000000000069");

std::string WithWrongCheckDigit(const std::string& reference) {
  return reference.substr(0, 26) + char('0' + (reference[26] - '0' + 1) % 10);
}

// The notification of one day: a collective credit paying 68 in full and 69 in part, a
// payment with a mistyped reference, one in EUR, and a pending one.
std::string Notification(int version) {
  CamtFile c;
  c.version = version;
  EntryParts collective;
  collective.amount = "1260.00";
  collective.entryReference = "CH4431999123000889012";
  collective.transactions = {Tx("1000.00", "CHF", k68.substr(0, 2) + " " + k68.substr(2)),
                             Tx("100.00", "CHF", k69), Tx("10.00", "CHF", WithWrongCheckDigit(k68)),
                             Tx("150.00", "EUR", k69)};
  for (std::size_t i = 0; i < collective.transactions.size(); ++i) {
    collective.transactions[i].bankReference = "TX-" + std::to_string(i + 1);
  }
  EntryParts pending;
  pending.amount = "5.00";
  pending.status = "PDNG";
  pending.bankReference = "P1";
  pending.transactions = {Tx("5.00", "CHF", k69)};
  c.entries = {collective, pending};
  return test::CamtXml(c);
}

class PaymentsCommand : public test::CliTest {
 protected:
  std::string Invoices() const {
    return Write("open.csv",
                 "invoice;amount;currency;reference;customer\n"
                 "68;1000.00;CHF;" +
                     k68 +
                     ";Muster AG\n"
                     "69;300.00;CHF;" +
                     k69 +
                     ";Beispiel GmbH\n"
                     "70;20.00;CHF;" +
                     test::Qrr("00000000000000000000000070") + ";X\n");
  }
};

TEST_F(PaymentsCommand, ReadGivesOneRowPerTransaction) {
  const std::string a = Write("a.xml", Notification(8));
  CamtFile statement;
  statement.message = 53;
  statement.version = 4;
  EntryParts bare;
  bare.amount = "80";
  statement.entries = {bare};
  const std::string b = Write("b.xml", test::CamtXml(statement));
  test::CliResult r = Run({"payments", "read", a, b});
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = r.out.find("\r\n", at)) != std::string::npos; at = end + 2) {
    lines.push_back(r.out.substr(at, end - at));
  }
  ASSERT_EQ(lines.size(), 7u) << r.out;  // the header, 4 + 1 + 1 transactions
  EXPECT_EQ(lines[0].rfind("file,line,message,message_id,statement_id,", 0), 0u);
  EXPECT_NE(lines[1].find(",CH4431999123000889012,BOOK,CRDT,false,2026-03-02,2026-03-02,1000.00,"
                          "CHF," +
                          k68 + ",QRR,Pia Rutschmann,"),
            std::string::npos)
      << lines[1];
  EXPECT_NE(lines[5].find(",PDNG,"), std::string::npos) << lines[5];
  EXPECT_NE(lines[6].find("camt.053.001.04"), std::string::npos) << lines[6];
  EXPECT_NE(lines[6].find(",80,CHF,,"), std::string::npos) << lines[6];

  r = Run({"payments", "read", "--json", a});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("[\n {\"file\": ", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\"amount\": \"150.00\", \"currency\": \"EUR\""), std::string::npos);
}

TEST_F(PaymentsCommand, MatchSettlesInvoicesAndExplainsTheRest) {
  const std::string a = Write("a.xml", Notification(8));
  const std::string again = Write("statement.xml", Notification(4));  // the same payments
  const std::string result = (dir / "result.csv").string();
  const test::CliResult r =
      Run({"payments", "match", "--invoices", Invoices(), a, again, "-o", result});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, result + "\n");
  const std::string csv = test::Slurp(result);
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "status,invoice,reference,currency,amount,paid,open,surplus,payments,reason,detail,"
            "booking_date,payment_amount,bank_reference,debtor,file,line,key");
  for (const std::string& row : std::vector<std::string>{
           "paid,68," + k68 + ",CHF,1000.00,1000.00,0.00,0.00,2026-03-02 1000.00 TX-1,,,",
           "partly paid,69," + k69 + ",CHF,300.00,100.00,200.00,0.00,2026-03-02 100.00 TX-2,,,",
           "unpaid,70,",
           "unmatched,," + WithWrongCheckDigit(k68) + ",CHF,,,,,,wrong check digit,",
           "unmatched,," + k69 +
               ",EUR,,,,,,currency mismatch,\"EUR paid, CHF invoiced (invoice 69)\",",
           "unmatched,," + k69 + ",CHF,,,,,,not booked,PDNG,2026-03-02,5.00,",
       }) {
    EXPECT_NE(csv.find("\r\n" + row), std::string::npos) << row << "\n" << csv;
  }
  // Each of the four booked payments of the statement is the notification's again.
  std::size_t duplicates = 0;
  for (std::size_t at = 0; (at = csv.find("duplicate already counted", at)) != std::string::npos;
       ++at) {
    ++duplicates;
  }
  EXPECT_EQ(duplicates, 4u);
  EXPECT_NE(r.err.find("10 payments read\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(again + ": message MSG-2026-03-02, statement NTF-1 was read from " + a +
                       " already\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("paid CHF: 1 invoices, 1000.00 invoiced, 1000.00 paid\n"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("duplicate already counted CHF: 3 payments, 1110.00\n"), std::string::npos)
      << r.err;

  const std::string json = (dir / "result.json").string();
  ASSERT_EQ(Run({"payments", "match", "--invoices", Invoices(), a, "-o", json}).code, 0);
  const std::string text = test::Slurp(json);
  EXPECT_NE(text.find("{\"status\": \"partly paid\", \"invoice\": \"69\""), std::string::npos)
      << text;
}

TEST_F(PaymentsCommand, ReferencesMadeFromInvoiceNumbers) {
  const std::string layout = Write("demo.BVR", std::string(DemonstrationLayoutText()));
  const std::string qrr = Run({"qr", "reference", "--layout", layout, "--invoice", "4711"}).out;
  const std::string scor = Run({"qr", "reference", "--scor", "4711"}).out;
  ASSERT_EQ(qrr.size(), 28u);
  CamtFile c;
  EntryParts e;
  e.amount = "20.00";
  e.transactions = {Tx("10.00", "CHF", qrr.substr(0, 27)),
                    Tx("10.00", "CHF", scor.substr(0, scor.size() - 1), "SCOR")};
  c.entries = {e};
  const std::string camt = Write("a.xml", test::CamtXml(c));
  const std::string open = Write("open.csv", "invoice,amount,currency\n4711,10,CHF\n");
  const std::string result = (dir / "r.csv").string();
  ASSERT_EQ(
      Run({"payments", "match", "--invoices", open, "--layout", layout, camt, "-o", result}).code,
      0);
  EXPECT_NE(test::Slurp(result).find("\r\npaid,4711,"), std::string::npos) << test::Slurp(result);
  ASSERT_EQ(Run({"payments", "match", "--invoices", open, "--scor", camt, "-o", result}).code, 0);
  EXPECT_NE(test::Slurp(result).find("\r\npaid,4711,RF"), std::string::npos) << test::Slurp(result);
}

TEST_F(PaymentsCommand, BadInputWritesNothing) {
  const std::string a = Write("a.xml", Notification(8));
  const std::string broken = Write("b.xml", "<?xml version=\"1.0\"?>\n<Document>\n<a></b>\n");
  const std::string badCsv = Write("bad.csv",
                                   "invoice,amount,currency,reference\n"
                                   "68,1000.00,CHF," +
                                       k68 +
                                       "\n"
                                       "69,12;50,CHF," +
                                       k69 + "\n");
  const std::string result = Write("result.csv", "the previous result\n");
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string message;
  };
  const Case cases[] = {
      {{"--invoices", badCsv, a}, 1, "row 2 (line 3), column amount: '12;50' is not an amount"},
      {{"--invoices", Invoices(), a, broken}, 1, broken + ": line 3: Opening and ending tag"},
      {{"--invoices", Invoices(), a, a + ".missing"}, 1, "Cannot open file"},
      {{"--invoices", Invoices(), "--layout", a, "--scor", a}, 2, "not both"},
      {{"--invoices", Invoices()}, 2, "missing FILE.xml"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"payments", "match"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"-o", result});
    SCOPED_TRACE(c.message);
    const test::CliResult r = Run(args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(test::Slurp(result), "the previous result\n");
  }
  const std::string open = Invoices();
  EXPECT_EQ(Run({"payments", "match", "--invoices", open, a, "-o", open}).code, 1);
  EXPECT_EQ(Run({"payments", "match", "--invoices", Invoices(), a}).code, 2);
  EXPECT_EQ(Run(std::string("payments read")).code, 2);
}

}  // namespace
}  // namespace bvr
