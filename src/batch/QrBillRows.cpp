#include "batch/QrBillRows.h"

#include <algorithm>
#include <iterator>

#include "batch/CsvRows.h"
#include "qrbill/BillJson.h"
#include "qrbill/References.h"
#include "qrbill/Validation.h"
#include "strings/BvrError.h"

namespace bvr {

using csvrows::Field;
using csvrows::HeaderError;
using csvrows::Lower;
using csvrows::Trim;

namespace {

enum class Column {
  Amount,
  Reference,
  Message,
  Billing,
  DebtorName,
  DebtorStreet,
  DebtorNumber,
  DebtorPostcode,
  DebtorTown,
  DebtorCountry,
  Invoice,
  Attach,
};

struct ColumnName {
  const char* name;
  Column column;
};

constexpr ColumnName kColumns[] = {
    {"amount", Column::Amount},
    {"reference", Column::Reference},
    {"message", Column::Message},
    {"billing", Column::Billing},
    {"debtor.name", Column::DebtorName},
    {"debtor.street", Column::DebtorStreet},
    {"debtor.number", Column::DebtorNumber},
    {"debtor.postcode", Column::DebtorPostcode},
    {"debtor.town", Column::DebtorTown},
    {"debtor.country", Column::DebtorCountry},
    {"invoice", Column::Invoice},
};

std::string KnownColumns() {
  std::string names;
  for (const ColumnName& c : kColumns) {
    names += names.empty() ? "" : ", ";
    names += c.name;
  }
  return names;
}

struct HeaderColumn {
  std::size_t index;
  Column column;
  const char* name;
};

// A misspelt column would drop its values from every bill without a word: it is refused.
std::vector<HeaderColumn> ReadHeader(const csv::Record& header, bool haveScheme,
                                     const std::string& attachColumn) {
  std::vector<HeaderColumn> columns;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const std::string name = Lower(Trim(header.fields[i]));
    if (!attachColumn.empty() && name == Lower(attachColumn)) {
      for (const HeaderColumn& c : columns) {
        if (c.column == Column::Attach) {
          HeaderError(
              i, Fmt("\"%s\" repeats column %d").s(name).d(static_cast<long long>(c.index + 1)));
        }
      }
      columns.push_back({i, Column::Attach, attachColumn.c_str()});
      continue;
    }
    const auto known = std::find_if(std::begin(kColumns), std::end(kColumns),
                                    [&](const ColumnName& c) { return name == c.name; });
    if (known == std::end(kColumns)) {
      HeaderError(i, Fmt("unknown column \"%s\"; the columns are %s")
                         .s(csvrows::EchoOf(name))
                         .s(KnownColumns()));
    }
    const auto same = std::find_if(columns.begin(), columns.end(), [&](const HeaderColumn& c) {
      return c.column == known->column;
    });
    if (same != columns.end()) {
      HeaderError(
          i, Fmt("\"%s\" repeats column %d").s(name).d(static_cast<long long>(same->index + 1)));
    }
    columns.push_back({i, known->column, known->name});
  }
  const auto has = [&](Column wanted) {
    return std::any_of(columns.begin(), columns.end(),
                       [&](const HeaderColumn& c) { return c.column == wanted; });
  };
  if (!attachColumn.empty() && !has(Column::Attach)) {
    throw EBvrError(Fmt("CSV header: no column \"%s\" (--attach-column)").s(attachColumn).str());
  }
  if (has(Column::Invoice) && has(Column::Reference)) {
    throw EBvrError(std::string(
        "CSV header: give either \"invoice\" or \"reference\", not both (the invoice number "
        "makes the reference)"));
  }
  if (has(Column::Invoice) && !haveScheme) {
    throw EBvrError(std::string(
        "CSV header: the column \"invoice\" needs --layout FILE.BVR, whose reference scheme "
        "makes the QR reference"));
  }
  return columns;
}

qr::Address& Debtor(qr::Bill& bill) {
  if (!bill.debtor) {
    bill.debtor = qr::Address{};
  }
  return *bill.debtor;
}

}  // namespace

struct QrBillRowReader::State {
  State(csv::Source source, csv::Encoding encoding, qr::Bill bill,
        std::optional<ReferenceLayout> layout)
      : reader(std::move(source), encoding), templateBill(std::move(bill)), scheme(layout) {}

  // One cell into the bill; a reference that cannot be made is the row's problem.
  void Apply(const HeaderColumn& column, const std::string& value, QrBillRow& row) const {
    qr::Bill& bill = row.bill;
    switch (column.column) {
      case Column::Amount:
        bill.amount = value;
        break;
      case Column::Reference:
        bill.reference = value;
        bill.referenceType = qr::ReferenceTypeOf(value);
        break;
      case Column::Message:
        bill.message = value;
        break;
      case Column::Billing:
        bill.billing = value;
        break;
      case Column::DebtorName:
        Debtor(bill).name = value;
        break;
      case Column::DebtorStreet:
        Debtor(bill).street = value;
        break;
      case Column::DebtorNumber:
        Debtor(bill).number = value;
        break;
      case Column::DebtorPostcode:
        Debtor(bill).postcode = value;
        break;
      case Column::DebtorTown:
        Debtor(bill).town = value;
        break;
      case Column::DebtorCountry:
        Debtor(bill).country = value;
        break;
      case Column::Attach:
        row.attach = value;
        break;
      case Column::Invoice:
        try {
          bill.reference = qr::QrReferenceFromLayout(*scheme, value);
          bill.referenceType = qr::ReferenceType::QRR;
        } catch (const EBvrError& e) {
          row.problems.push_back({column.name, e.what()});
        }
        break;
    }
  }

  csv::Reader reader;
  csv::Record record;
  qr::Bill templateBill;
  std::optional<ReferenceLayout> scheme;
  std::vector<HeaderColumn> columns;
  std::size_t width = 0;
  std::string attachColumn;  // its name lives as long as the columns point to it
};

QrBillRowReader::QrBillRowReader(csv::Source source, csv::Encoding encoding, qr::Bill templateBill,
                                 std::optional<ReferenceLayout> scheme, std::string attachColumn)
    : state_(
          std::make_unique<State>(std::move(source), encoding, std::move(templateBill), scheme)) {
  state_->attachColumn = std::move(attachColumn);
  if (!state_->reader.Next(state_->record)) {
    throw EBvrError(std::string("CSV header: the file is empty"));
  }
  state_->columns = ReadHeader(state_->record, state_->scheme.has_value(), state_->attachColumn);
  state_->width = state_->record.fields.size();
  std::vector<std::string> labels(state_->width);
  for (const HeaderColumn& c : state_->columns) {
    labels[c.index] = c.name;
  }
  state_->reader.SetColumnLabels(std::move(labels));
}

QrBillRowReader::~QrBillRowReader() = default;

bool QrBillRowReader::Next(QrBillRow& row) {
  csv::Record& record = state_->record;
  if (!state_->reader.Next(record)) {
    return false;
  }
  csvrows::CheckFieldCount(record, state_->width);
  row.row = record.row;
  row.bill = state_->templateBill;
  row.problems.clear();
  row.attach.clear();
  for (const HeaderColumn& column : state_->columns) {
    const std::string value = Trim(Field(record, column.index));
    if (!value.empty()) {
      state_->Apply(column, value, row);
    }
  }
  const qr::Problems rules = qr::ValidateBill(row.bill);
  row.problems.insert(row.problems.end(), rules.begin(), rules.end());
  return true;
}

void BatchProblems::Add(std::size_t row, const qr::Problems& problems) {
  if (problems.empty()) {
    return;
  }
  ++rows_;
  total_ += problems.size();
  for (const qr::Problem& p : problems) {
    if (lines_.size() == shown_) {
      return;
    }
    lines_.push_back("row " + std::to_string(row) + ", " + p.Text());
  }
}

std::string BatchProblems::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += text.empty() ? "" : "\n";
    text += line;
  }
  if (total_ > lines_.size()) {
    text += Fmt("\n… and %d more problems; %d rows have problems")
                .d(static_cast<long long>(total_ - lines_.size()))
                .d(static_cast<long long>(rows_));
  }
  return text;
}

}  // namespace bvr
