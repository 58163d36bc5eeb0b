#include "pdfwrite/FontTables.h"

#include <cstddef>

namespace bvr::pdf {

namespace {

unsigned U16(std::string_view data, std::size_t at) {
  if (at + 2 > data.size()) {
    return 0;
  }
  return (static_cast<unsigned char>(data[at]) << 8) | static_cast<unsigned char>(data[at + 1]);
}

int S16(std::string_view data, std::size_t at) {
  return static_cast<std::int16_t>(U16(data, at));
}

bool Allowed(unsigned c) {
  return c > 32 && c < 127 &&
         std::string_view("()<>[]{}/%#").find(static_cast<char>(c)) == std::string_view::npos;
}

}  // namespace

TableMetrics ReadTableMetrics(std::string_view head, std::string_view post) {
  TableMetrics metrics;
  for (std::size_t i = 0; i < 4; ++i) {
    metrics.box[i] = S16(head, 36 + 2 * i);  // xMin, yMin, xMax, yMax
  }
  metrics.italicAngle = S16(post, 4) + U16(post, 6) / 65536.0;  // 16.16 fixed
  metrics.fixedPitch = U16(post, 12) != 0 || U16(post, 14) != 0;
  return metrics;
}

std::string NameSafe(std::string_view text) {
  std::string safe;
  for (const char c : text) {
    if (Allowed(static_cast<unsigned char>(c))) {
      safe += c;
    }
  }
  return safe;
}

std::string PostScriptName(std::string_view nameTable) {
  constexpr unsigned kPostScriptName = 6;
  const unsigned count = U16(nameTable, 2);
  const std::size_t strings = U16(nameTable, 4);
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t record = 6 + std::size_t{i} * 12;
    if (record + 12 > nameTable.size() || U16(nameTable, record + 6) != kPostScriptName) {
      continue;
    }
    const unsigned platform = U16(nameTable, record);
    const std::size_t length = U16(nameTable, record + 8);
    const std::size_t offset = strings + U16(nameTable, record + 10);
    if (offset + length > nameTable.size()) {
      continue;
    }
    const bool wide = platform == 0 || platform == 3;  // UTF-16BE; Macintosh is one byte
    if (!wide && platform != 1) {
      continue;
    }
    std::string name;
    for (std::size_t at = offset; at < offset + length; at += wide ? 2 : 1) {
      const unsigned c = wide ? U16(nameTable, at) : static_cast<unsigned char>(nameTable[at]);
      if (Allowed(c)) {
        name += static_cast<char>(c);
      }
    }
    if (!name.empty()) {
      return name;
    }
  }
  return {};
}

}  // namespace bvr::pdf
