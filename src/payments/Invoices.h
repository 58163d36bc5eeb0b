// The open invoices a matcher settles, read from CSV: a header naming at least "invoice",
// "amount" and "currency", and "reference" unless the references are made from the invoice
// numbers (a slip layout's scheme, or a creditor reference). Other columns are let through, so
// that an accounting export can be given as it is.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "batch/Csv.h"
#include "payments/Decimal.h"

namespace bvr::pay {

struct Invoice {
  std::size_t row = 0;  // data row, from 1
  std::size_t line = 0;
  std::string invoice;
  Units amount = 0;
  std::string currency;
  std::string reference;  // compact: no blanks, upper case
};

// The open invoices, and the place of each reference among them.
struct OpenInvoices {
  std::vector<Invoice> list;
  std::unordered_map<std::string, std::size_t> byReference;

  // Adds invoice, or returns the row of the invoice that has its reference already.
  std::optional<std::size_t> Add(Invoice invoice);
};

// The reference of an invoice number; fails (EBvrError) for a number it cannot use.
using ReferenceMaker = std::function<std::string(const std::string& invoice)>;

// Every invoice of the source. Fails (EBvrError) at the first bad row with the CSV's
// "row N (line L), column C: ..." (an amount that is no decimal, a currency that is not three
// letters, a reference with a wrong check digit, one that repeats an earlier row's) or
// "CSV header: ..." for a missing column. makeReference: given, the references are made from
// the invoice numbers and a "reference" column is refused.
OpenInvoices ReadInvoices(const csv::Source& source, csv::Encoding encoding,
                          const ReferenceMaker& makeReference);

}  // namespace bvr::pay
