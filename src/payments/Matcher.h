// Payments matched to open invoices by their reference. Each invoice keeps a running balance
// (partial payments, several payments and overpayments are normal); a payment that settles
// nothing is kept with its reason. Only booked credits settle; a reversed or returned credit is
// undone; a payment seen before (by its key, see PaymentKey) counts once.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "payments/Decimal.h"
#include "payments/Invoices.h"
#include "payments/Transaction.h"

namespace bvr::pay {

enum class InvoiceStatus { Paid, PartlyPaid, Overpaid, Unpaid };

// "paid", "partly paid", "overpaid", "unpaid".
const char* StatusName(InvoiceStatus status);

enum class Unmatched {
  NoAmount,       // no amount, or one that is no decimal
  Duplicate,      // its key was counted already
  NotBooked,      // PDNG, INFO: announced, not on the account
  Debit,          // money going out, not a payment received
  UndoesCredit,   // a reversal or return that takes back an earlier credit
  NothingToUndo,  // a reversal or return whose credit was not among the payments
  ReversedDebit,  // a credit that reverses a debit
  NoReference,    // no structured reference
  MalformedReference,
  WrongCheckDigit,   // never matched automatically
  UnknownReference,  // well-formed, but no open invoice has it
  CurrencyMismatch,
};

// "unknown reference", "wrong check digit", ...
const char* ReasonName(Unmatched reason);

// A payment that settled (part of) an invoice.
struct Settlement {
  Units amount = 0;
  std::string bookingDate;
  std::string bankReference;  // the transaction's, else the entry's, else the end-to-end id
};

struct InvoiceState {
  Invoice invoice;
  Units paid = 0;
  std::vector<Settlement> settlements;

  InvoiceStatus Status() const;
  Units Open() const { return paid < invoice.amount ? invoice.amount - paid : 0; }
  Units Surplus() const { return paid > invoice.amount ? paid - invoice.amount : 0; }
};

struct UnmatchedPayment {
  Transaction transaction;
  Unmatched reason = Unmatched::UnknownReference;
  std::string detail;  // the invoice undone, the currencies, the reference's problem
  std::string key;
};

// The duplicate key: the account (the IBAN of Acct), the entry's bank reference (AcctSvcrRef),
// the transaction's references (AcctSvcrRef, EndToEndId, TxId, InstrId, UETR), credit or debit,
// reversal, the amount (as a decimal value: "10.5" and "10.50" are one), its currency, the
// reference, and the booking date's day (a date in one file, a date-time in the other).
// Fields joined by "|". The entry's own reference (NtryRef) is not part of it: notifications
// put the QR-IBAN there where statements do not.
std::string PaymentKey(const Transaction& transaction);

struct SummaryLine {
  bool invoices = false;  // a line of invoices, or of unmatched payments
  std::size_t count = 0;
  Units amount = 0;  // the invoices' amounts, or the payments'
  Units paid = 0;    // invoices only
};

class Matcher {
 public:
  explicit Matcher(OpenInvoices invoices);
  // Invoices of distinct references.
  explicit Matcher(std::vector<Invoice> invoices);

  // Before the payments of each file: a file given twice is two files, not one long entry.
  void StartFile();
  // One payment, in the order of the files.
  void Add(const Transaction& transaction);

  const std::vector<InvoiceState>& Invoices() const { return invoices_; }
  const std::vector<UnmatchedPayment>& UnmatchedPayments() const { return unmatched_; }

  // Counts and sums per invoice status and currency ("paid CHF"), and per unmatched reason and
  // currency ("unknown reference EUR").
  std::map<std::string, SummaryLine> Summary() const;

 private:
  void Settle(const Transaction& t, Units amount, const std::string& key);
  void Undo(const Transaction& t, Units amount, const std::string& key);
  void Refuse(const Transaction& t, Unmatched reason, std::string detail, const std::string& key);
  // Counts key; false when it was counted before (then key is the one counted).
  bool Count(std::string& key);

  std::vector<InvoiceState> invoices_;
  std::unordered_map<std::string, std::size_t> byReference_;
  // The keys of the booked payments counted, each with the entry it was last met in and how
  // often there: equal payments inside one entry are told apart by their order ("#2").
  struct Met {
    std::size_t entry = 0;
    std::size_t times = 0;
  };
  std::unordered_map<std::string, Met> counted_;
  std::vector<UnmatchedPayment> unmatched_;
  static constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);
  std::size_t entryLine_ = kNoEntry;  // of the entry last met, in this file
  std::size_t entry_ = 0;             // a number for each entry met
};

}  // namespace bvr::pay
