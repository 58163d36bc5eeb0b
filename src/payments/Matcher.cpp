#include "payments/Matcher.h"

#include <algorithm>

#include "payments/Reference.h"
#include "strings/BvrError.h"

namespace bvr::pay {

namespace {

std::string DayOf(const std::string& date) {
  return date.substr(0, 10);
}

std::string FirstOf(std::initializer_list<const std::string*> texts) {
  for (const std::string* text : texts) {
    if (!text->empty()) {
      return *text;
    }
  }
  return {};
}

bool TakesBack(const Transaction& t) {
  return t.reversal || !t.returnReason.empty();
}

}  // namespace

const char* StatusName(InvoiceStatus status) {
  switch (status) {
    case InvoiceStatus::Paid:
      return "paid";
    case InvoiceStatus::PartlyPaid:
      return "partly paid";
    case InvoiceStatus::Overpaid:
      return "overpaid";
    case InvoiceStatus::Unpaid:
      break;
  }
  return "unpaid";
}

const char* ReasonName(Unmatched reason) {
  switch (reason) {
    case Unmatched::NoAmount:
      return "no amount";
    case Unmatched::Duplicate:
      return "duplicate already counted";
    case Unmatched::NotBooked:
      return "not booked";
    case Unmatched::Debit:
      return "debit";
    case Unmatched::UndoesCredit:
      return "undoes an earlier credit";
    case Unmatched::NothingToUndo:
      return "reversal without its credit";
    case Unmatched::ReversedDebit:
      return "reverses a debit";
    case Unmatched::NoReference:
      return "no reference";
    case Unmatched::MalformedReference:
      return "malformed reference";
    case Unmatched::WrongCheckDigit:
      return "wrong check digit";
    case Unmatched::UnknownReference:
      return "unknown reference";
    case Unmatched::CurrencyMismatch:
      break;
  }
  return "currency mismatch";
}

InvoiceStatus InvoiceState::Status() const {
  if (paid == 0) {
    return InvoiceStatus::Unpaid;
  }
  if (paid < invoice.amount) {
    return InvoiceStatus::PartlyPaid;
  }
  return paid == invoice.amount ? InvoiceStatus::Paid : InvoiceStatus::Overpaid;
}

std::string PaymentKey(const Transaction& t) {
  const std::optional<Units> amount = ParseDecimal(t.amount);
  const std::string amountText = amount ? FormatDecimal(*amount) : t.amount;
  std::string key;
  key.reserve(160);
  for (const std::string* part : {&t.account, &t.entryBankReference, &t.bankReference,
                                  &t.endToEndId, &t.transactionId, &t.instructionId, &t.uetr}) {
    key += *part;
    key += '|';
  }
  key += t.credit ? "CRDT|" : "DBIT|";
  key += t.reversal ? "R|" : "|";
  key += amountText + '|' + t.currency + '|' + t.reference + '|' + DayOf(t.bookingDate);
  return key;
}

Matcher::Matcher(OpenInvoices invoices) : byReference_(std::move(invoices.byReference)) {
  invoices_.reserve(invoices.list.size());
  for (Invoice& invoice : invoices.list) {
    invoices_.push_back({std::move(invoice), 0, {}});
  }
}

namespace {

OpenInvoices Indexed(std::vector<Invoice> list) {
  OpenInvoices invoices;
  invoices.byReference.reserve(list.size());
  for (Invoice& invoice : list) {
    invoices.Add(std::move(invoice));
  }
  return invoices;
}

}  // namespace

Matcher::Matcher(std::vector<Invoice> invoices) : Matcher(Indexed(std::move(invoices))) {}

void Matcher::StartFile() {
  entryLine_ = kNoEntry;
}

bool Matcher::Count(std::string& key) {
  const auto [met, fresh] = counted_.try_emplace(key, Met{entry_, 1});
  if (fresh) {
    return true;
  }
  if (met->second.entry != entry_) {
    met->second = {entry_, 1};
    return false;
  }
  key += '#' + std::to_string(++met->second.times);
  return counted_.try_emplace(key, Met{entry_, 1}).second;
}

void Matcher::Add(const Transaction& t) {
  if (t.entryLine != entryLine_) {
    entryLine_ = t.entryLine;
    ++entry_;
  }
  std::string key = PaymentKey(t);
  const std::optional<Units> amount = ParseDecimal(t.amount);
  if (!amount) {
    return Refuse(t, Unmatched::NoAmount, t.amount, key);
  }
  if (t.status != "BOOK") {
    return Refuse(t, Unmatched::NotBooked, t.status, key);
  }
  if (!Count(key)) {
    return Refuse(t, Unmatched::Duplicate, {}, key);
  }
  if (!t.credit) {
    if (TakesBack(t)) {
      return Undo(t, *amount, key);
    }
    return Refuse(t, Unmatched::Debit, {}, key);
  }
  if (TakesBack(t)) {
    return Refuse(t, Unmatched::ReversedDebit, t.returnReason, key);
  }
  Settle(t, *amount, key);
}

void Matcher::Settle(const Transaction& t, Units amount, const std::string& key) {
  if (t.reference.empty()) {
    return Refuse(t, Unmatched::NoReference, {}, key);
  }
  if (const std::optional<std::string> problem = ReferenceProblem(t.reference)) {
    return Refuse(t,
                  OnlyCheckDigitFails(t.reference) ? Unmatched::WrongCheckDigit
                                                   : Unmatched::MalformedReference,
                  *problem, key);
  }
  const auto found = byReference_.find(t.reference);
  if (found == byReference_.end()) {
    return Refuse(t, Unmatched::UnknownReference, {}, key);
  }
  InvoiceState& state = invoices_[found->second];
  if (t.currency != state.invoice.currency) {
    return Refuse(t, Unmatched::CurrencyMismatch,
                  t.currency + " paid, " + state.invoice.currency + " invoiced (invoice " +
                      state.invoice.invoice + ")",
                  key);
  }
  state.paid += amount;
  state.settlements.push_back(
      {amount, t.bookingDate, FirstOf({&t.bankReference, &t.entryBankReference, &t.endToEndId})});
}

// Takes back the latest credit of the same amount to the same reference.
void Matcher::Undo(const Transaction& t, Units amount, const std::string& key) {
  const auto found = byReference_.find(t.reference);
  if (found != byReference_.end()) {
    InvoiceState& state = invoices_[found->second];
    auto& list = state.settlements;
    const auto credit = std::find_if(list.rbegin(), list.rend(),
                                     [&](const Settlement& s) { return s.amount == amount; });
    if (credit != list.rend() && t.currency == state.invoice.currency) {
      const std::string detail =
          "invoice " + state.invoice.invoice + ", credit of " + credit->bookingDate;
      state.paid -= amount;
      list.erase(std::next(credit).base());
      return Refuse(t, Unmatched::UndoesCredit, detail, key);
    }
  }
  Refuse(t, Unmatched::NothingToUndo, t.returnReason, key);
}

void Matcher::Refuse(const Transaction& t, Unmatched reason, std::string detail,
                     const std::string& key) {
  unmatched_.push_back({t, reason, std::move(detail), key});
}

std::map<std::string, SummaryLine> Matcher::Summary() const {
  std::map<std::string, SummaryLine> lines;
  for (const InvoiceState& state : invoices_) {
    SummaryLine& line =
        lines[std::string(StatusName(state.Status())) + " " + state.invoice.currency];
    line.invoices = true;
    ++line.count;
    line.amount += state.invoice.amount;
    line.paid += state.paid;
  }
  for (const UnmatchedPayment& u : unmatched_) {
    SummaryLine& line = lines[std::string(ReasonName(u.reason)) + " " + u.transaction.currency];
    ++line.count;
    line.amount += ParseDecimal(u.transaction.amount).value_or(0);
  }
  return lines;
}

}  // namespace bvr::pay
