// A font's PostScript name from its own name table, the name a PDF's font resources give.
#pragma once

#include <string>
#include <string_view>

namespace bvr::pdf {

// Name 6 of the table (Windows Unicode or Macintosh Roman record), printable ASCII without
// PDF delimiters; empty when the table has none.
std::string PostScriptName(std::string_view nameTable);

// text as a PDF name may hold it: printable ASCII without spaces or delimiters.
std::string NameSafe(std::string_view text);

}  // namespace bvr::pdf
