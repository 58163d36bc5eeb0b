#include "reading/SymbolGeometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace bvr::reading {

namespace {

constexpr std::uint8_t kDark = 128;

bool Dark(const pdf::GreyImage& image, int x, int y) {
  return x >= 0 && y >= 0 && x < image.width && y < image.height && image.At(x, y) < kDark;
}

// From start, stepping by step, the last index whose line is dark before gap white lines.
template <typename LineDark>
int LastDark(int start, int step, int limit, int gap, LineDark lineDark) {
  int last = start;
  int white = 0;
  for (int i = start; i != limit && white < gap; i += step) {
    if (lineDark(i)) {
      last = i;
      white = 0;
    } else {
      ++white;
    }
  }
  return last;
}

// The length of the run of pixels like the first one, from (x, y) stepping (dx, dy).
int Run(const pdf::GreyImage& image, int x, int y, int dx, int dy, bool dark, int limit) {
  int n = 0;
  while (n < limit && Dark(image, x + n * dx, y + n * dy) == dark) {
    ++n;
  }
  return n;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

BoxPx SymbolExtent(const pdf::GreyImage& image, const BoxPx& hint, int gapPx) {
  const int cx = (hint.left + hint.right) / 2;
  const int cy = (hint.top + hint.bottom) / 2;
  const auto rowDark = [&](int y) {
    for (int x = std::max(0, hint.left); x <= std::min(image.width - 1, hint.right); ++x) {
      if (Dark(image, x, y))
        return true;
    }
    return false;
  };
  const auto columnDark = [&](int x) {
    for (int y = std::max(0, hint.top); y <= std::min(image.height - 1, hint.bottom); ++y) {
      if (Dark(image, x, y))
        return true;
    }
    return false;
  };
  BoxPx box;
  box.top = LastDark(cy, -1, -1, gapPx, rowDark);
  box.bottom = LastDark(cy, 1, image.height, gapPx, rowDark);
  box.left = LastDark(cx, -1, -1, gapPx, columnDark);
  box.right = LastDark(cx, 1, image.width, gapPx, columnDark);
  return box;
}

int Clearance(const pdf::GreyImage& image, const BoxPx& box, int reachPx) {
  // Ring by ring outward: the first ring holding a dark pixel gives the distance.
  for (int d = 1; d <= reachPx; ++d) {
    const int l = box.left - d;
    const int r = box.right + d;
    const int t = box.top - d;
    const int b = box.bottom + d;
    for (int x = l; x <= r; ++x) {
      if (Dark(image, x, t) || Dark(image, x, b))
        return d - 1;
    }
    for (int y = t; y <= b; ++y) {
      if (Dark(image, l, y) || Dark(image, r, y))
        return d - 1;
    }
  }
  return reachPx;
}

CrossPx MeasureCross(const pdf::GreyImage& image, const BoxPx& symbol, double pxPerMm) {
  CrossPx cross;
  const int cx = (symbol.left + symbol.right) / 2;
  const int cy = (symbol.top + symbol.bottom) / 2;
  if (Dark(image, cx, cy)) {
    return cross;  // no white cross at the centre
  }
  const int limit = static_cast<int>(10 * pxPerMm);
  std::vector<double> horizontal;
  std::vector<double> vertical;
  double border = limit;
  // Lines 1 to 2.5 mm beside the centre: across the square, clear of the horizontal arm for
  // the vertical scans and of the vertical arm for the horizontal ones, past the arms' width.
  for (double offsetMm : {-2.5, -2.0, -1.5, -1.0, 1.0, 1.5, 2.0, 2.5}) {
    const int o = static_cast<int>(std::lround(offsetMm * pxPerMm));
    for (int dir : {-1, 1}) {
      // Horizontal: skip the vertical arm's white, then the dark square, then its border.
      const int skipH = Run(image, cx, cy + o, dir, 0, false, limit);
      const int darkH = Run(image, cx + dir * skipH, cy + o, dir, 0, true, limit);
      const int whiteH = Run(image, cx + dir * (skipH + darkH), cy + o, dir, 0, false, limit);
      horizontal.push_back(skipH + darkH);
      const int skipV = Run(image, cx + o, cy, 0, dir, false, limit);
      const int darkV = Run(image, cx + o, cy + dir * skipV, 0, dir, true, limit);
      const int whiteV = Run(image, cx + o, cy + dir * (skipV + darkV), 0, dir, false, limit);
      vertical.push_back(skipV + darkV);
      border = std::min<double>(border, std::min(whiteH, whiteV));
    }
  }
  // Each list holds both sides; the side is twice the median reach.
  cross.squarePx = std::max(2 * Median(horizontal), 2 * Median(vertical));
  cross.found = cross.squarePx > 0 && cross.squarePx < limit;
  cross.borderPx = border;
  return cross;
}

}  // namespace bvr::reading
