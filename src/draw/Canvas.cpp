#include "draw/Canvas.h"

#include "numbers/Conversions.h"

namespace bvr {

int CanvasFont::WholePoints() const {
  return RoundHalfEven(Size);
}

std::vector<std::string> CellCharacters(const std::string& text) {
  std::vector<std::string> chars;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = pos + 1;
    // UTF-8 continuation bytes (10xxxxxx) stay with their character.
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
      ++end;
    }
    chars.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return chars;
}

void ICanvas::TextCells(double right, double y, double pitch, const std::string& text) {
  const std::vector<std::string> chars = CellCharacters(text);
  const auto n = static_cast<double>(chars.size());
  for (std::size_t i = 0; i < chars.size(); ++i) {
    TextOut(right - (n - static_cast<double>(i)) * pitch, y, chars[i]);
  }
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

void ICanvas::FillCells(const std::vector<bool>& dark, int columns, const DeviceRect& target,
                        TColor color) {
  if (columns <= 0) {
    return;
  }
  const std::size_t width = static_cast<std::size_t>(columns);
  const std::size_t rows = dark.size() / width;
  const double cellWidth = (target.Right - target.Left) / static_cast<double>(width);
  const double cellHeight = (target.Bottom - target.Top) / static_cast<double>(rows);
  const auto isDark = [&](std::size_t x, std::size_t y) { return dark[y * width + x]; };
  std::vector<DeviceRect> runs;
  for (std::size_t y = 0; y < rows; ++y) {
    for (std::size_t x = 0; x < width;) {
      if (!isDark(x, y)) {
        ++x;
        continue;
      }
      const std::size_t start = x;
      while (x < width && isDark(x, y)) {
        ++x;
      }
      runs.push_back({target.Left + static_cast<double>(start) * cellWidth,
                      target.Top + static_cast<double>(y) * cellHeight,
                      target.Left + static_cast<double>(x) * cellWidth,
                      target.Top + static_cast<double>(y + 1) * cellHeight});
    }
  }
  FillRects(runs, color);
}

}  // namespace bvr
