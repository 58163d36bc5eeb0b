// What a model zone needs of the designer rectangle that shows it. The designer's selection
// zone implements this; model tests use a fake. The model never owns the shape.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bvr {

class TFont;

// left, top, right, bottom: tenths of a millimetre for model rectangles, pixels for bounds.
struct ZoneRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  friend bool operator==(const ZoneRect&, const ZoneRect&) = default;
};

// What one accepted drag step did to the bounds: which edges changed in pixels, and whether
// it was a move (the size kept) rather than a resize.
struct ShapeStep {
  bool Move = false;
  bool Left = false;
  bool Top = false;
  bool Right = false;
  bool Bottom = false;
};

class IZoneShape {
 public:
  virtual ~IZoneShape() = default;
  // Stores viewWidth and sets the pixel bounds, with k = viewWidth / 2100: left Round(k * left),
  // top Round(k * top), width Round(k * (right - left)), height Round(k * (bottom - top)),
  // halves to even. Width and height are rounded on their own, not derived from the rounded
  // edges. Calls back nothing.
  virtual void SetZoneBounds(const ZoneRect& rect, double viewWidth) = 0;
  virtual void Invalidate() = 0;
  virtual void SetTextFont(const TFont& font) = 0;
  virtual void SetLines(const std::vector<std::string>& lines) = 0;
  virtual void SetLineText(const std::string& text) = 0;
  // Current bounds in parent pixels.
  virtual ZoneRect BoundsRect() const = 0;
  // Called by the shape after each accepted drag step.
  virtual void SetOnBoundsChanged(std::function<void()> callback) = 0;
  // The step being reported; none when unknown, and then all four values are read back.
  virtual std::optional<ShapeStep> LastStep() const { return std::nullopt; }
};

}  // namespace bvr
