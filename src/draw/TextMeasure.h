// Text metrics for a canvas that does not paint, at 254 units per inch (tenths of a mm).
#pragma once

#include <string>

#include "draw/Canvas.h"

namespace bvr {

class ITextMeasure {
 public:
  virtual ~ITextMeasure() = default;
  virtual double Width(const CanvasFont& font, const std::string& text) const = 0;
  virtual double Height(const CanvasFont& font) const = 0;
  virtual double Ascent(const CanvasFont& font) const = 0;
};

// Metrics without a font engine, for tests and fuzzing that need no real face: every
// character (UTF-8 code point) advances 0.6 em, a line is 1.15 em high, the ascent 0.9 em.
class FixedPitchMeasure final : public ITextMeasure {
 public:
  double Width(const CanvasFont& font, const std::string& text) const override;
  double Height(const CanvasFont& font) const override;
  double Ascent(const CanvasFont& font) const override;
};

}  // namespace bvr
