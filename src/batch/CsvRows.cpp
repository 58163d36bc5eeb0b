#include "batch/CsvRows.h"

#include <algorithm>
#include <cstdio>

#include "strings/BvrError.h"
#include "strings/MessageText.h"

namespace bvr::csvrows {

void RowError(std::size_t row, std::size_t line, const std::string& column,
              const std::string& what) {
  throw EBvrError(Fmt("row %d (line %d), column %s: %s")
                      .d(static_cast<long long>(row))
                      .d(static_cast<long long>(line))
                      .s(column)
                      .s(what));
}

void HeaderError(std::size_t column, const std::string& what) {
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

std::string Field(const csv::Record& record, std::size_t index) {
  return index < record.fields.size() ? record.fields[index] : std::string();
}

void CheckFieldCount(const csv::Record& record, std::size_t width) {
  const std::size_t n = record.fields.size();
  if (n > width) {
    RowError(record.row, record.line, std::to_string(width + 1),
             Fmt("%d fields where the header has %d (an unquoted comma?)")
                 .d(static_cast<long long>(n))
                 .d(static_cast<long long>(width)));
  }
  if (n + 1 < width) {
    RowError(record.row, record.line, std::to_string(n + 1),
             Fmt("%d fields where the header has %d")
                 .d(static_cast<long long>(n))
                 .d(static_cast<long long>(width)));
  }
}

std::string EchoOf(const std::string& text) {
  return EscapedForMessage(text, 40);
}

}  // namespace bvr::csvrows
