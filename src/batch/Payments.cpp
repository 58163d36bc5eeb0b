#include "batch/Payments.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "batch/Csv.h"
#include "model/BvrProperties.h"
#include "numbers/Conversions.h"
#include "numbers/VYKBVRFunctions.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

// "row 3 (line 5), column amount: ...": the row counts data rows, the line is where the row
// starts in the file (a quoted field may span lines).
[[noreturn]] void RowError(std::size_t row, std::size_t line, const std::string& column,
                           const std::string& what) {
  throw EBvrError(Fmt("row %d (line %d), column %s: %s")
                      .d(static_cast<long long>(row))
                      .d(static_cast<long long>(line))
                      .s(column)
                      .s(what));
}

[[noreturn]] void HeaderError(std::size_t column, const std::string& what) {
  throw EBvrError(Fmt("CSV header, column %d: %s").d(static_cast<long long>(column + 1)).s(what));
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) {
    return {};
  }
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
  return s;
}

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

std::string Field(const csv::Record& r, std::size_t index) {
  return index < r.fields.size() ? r.fields[index] : std::string();
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

// A field too many or too few shifts every later column: "1,000.00" in an unquoted amount
// would print 1.00 and put "000.00" in a payer line. Only a missing last field (some writers
// drop a trailing empty one) is read as empty.
void CheckFieldCount(const csv::Record& record, std::size_t row, std::size_t width) {
  const std::size_t n = record.fields.size();
  if (n > width) {
    RowError(row, record.line, std::to_string(width + 1),
             Fmt("%d fields where the header has %d (an unquoted comma?)")
                 .d(static_cast<long long>(n))
                 .d(static_cast<long long>(width)));
  }
  if (n + 1 < width) {
    RowError(row, record.line, std::to_string(n + 1),
             Fmt("%d fields where the header has %d")
                 .d(static_cast<long long>(n))
                 .d(static_cast<long long>(width)));
  }
}

// An echoed value as one short line: control characters escaped, cut after 40 bytes.
std::string EchoOf(const std::string& text) {
  constexpr std::size_t kMax = 40;
  std::string out;
  for (std::size_t i = 0; i < text.size() && i < kMax; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
      out += escape;
    } else {
      out += text[i];
    }
  }
  if (text.size() > kMax) {
    out += "...";
  }
  return out;
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
  CheckFieldCount(record, r, state_->width);
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
