#include "batch/Payments.h"

#include <algorithm>
#include <map>
#include <optional>

#include "batch/Csv.h"
#include "model/BvrProperties.h"
#include "numbers/Conversions.h"
#include "numbers/VYKBVRFunctions.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

[[noreturn]] void RowError(std::size_t row, const std::string& column, const std::string& what) {
  throw EBvrError(Fmt("row %d, column %s: %s").d(static_cast<long long>(row)).s(column).s(what));
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
    if (name == "invoice") {
      invoice = i;
    } else if (name == "amount") {
      amount = i;
    } else if (auto p = PayerIndex(name)) {
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

}  // namespace

std::vector<Payment> ReadPayments(std::string_view csvText) {
  const std::vector<csv::Record> records = csv::Parse(csvText);
  if (records.empty()) {
    throw EBvrError(std::string("CSV header: the file is empty"));
  }
  const Columns columns = ReadHeader(records.front());
  std::vector<Payment> payments;
  payments.reserve(records.size() - 1);
  for (std::size_t r = 1; r < records.size(); ++r) {
    const csv::Record& record = records[r];
    Payment p;
    p.row = r;
    p.line = record.line;
    p.invoice = Trim(Field(record, columns.invoice));
    const std::string amountText = Trim(Field(record, columns.amount));
    try {
      p.amount = StrToFloat(amountText, '.');
    } catch (const EBvrError& e) {
      RowError(r, "amount", e.what());
    }
    for (std::size_t index : columns.payers) {
      AppendLines(Field(record, index), p.payer);
    }
    while (!p.payer.empty() && p.payer.back().empty()) {
      p.payer.pop_back();
    }
    payments.push_back(std::move(p));
  }
  return payments;
}

void CheckPayments(const std::vector<Payment>& payments, const TBvrProperties& layout) {
  const std::string account = layout.Account().number();
  for (const Payment& p : payments) {
    const bool noAmount = !CodingLineCarriesAmount(layout.Amount().Processing().Imprime, p.amount);
    if (p.invoice.empty() || !std::all_of(p.invoice.begin(), p.invoice.end(),
                                          [](char c) { return c >= '0' && c <= '9'; })) {
      RowError(p.row, "invoice", Fmt("'%s' is not a valid integer value").s(p.invoice));
    }
    const std::int32_t room = layout.Reference().number().InternalNumberLength;
    if (static_cast<std::int64_t>(p.invoice.size()) > room) {
      // The reference would silently lose the invoice's last digits.
      RowError(
          p.row, "invoice",
          Fmt("'%s' has more than the %d digits the layout reserves for it").s(p.invoice).d(room));
    }
    std::string reference;
    try {
      reference = BuildReferenceNumber(layout.Reference().number(), p.invoice);
    } catch (const EBvrError& e) {
      RowError(p.row, "invoice", e.what());
    }
    try {
      if (!noAmount) {
        SplitAmount(p.amount);
      }
    } catch (const EBvrError& e) {
      RowError(p.row, "amount", e.what());
    }
    try {
      BuildCodingLine(noAmount, reference, account, p.amount);
    } catch (const EBvrError& e) {
      RowError(p.row, "account", e.what());
    }
  }
}

}  // namespace bvr
