// The bills of a QR-bill batch: a template bill gives what all bills share (account,
// creditor, currency, language, a default message) and each CSV row what varies, its header
// naming the bill's paths: amount, reference, message, billing, debtor.name, debtor.street,
// debtor.number, debtor.postcode, debtor.town, debtor.country, and invoice (the QR reference
// made from a slip layout's reference scheme and the invoice number). An empty cell keeps
// the template's value.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch/Csv.h"
#include "numbers/VYKBVRFunctions.h"
#include "qrbill/Bill.h"
#include "qrbill/Problem.h"

namespace bvr {

struct QrBillRow {
  std::size_t row = 0;  // data row, from 1
  qr::Bill bill;
  qr::Problems problems;  // the row's own (a reference that cannot be made) and the bill's rules
  std::string attach;     // the cell of the column named by attachColumn, trimmed
};

// The bills one row at a time, so that a batch of any length reads in the same memory.
// Fails (EBvrError) for a header with an unknown or repeated column ("CSV header, column 3:
// …"), for an invoice column without a reference scheme or beside a reference column, and
// for a row the CSV reader refuses. A row whose bill breaks a rule is returned with its
// problems: the caller collects them all before anything is written.
class QrBillRowReader {
 public:
  // scheme: the slip layout's reference scheme, needed by an invoice column.
  // attachColumn: a column of the caller's (an invoice PDF's path), which must be present.
  QrBillRowReader(csv::Source source, csv::Encoding encoding, qr::Bill templateBill,
                  std::optional<ReferenceLayout> scheme, std::string attachColumn = {});
  ~QrBillRowReader();
  QrBillRowReader(const QrBillRowReader&) = delete;
  QrBillRowReader& operator=(const QrBillRowReader&) = delete;

  bool Next(QrBillRow& row);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The report of a batch's problems, "row 4, debtor.town : …" a line: at most `shown` lines,
// then how many more there are.
class BatchProblems {
 public:
  explicit BatchProblems(std::size_t shown = 20) : shown_(shown) {}
  void Add(std::size_t row, const qr::Problems& problems);
  bool Empty() const { return total_ == 0; }
  // The lines, one a line, without a line break after the last.
  std::string Text() const;

 private:
  std::size_t shown_;
  std::size_t total_ = 0;
  std::size_t rows_ = 0;
  std::vector<std::string> lines_;
};

}  // namespace bvr
