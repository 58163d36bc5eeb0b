// The payments and the match result as tables: CSV (RFC 4180, UTF-8, comma) or JSON, written
// row by row to a stream.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "payments/Matcher.h"
#include "payments/Transaction.h"

namespace bvr::pay {

enum class TableFormat { Csv, Json };

// One table written row by row: CSV with a header line, or a JSON array of objects whose
// members are the columns, every value a string.
class TableWriter {
 public:
  TableWriter(std::ostream& out, TableFormat format, std::vector<std::string> columns);
  void Row(const std::vector<std::string>& values);
  // Ends the JSON array; nothing for CSV.
  void Finish();

 private:
  std::ostream& out_;
  TableFormat format_;
  std::vector<std::string> columns_;
  bool first_ = true;
};

// A CSV field, quoted where it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);
// A JSON string with its quotes.
std::string JsonString(std::string_view text);

// The columns of bvrslip payments read, and one transaction's values.
const std::vector<std::string>& TransactionColumns();
std::vector<std::string> TransactionRow(const Transaction& t);

// The columns of the match result: one row per invoice, then one per unmatched payment.
const std::vector<std::string>& MatchColumns();
void WriteMatch(const Matcher& matcher, TableWriter& table);

}  // namespace bvr::pay
