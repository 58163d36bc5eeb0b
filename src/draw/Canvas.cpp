#include "draw/Canvas.h"

#include "numbers/Conversions.h"

namespace bvr {

int CanvasFont::WholePoints() const {
  return RoundHalfEven(Size);
}

CanvasFont ToCanvasFont(const TFont& font) {
  CanvasFont f;
  f.Name = font.Name();
  f.Size = font.Size();
  f.Style = font.Style();
  f.Color = font.Color();
  f.Charset = font.Charset();
  return f;
}

void ICanvas::FillRects(const std::vector<DeviceRect>& rects, TColor color) {
  for (const DeviceRect& rect : rects) {
    FillRect(rect, color);
  }
}

}  // namespace bvr
