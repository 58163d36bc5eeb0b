#include "payments/Tables.h"

#include <cstdio>
#include <ostream>

namespace bvr::pay {

namespace {

std::string Joined(const std::vector<std::string>& lines, const char* separator) {
  std::string text;
  for (const std::string& line : lines) {
    text += text.empty() ? "" : separator;
    text += line;
  }
  return text;
}

std::string SettlementsText(const InvoiceState& state) {
  std::string text;
  for (const Settlement& s : state.settlements) {
    text += text.empty() ? "" : "; ";
    text += s.bookingDate + " " + FormatDecimal(s.amount);
    if (!s.bankReference.empty()) {
      text += " " + s.bankReference;
    }
  }
  return text;
}

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    return std::string(text);
  }
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') {
      quoted += '"';
    }
  }
  return quoted + '"';
}

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (c == '\n') {
      json += "\\n";
    } else if (byte < 0x20 || byte == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + '"';
}

TableWriter::TableWriter(std::ostream& out, TableFormat format, std::vector<std::string> columns)
    : out_(out), format_(format), columns_(std::move(columns)) {
  if (format_ == TableFormat::Csv) {
    Row(columns_);
  } else {
    out_ << "[";
  }
}

void TableWriter::Row(const std::vector<std::string>& values) {
  std::string line;
  if (format_ == TableFormat::Csv) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i) {
        line += ',';
      }
      // Appended in place: a result has a row per open invoice.
      if (values[i].find_first_of(",\"\r\n") == std::string::npos) {
        line += values[i];
      } else {
        line += CsvField(values[i]);
      }
    }
    line += "\r\n";
  } else {
    line = first_ ? "\n {" : ",\n {";
    for (std::size_t i = 0; i < values.size() && i < columns_.size(); ++i) {
      line += (i ? ", " : "") + JsonString(columns_[i]) + ": " + JsonString(values[i]);
    }
    line += "}";
  }
  first_ = false;
  out_ << line;
}

void TableWriter::Finish() {
  if (format_ == TableFormat::Json) {
    out_ << "\n]\n";
  }
}

const std::vector<std::string>& TransactionColumns() {
  static const std::vector<std::string> columns = {"file",
                                                   "line",
                                                   "message",
                                                   "message_id",
                                                   "statement_id",
                                                   "copy_duplicate",
                                                   "account",
                                                   "qr_iban",
                                                   "status",
                                                   "credit_debit",
                                                   "reversal",
                                                   "booking_date",
                                                   "value_date",
                                                   "amount",
                                                   "currency",
                                                   "reference",
                                                   "reference_type",
                                                   "debtor",
                                                   "debtor_account",
                                                   "ultimate_debtor",
                                                   "remittance",
                                                   "entry_reference",
                                                   "entry_bank_reference",
                                                   "bank_reference",
                                                   "end_to_end_id",
                                                   "instruction_id",
                                                   "transaction_id",
                                                   "uetr",
                                                   "instructed_amount",
                                                   "instructed_currency",
                                                   "return_reason",
                                                   "entry_amount",
                                                   "key"};
  return columns;
}

std::vector<std::string> TransactionRow(const Transaction& t) {
  return {t.file,
          std::to_string(t.line),
          t.message,
          t.messageId,
          t.statementId,
          t.copyDuplicate,
          t.account,
          t.qrIban,
          t.status,
          t.credit ? "CRDT" : "DBIT",
          t.reversal ? "true" : "false",
          t.bookingDate,
          t.valueDate,
          t.amount,
          t.currency,
          t.reference,
          t.referenceType,
          t.debtorName,
          t.debtorAccount,
          t.ultimateDebtor,
          Joined(t.remittance, "\n"),
          t.entryReference,
          t.entryBankReference,
          t.bankReference,
          t.endToEndId,
          t.instructionId,
          t.transactionId,
          t.uetr,
          t.instructedAmount,
          t.instructedCurrency,
          t.returnReason,
          t.entryAmount,
          PaymentKey(t)};
}

const std::vector<std::string>& MatchColumns() {
  static const std::vector<std::string> columns = {
      "status",         "invoice",        "reference", "currency", "amount", "paid",
      "open",           "surplus",        "payments",  "reason",   "detail", "booking_date",
      "payment_amount", "bank_reference", "debtor",    "file",     "line",   "key"};
  return columns;
}

void WriteMatch(const Matcher& matcher, TableWriter& table) {
  for (const InvoiceState& s : matcher.Invoices()) {
    table.Row({StatusName(s.Status()), s.invoice.invoice, s.invoice.reference, s.invoice.currency,
               FormatDecimal(s.invoice.amount), FormatDecimal(s.paid), FormatDecimal(s.Open()),
               FormatDecimal(s.Surplus()), SettlementsText(s), "", "", "", "", "", "", "", "", ""});
  }
  for (const UnmatchedPayment& u : matcher.UnmatchedPayments()) {
    const Transaction& t = u.transaction;
    table.Row({"unmatched", "", t.reference, t.currency, "", "", "", "", "", ReasonName(u.reason),
               u.detail, t.bookingDate, t.amount,
               t.bankReference.empty() ? t.entryBankReference : t.bankReference, t.debtorName,
               t.file, std::to_string(t.line), u.key});
  }
}

}  // namespace bvr::pay
