#include "draw/TextMeasure.h"

#include <cstddef>

namespace bvr {

namespace {
constexpr double kUnitsPerPoint = 254.0 / 72.0;

double Em(const CanvasFont& font) {
  return font.Size * kUnitsPerPoint;
}

std::size_t CodePoints(const std::string& text) {
  std::size_t n = 0;
  for (const char c : text) {
    // Continuation bytes (10xxxxxx) belong to the code point before them.
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++n;
    }
  }
  return n;
}
}  // namespace

double FixedPitchMeasure::Width(const CanvasFont& font, const std::string& text) const {
  return 0.6 * Em(font) * static_cast<double>(CodePoints(text));
}

double FixedPitchMeasure::Height(const CanvasFont& font) const {
  return 1.15 * Em(font);
}

double FixedPitchMeasure::Ascent(const CanvasFont& font) const {
  return 0.9 * Em(font);
}

}  // namespace bvr
