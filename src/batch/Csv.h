// A small RFC 4180 reader: comma-separated fields, quoted fields with embedded commas, doubled
// quotes and line breaks, CR LF or LF line ends, UTF-8 with an optional byte-order mark.
// Linear in the input; no recursion.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace bvr::csv {

struct Record {
  std::size_t line = 0;  // line of the input where the record starts, from 1
  std::vector<std::string> fields;
};

// All records, empty lines at the end of the input dropped. Fails with EBvrError for a quote
// that is never closed or text after a closing quote ("CSV line %d: ...").
std::vector<Record> Parse(std::string_view text);

}  // namespace bvr::csv
