#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CamtBuilder.h"
#include "payments/Matcher.h"

namespace bvr::pay {
namespace {

const std::string kA = test::Qrr("21000000000313947143000901");
const std::string kB = test::Qrr("00000000000000000000001234");
const std::string kScor = "RF18539007547034";

std::vector<Invoice> Open() {
  return {{1, 2, "68", 100 * kUnitsPerWhole, "CHF", kA},
          {2, 3, "69", 50 * kUnitsPerWhole, "CHF", kB},
          {3, 4, "70", 20 * kUnitsPerWhole, "EUR", kScor}};
}

// A booked credit of amount to reference; bank reference distinguishes payments.
Transaction Credit(const std::string& amount, const std::string& reference,
                   const std::string& bankReference) {
  Transaction t;
  t.file = "a.xml";
  t.account = "CH5800791123000889012";
  t.status = "BOOK";
  t.amount = amount;
  t.currency = "CHF";
  t.reference = reference;
  t.bankReference = bankReference;
  t.bookingDate = "2026-03-02";
  t.entryLine = 10;
  return t;
}

Transaction With(Transaction t, void (*change)(Transaction&)) {
  change(t);
  return t;
}

struct Expected {
  std::string invoice68;  // status of invoice 68
  std::string paid68;
  std::string open68;
  std::string surplus68;
  std::vector<std::string> reasons;  // of the unmatched payments, in order
};

TEST(Matcher, BalancesAndReasons) {
  const Transaction full = Credit("100.00", kA, "T1");
  const Transaction part = Credit("40", kA, "T2");
  const Transaction rest = Credit("60.00000", kA, "T3");
  struct Case {
    const char* name;
    std::vector<Transaction> payments;
    Expected expected;
  };
  const Case cases[] = {
      {"paid", {full}, {"paid", "100.00", "0.00", "0.00", {}}},
      {"partly paid", {part}, {"partly paid", "40.00", "60.00", "0.00", {}}},
      {"two parts pay it", {part, rest}, {"paid", "100.00", "0.00", "0.00", {}}},
      {"paid twice",
       {full, Credit("100.00", kA, "T9")},
       {"overpaid", "200.00", "0.00", "100.00", {}}},
      {"over by a fraction",
       {Credit("100.00001", kA, "T1")},
       {"overpaid", "100.00001", "0.00", "0.00001", {}}},
      {"unpaid", {}, {"unpaid", "0.00", "100.00", "0.00", {}}},
      {"pending does not settle",
       {With(full, [](Transaction& t) { t.status = "PDNG"; })},
       {"unpaid", "0.00", "100.00", "0.00", {"not booked"}}},
      {"a wrong check digit is never matched",
       {Credit("100.00", kA.substr(0, 26) + char('0' + (kA[26] - '0' + 1) % 10), "T1")},
       {"unpaid", "0.00", "100.00", "0.00", {"wrong check digit"}}},
      {"a short reference is malformed",
       {Credit("100.00", "12345", "T1")},
       {"unpaid", "0.00", "100.00", "0.00", {"malformed reference"}}},
      {"EUR against a CHF invoice",
       {With(full, [](Transaction& t) { t.currency = "EUR"; })},
       {"unpaid", "0.00", "100.00", "0.00", {"currency mismatch"}}},
      {"unknown reference",
       {Credit("5.00", test::Qrr("99999999999999999999999999"), "T1")},
       {"unpaid", "0.00", "100.00", "0.00", {"unknown reference"}}},
      {"no reference",
       {Credit("5.00", "", "T1")},
       {"unpaid", "0.00", "100.00", "0.00", {"no reference"}}},
      {"the same payment twice counts once",
       {full, With(full, [](Transaction& t) { t.entryLine = 20; })},
       {"paid", "100.00", "0.00", "0.00", {"duplicate already counted"}}},
      {"a reversal undoes its credit",
       {part, full,
        With(full,
             [](Transaction& t) {
               t.credit = false;
               t.reversal = true;
               t.bankReference = "R1";
             })},
       {"partly paid", "40.00", "60.00", "0.00", {"undoes an earlier credit"}}},
      {"a return undoes its credit",
       {full, With(full,
                   [](Transaction& t) {
                     t.credit = false;
                     t.returnReason = "AC04";
                     t.bankReference = "R1";
                   })},
       {"unpaid", "0.00", "100.00", "0.00", {"undoes an earlier credit"}}},
      {"a reversal before any credit",
       {With(full,
             [](Transaction& t) {
               t.credit = false;
               t.reversal = true;
             })},
       {"unpaid", "0.00", "100.00", "0.00", {"reversal without its credit"}}},
      {"a plain debit",
       {With(full, [](Transaction& t) { t.credit = false; })},
       {"unpaid", "0.00", "100.00", "0.00", {"debit"}}},
      {"no amount", {Credit("", kA, "T1")}, {"unpaid", "0.00", "100.00", "0.00", {"no amount"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Matcher matcher(Open());
    for (const Transaction& t : c.payments) {
      matcher.Add(t);
    }
    const InvoiceState& s = matcher.Invoices()[0];
    EXPECT_EQ(StatusName(s.Status()), c.expected.invoice68);
    EXPECT_EQ(FormatDecimal(s.paid), c.expected.paid68);
    EXPECT_EQ(FormatDecimal(s.Open()), c.expected.open68);
    EXPECT_EQ(FormatDecimal(s.Surplus()), c.expected.surplus68);
    std::vector<std::string> reasons;
    for (const UnmatchedPayment& u : matcher.UnmatchedPayments()) {
      reasons.push_back(ReasonName(u.reason));
    }
    EXPECT_EQ(reasons, c.expected.reasons);
  }
}

TEST(Matcher, CreditorReferencesAndSettlementsKeptPerInvoice) {
  Matcher matcher(Open());
  Transaction t = Credit("20.00", kScor, "T1");
  t.currency = "EUR";
  matcher.Add(t);
  matcher.Add(Credit("50.00", kB, ""));
  const InvoiceState& scor = matcher.Invoices()[2];
  EXPECT_EQ(StatusName(scor.Status()), std::string("paid"));
  ASSERT_EQ(scor.settlements.size(), 1u);
  EXPECT_EQ(scor.settlements[0].bankReference, "T1");
  EXPECT_EQ(scor.settlements[0].bookingDate, "2026-03-02");
  EXPECT_EQ(StatusName(matcher.Invoices()[1].Status()), std::string("paid"));
  const auto summary = matcher.Summary();
  ASSERT_EQ(summary.count("paid EUR"), 1u);
  EXPECT_EQ(summary.at("paid CHF").count, 1u);
  EXPECT_EQ(summary.at("unpaid CHF").amount, 100 * kUnitsPerWhole);
}

TEST(Matcher, DuplicateKeyAcrossFilesAndWithinAnEntry) {
  // Two equal payments inside one entry are two payments; the same file again counts nothing.
  const Transaction ten = Credit("10.00", kA, "");
  Matcher matcher(Open());
  for (int file = 0; file < 2; ++file) {
    matcher.StartFile();
    matcher.Add(ten);
    matcher.Add(ten);
  }
  EXPECT_EQ(FormatDecimal(matcher.Invoices()[0].paid), "20.00");
  EXPECT_EQ(matcher.UnmatchedPayments().size(), 2u);

  // The statement's date-time and "10.0" are the notification's date and "10.00".
  Transaction statement = ten;
  statement.amount = "10.0";
  statement.bookingDate = "2026-03-02T24:00:00+01:00";
  statement.entryReference = "another entry reference";
  EXPECT_EQ(PaymentKey(statement), PaymentKey(ten));
  for (void (*change)(Transaction&) : {
           +[](Transaction& t) { t.account = "CH9300762011623852957"; },
           +[](Transaction& t) { t.entryBankReference = "E2"; },
           +[](Transaction& t) { t.endToEndId = "E2E"; },
           +[](Transaction& t) { t.amount = "10.01"; },
           +[](Transaction& t) { t.reference = kB; },
           +[](Transaction& t) { t.bookingDate = "2026-03-03"; },
           +[](Transaction& t) { t.credit = false; },
       }) {
    EXPECT_NE(PaymentKey(With(ten, change)), PaymentKey(ten));
  }
}

}  // namespace
}  // namespace bvr::pay
