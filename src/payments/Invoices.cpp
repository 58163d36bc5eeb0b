#include "payments/Invoices.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "batch/CsvRows.h"
#include "payments/Reference.h"
#include "strings/BvrError.h"

namespace bvr::pay {

using csvrows::EchoOf;
using csvrows::Field;
using csvrows::HeaderError;
using csvrows::Lower;
using csvrows::RowError;
using csvrows::Trim;

namespace {

struct Columns {
  std::optional<std::size_t> invoice;
  std::optional<std::size_t> amount;
  std::optional<std::size_t> currency;
  std::optional<std::size_t> reference;
};

Columns ReadHeader(const csv::Record& header, bool referencesMade) {
  Columns columns;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const std::string name = Lower(Trim(header.fields[i]));
    std::optional<std::size_t>* slot = name == "invoice"     ? &columns.invoice
                                       : name == "amount"    ? &columns.amount
                                       : name == "currency"  ? &columns.currency
                                       : name == "reference" ? &columns.reference
                                                             : nullptr;
    if (!slot) {
      continue;
    }
    if (*slot) {
      HeaderError(i, Fmt("\"%s\" repeats column %d").s(name).d(static_cast<long long>(**slot + 1)));
    }
    *slot = i;
  }
  if (!columns.invoice || !columns.amount || !columns.currency) {
    throw EBvrError(std::string(
        "CSV header: the columns \"invoice\", \"amount\" and \"currency\" are required"));
  }
  if (referencesMade && columns.reference) {
    throw EBvrError(std::string(
        "CSV header: give either the column \"reference\" or --layout/--scor, not both (the "
        "invoice number makes the reference)"));
  }
  if (!referencesMade && !columns.reference) {
    throw EBvrError(std::string(
        "CSV header: the column \"reference\" is required, unless --layout FILE.BVR or --scor "
        "makes the references from the invoice numbers"));
  }
  return columns;
}

bool IsCurrency(const std::string& text) {
  return text.size() == 3 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

}  // namespace

std::optional<std::size_t> OpenInvoices::Add(Invoice invoice) {
  const auto [earlier, fresh] = byReference.emplace(invoice.reference, list.size());
  if (!fresh) {
    return list[earlier->second].row;
  }
  list.push_back(std::move(invoice));
  return std::nullopt;
}

OpenInvoices ReadInvoices(const csv::Source& source, csv::Encoding encoding,
                          const ReferenceMaker& makeReference) {
  csv::Reader reader(source, encoding);
  csv::Record record;
  if (!reader.Next(record)) {
    throw EBvrError(std::string("CSV header: the file is empty"));
  }
  const Columns columns = ReadHeader(record, static_cast<bool>(makeReference));
  reader.SetColumnLabels(record.fields);
  const std::size_t width = record.fields.size();
  OpenInvoices invoices;
  while (reader.Next(record)) {
    csvrows::CheckFieldCount(record, width);
    const auto fail = [&](std::size_t column, const std::string& what) {
      RowError(record.row, record.line, reader.ColumnLabel(column), what);
    };
    Invoice invoice;
    invoice.row = record.row;
    invoice.line = record.line;
    invoice.invoice = Trim(Field(record, *columns.invoice));
    if (invoice.invoice.empty()) {
      fail(*columns.invoice, "the invoice number is missing");
    }
    const std::string amount = Field(record, *columns.amount);
    const std::optional<Units> units = ParseDecimal(amount);
    if (!units) {
      fail(*columns.amount,
           Fmt("'%s' is not an amount (digits, a point, up to five decimals)").s(EchoOf(amount)));
    }
    invoice.amount = *units;
    invoice.currency = CompactReference(Field(record, *columns.currency));
    if (!IsCurrency(invoice.currency)) {
      fail(*columns.currency, Fmt("'%s' is not a currency code such as CHF or EUR")
                                  .s(EchoOf(Field(record, *columns.currency))));
    }
    if (makeReference) {
      try {
        invoice.reference = CompactReference(makeReference(invoice.invoice));
      } catch (const EBvrError& e) {
        fail(*columns.invoice, e.what());
      }
    } else {
      invoice.reference = CompactReference(Field(record, *columns.reference));
      if (const std::optional<std::string> problem = ReferenceProblem(invoice.reference)) {
        fail(*columns.reference, Fmt("%s : %s").s(EchoOf(invoice.reference)).s(*problem));
      }
    }
    const std::string reference = invoice.reference;
    if (const std::optional<std::size_t> earlier = invoices.Add(std::move(invoice))) {
      fail(makeReference ? *columns.invoice : *columns.reference,
           Fmt("the reference %s is row %d's already")
               .s(reference)
               .d(static_cast<long long>(*earlier)));
    }
  }
  return invoices;
}

}  // namespace bvr::pay
