// The dark cells as one shape: the outline's non-zero winding and the rectangles both cover
// exactly the dark cells.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "draw/CellOutline.h"

namespace bvr {
namespace {

// The winding number of the polygons around the centre of cell (x, y).
int Winding(const std::vector<std::vector<GridPoint>>& outlines, int x, int y) {
  const double px = x + 0.5;
  const double py = y + 0.5;
  int winding = 0;
  for (const auto& polygon : outlines) {
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      const GridPoint& a = polygon[i];
      const GridPoint& b = polygon[(i + 1) % polygon.size()];
      if (a.x != b.x || (a.y <= py) == (b.y <= py) || a.x < px) {
        continue;  // only vertical edges right of the point, crossing its row
      }
      winding += b.y > a.y ? 1 : -1;
    }
  }
  return winding;
}

// Random grids: the outline (outer boundaries clockwise, holes the other way, or the winding
// would not be 1 and 0) and the rectangles each cover every dark cell once and no light one.
TEST(CellOutline, OutlineAndRectanglesCoverExactlyTheDarkCells) {
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    const int size = 5 + round % 20;
    std::vector<bool> dark(static_cast<std::size_t>(size * size));
    for (std::size_t i = 0; i < dark.size(); ++i) {
      dark[i] = random() % 2 == 0;
    }
    const auto outlines = CellOutlines(dark, size);
    std::vector<int> covered(dark.size(), 0);
    for (const GridRect& r : CellRects(dark, size)) {
      for (int y = r.y; y < r.y + r.height; ++y) {
        for (int x = r.x; x < r.x + r.width; ++x) {
          ++covered[static_cast<std::size_t>(y * size + x)];
        }
      }
    }
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const int expected = dark[static_cast<std::size_t>(y * size + x)] ? 1 : 0;
        ASSERT_EQ(Winding(outlines, x, y), expected) << "round " << round << " " << x << "," << y;
        ASSERT_EQ(covered[static_cast<std::size_t>(y * size + x)], expected) << round;
      }
    }
  }
}

}  // namespace
}  // namespace bvr
