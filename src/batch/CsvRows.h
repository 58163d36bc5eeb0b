// What the CSV readers of the batches share: the messages that name a row or a header column,
// and the cleaning of header names and cells.
#pragma once

#include <cstddef>
#include <string>

#include "batch/Csv.h"

namespace bvr::csvrows {

// "row 3 (line 5), column amount: ...": the row counts data rows, the line is where the row
// starts in the file (a quoted field may span lines).
[[noreturn]] void RowError(std::size_t row, std::size_t line, const std::string& column,
                           const std::string& what);

// "CSV header, column 2: ...", columns counted from 1.
[[noreturn]] void HeaderError(std::size_t column, const std::string& what);

// Without leading and trailing blanks and tabs.
std::string Trim(const std::string& s);

// ASCII letters in lower case.
std::string Lower(std::string s);

// The field at index, empty past the record's end.
std::string Field(const csv::Record& record, std::size_t index);

// A field too many or too few shifts every later column: "1,000.00" in an unquoted amount
// would print 1.00 and put "000.00" in the next column. Only a missing last field (some
// writers drop a trailing empty one) is read as empty.
void CheckFieldCount(const csv::Record& record, std::size_t width);

// An echoed value as one short line: control characters escaped, cut after 40 bytes.
std::string EchoOf(const std::string& text);

}  // namespace bvr::csvrows
