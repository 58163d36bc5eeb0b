// A streaming CSV reader for files as spreadsheets save them: fields separated by ",", ";" or
// a tab (whichever the header line uses), quoted fields with embedded separators, doubled
// quotes and line breaks, CR LF or LF line ends, UTF-8 (with or without a byte-order mark) or
// Windows-1252. Linear in the input, no recursion, memory bounded by the limits below whatever
// the input's size.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bvr::csv {

enum class Encoding { Utf8, Windows1252 };

// The longest field and the most fields in a record: a payer line longer than a slip's width or
// a record of thousands of fields is a wrong file, not a payment.
inline constexpr std::size_t kMaxFieldBytes = 1000;
inline constexpr std::size_t kMaxFields = 100;

// Where a reader takes its bytes: fills buffer with up to size bytes and returns how many; 0 at
// the end. Fails by throwing.
using Source = std::function<std::size_t(char* buffer, std::size_t size)>;

// The bytes of text, which must outlive the source.
Source FromText(std::string_view text);

// Whether every byte the source gives is well-formed UTF-8 (no overlong forms, surrogates or
// code points beyond U+10FFFF). Reads the source to its end.
bool IsUtf8(const Source& source);

struct Record {
  std::size_t row = 0;   // 0 for the first record (the header), then the data rows from 1
  std::size_t line = 0;  // line of the input where the record starts, from 1
  std::vector<std::string> fields;  // in UTF-8
};

class Reader {
 public:
  Reader(Source source, Encoding encoding);

  // The next record, false at the end. Empty lines are skipped and count as no row. Fails
  // (EBvrError) with "CSV header, column C: ..." or "row N (line L), column C: ..." for a quote
  // never closed, a quote inside an unquoted field, text after a closing quote, a NUL byte, a
  // byte that is not UTF-8 (Encoding::Utf8) or a field or record over the limits.
  bool Next(Record& record);

  // The separator, known once the first record was read (',' for an empty input).
  char Separator() const { return separator_; }

  // How columns are named in messages from now on (the header's names); others by number.
  void SetColumnLabels(std::vector<std::string> labels) { labels_ = std::move(labels); }
  std::string ColumnLabel(std::size_t index) const;

 private:
  int Peek();
  int Get();
  void DetectSeparator();
  [[noreturn]] void Fail(std::size_t column, const std::string& what) const;
  void EndField(Record& record, std::string& raw);

  Source source_;
  Encoding encoding_;
  std::string buffer_;
  std::size_t pos_ = 0;
  bool ended_ = false;
  bool started_ = false;
  char separator_ = ',';
  std::size_t line_ = 1;
  std::size_t row_ = 0;
  std::size_t recordRow_ = 0;
  std::size_t recordLine_ = 1;
  std::vector<std::string> labels_;
};

// All records of text. Mostly for tests and the fuzzer.
std::vector<Record> Parse(std::string_view text, Encoding encoding = Encoding::Utf8);

}  // namespace bvr::csv
