#include "batch/Payments.h"

#include <algorithm>
#include <map>
#include <optional>

#include "batch/Csv.h"
#include "batch/CsvRows.h"
#include "model/BvrProperties.h"
#include "numbers/Conversions.h"
#include "numbers/VYKBVRFunctions.h"
#include "strings/BvrError.h"

namespace bvr {

using csvrows::CheckFieldCount;
using csvrows::EchoOf;
using csvrows::Field;
using csvrows::HeaderError;
using csvrows::Lower;
using csvrows::RowError;
using csvrows::Trim;

namespace {

// The payer column number of "payerN" (N from 1), or nothing.
std::optional<std::size_t> PayerIndex(const std::string& name) {
  if (name.rfind("payer", 0) != 0 || name.size() == 5 || name.size() > 9) {
    return std::nullopt;
  }
  std::size_t n = 0;
  for (std::size_t i = 5; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') {
      return std::nullopt;
    }
    n = n * 10 + static_cast<std::size_t>(name[i] - '0');
  }
  return n >= 1 ? std::optional<std::size_t>(n) : std::nullopt;
}

struct Columns {
  std::size_t invoice = 0;
  std::size_t amount = 0;
  std::vector<std::size_t> payers;  // field index of payer1, payer2, ...
};

Columns ReadHeader(const csv::Record& header) {
  std::optional<std::size_t> invoice;
  std::optional<std::size_t> amount;
  std::map<std::size_t, std::size_t> payers;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const std::string name = Lower(Trim(header.fields[i]));
    // A second column of the same name would silently win over the first.
    const auto take = [&](std::optional<std::size_t>& slot) {
      if (slot) {
        HeaderError(i,
                    Fmt("\"%s\" repeats column %d").s(name).d(static_cast<long long>(*slot + 1)));
      }
      slot = i;
    };
    if (name == "invoice") {
      take(invoice);
    } else if (name == "amount") {
      take(amount);
    } else if (auto p = PayerIndex(name)) {
      if (payers.count(*p) != 0) {
        HeaderError(i, Fmt("\"%s\" repeats column %d (payer%d)")
                           .s(name)
                           .d(static_cast<long long>(payers[*p] + 1))
                           .d(static_cast<long long>(*p)));
      }
      payers[*p] = i;
    }
  }
  if (!invoice || !amount) {
    throw EBvrError(std::string("CSV header: the columns \"invoice\" and \"amount\" are required"));
  }
  Columns columns{*invoice, *amount, {}};
  for (const auto& [number, index] : payers) {
    columns.payers.push_back(index);
  }
  return columns;
}

// A quoted payer field may hold several lines: each becomes a line of its own, since the slip
// draws a line break inside a line as nothing and runs the two lines together.
void AppendLines(const std::string& field, std::vector<std::string>& lines) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\r' || field[i] == '\n') {
      lines.push_back(field.substr(start, i - start));
      if (field[i] == '\r' && i + 1 < field.size() && field[i + 1] == '\n') {
        ++i;
      }
      start = i + 1;
    }
  }
  lines.push_back(field.substr(start));
}

}  // namespace

struct PaymentReader::State {
  State(csv::Source source, csv::Encoding encoding) : reader(std::move(source), encoding) {}
  csv::Reader reader;
  csv::Record record;
  Columns columns;
  std::size_t width = 0;
};

PaymentReader::PaymentReader(csv::Source source, csv::Encoding encoding)
    : state_(std::make_unique<State>(std::move(source), encoding)) {
  if (!state_->reader.Next(state_->record)) {
    throw EBvrError(std::string("CSV header: the file is empty"));
  }
  state_->columns = ReadHeader(state_->record);
  state_->width = state_->record.fields.size();
  std::vector<std::string> labels(state_->width);
  labels[state_->columns.invoice] = "invoice";
  labels[state_->columns.amount] = "amount";
  for (std::size_t i = 0; i < state_->width; ++i) {
    if (const auto p = PayerIndex(Lower(Trim(state_->record.fields[i])))) {
      labels[i] = "payer" + std::to_string(*p);
    }
  }
  state_->reader.SetColumnLabels(std::move(labels));
}

PaymentReader::~PaymentReader() = default;

char PaymentReader::Separator() const {
  return state_->reader.Separator();
}

bool PaymentReader::Next(Payment& p) {
  csv::Record& record = state_->record;
  if (!state_->reader.Next(record)) {
    return false;
  }
  const Columns& columns = state_->columns;
  const std::size_t r = record.row;
  CheckFieldCount(record, state_->width);
  p = Payment{};
  p.row = r;
  p.line = record.line;
  p.invoice = Trim(Field(record, columns.invoice));
  const std::string amountText = Trim(Field(record, columns.amount));
  try {
    p.amount = StrToFloat(amountText, '.');
  } catch (const EBvrError& e) {
    RowError(r, record.line, "amount",
             Fmt("'%s' is not a valid floating point value").s(EchoOf(amountText)));
  }
  for (std::size_t index : columns.payers) {
    AppendLines(Field(record, index), p.payer);
  }
  while (!p.payer.empty() && p.payer.back().empty()) {
    p.payer.pop_back();
  }
  return true;
}

std::vector<Payment> ReadPayments(std::string_view csvText, csv::Encoding encoding) {
  PaymentReader reader(csv::FromText(csvText), encoding);
  std::vector<Payment> payments;
  for (Payment p; reader.Next(p);) {
    payments.push_back(std::move(p));
  }
  return payments;
}

std::vector<Payment> ReadPayments(std::string_view csvText) {
  return ReadPayments(csvText, csv::IsUtf8(csv::FromText(csvText)) ? csv::Encoding::Utf8
                                                                   : csv::Encoding::Windows1252);
}

void CheckBatchLayout(const TBvrProperties& layout) {
  const std::int32_t room = layout.Reference().number().InternalNumberLength;
  if (room < 1) {
    throw EBvrError(Fmt("the reference keeps no digit for the invoice number "
                        "(Reference.number.InternalNumberLength = %d)")
                        .d(room));
  }
  // Faults of the layout, not of a row: the participant number and the account.
  BuildReferenceNumber(layout.Reference().number(), "0");
  AccountToCodingForm(layout.Account().number());
}

void CheckPayment(const Payment& p, const TBvrProperties& layout) {
  const std::string account = layout.Account().number();
  const bool noAmount = !CodingLineCarriesAmount(layout.Amount().Processing().Imprime, p.amount);
  if (p.invoice.empty() || !std::all_of(p.invoice.begin(), p.invoice.end(),
                                        [](char c) { return c >= '0' && c <= '9'; })) {
    RowError(p.row, p.line, "invoice",
             Fmt("'%s' is not a valid integer value").s(EchoOf(p.invoice)));
  }
  const std::int32_t room = layout.Reference().number().InternalNumberLength;
  if (static_cast<std::int64_t>(p.invoice.size()) > room) {
    // The reference would silently lose the invoice's last digits.
    RowError(p.row, p.line, "invoice",
             Fmt("'%s' has more than the %d digits the layout reserves for it")
                 .s(EchoOf(p.invoice))
                 .d(room));
  }
  const std::string reference = BuildReferenceNumber(layout.Reference().number(), p.invoice);
  try {
    if (!noAmount) {
      SplitAmount(p.amount);
    }
  } catch (const EBvrError& e) {
    RowError(p.row, p.line, "amount", e.what());
  }
  BuildCodingLine(noAmount, reference, account, p.amount);
}

void CheckPayments(const std::vector<Payment>& payments, const TBvrProperties& layout) {
  CheckBatchLayout(layout);
  for (const Payment& p : payments) {
    CheckPayment(p, layout);
  }
}

}  // namespace bvr
