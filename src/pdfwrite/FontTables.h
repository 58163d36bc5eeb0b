// What a font's own tables say that a PDF's font descriptor repeats: its PostScript name, its
// box, italic angle and pitch.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace bvr::pdf {

// Name 6 of the table (Windows Unicode or Macintosh Roman record), printable ASCII without
// PDF delimiters; empty when the table has none.
std::string PostScriptName(std::string_view nameTable);

// From the head and post tables, in font units (the box: left, bottom, right, top); zero
// where a table is too short.
struct TableMetrics {
  std::array<double, 4> box{};
  double italicAngle = 0;  // degrees, negative leaning right
  bool fixedPitch = false;
};
TableMetrics ReadTableMetrics(std::string_view head, std::string_view post);

// text as a PDF name may hold it: printable ASCII without spaces or delimiters.
std::string NameSafe(std::string_view text);

}  // namespace bvr::pdf
