#include "batch/Csv.h"

#include "strings/BvrError.h"

namespace bvr::csv {

namespace {

[[noreturn]] void Fail(std::size_t line, const std::string& what) {
  throw EBvrError(Fmt("CSV line %d: %s").d(static_cast<long long>(line)).s(what));
}

bool IsBlank(const Record& r) {
  return r.fields.size() == 1 && r.fields[0].empty();
}

}  // namespace

std::vector<Record> Parse(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }
  std::vector<Record> records;
  Record current{1, {std::string()}};
  std::size_t line = 1;
  std::size_t i = 0;
  const std::size_t n = text.size();
  bool fieldStarted = false;  // something was read into the current record
  const auto endRecord = [&] {
    records.push_back(std::move(current));
    current = Record{line, {std::string()}};
    fieldStarted = false;
  };
  while (i < n) {
    const char c = text[i];
    if (c == '"' && current.fields.back().empty() && !fieldStarted) {
      // Quoted field: runs to the next lone quote.
      const std::size_t openLine = line;
      std::string& field = current.fields.back();
      ++i;
      for (;;) {
        if (i >= n) {
          Fail(openLine, "quoted field never closed");
        }
        const char q = text[i];
        if (q == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (q == '\n') {
          ++line;
        }
        field += q;
        ++i;
      }
      fieldStarted = true;
      if (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
        Fail(line, "text after a closing quote");
      }
      continue;
    }
    if (c == ',') {
      current.fields.emplace_back();
      fieldStarted = false;
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
      ++line;
      endRecord();
      continue;
    }
    current.fields.back() += c;
    fieldStarted = true;
    ++i;
  }
  if (!IsBlank(current)) {
    records.push_back(std::move(current));
  }
  while (!records.empty() && IsBlank(records.back())) {
    records.pop_back();
  }
  return records;
}

}  // namespace bvr::csv
