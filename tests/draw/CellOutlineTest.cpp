// The dark cells' outline: polygons whose non-zero winding covers exactly the dark cells,
// outer boundaries clockwise and holes anticlockwise, corners only.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "draw/CellOutline.h"

namespace bvr {
namespace {

std::vector<bool> Grid(const std::vector<std::string>& rows) {
  std::vector<bool> dark;
  for (const std::string& row : rows) {
    for (char c : row) {
      dark.push_back(c == '#');
    }
  }
  return dark;
}

// Twice the signed area, positive for clockwise on the page (y downwards).
long SignedArea2(const std::vector<GridPoint>& polygon) {
  long sum = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const GridPoint& a = polygon[i];
    const GridPoint& b = polygon[(i + 1) % polygon.size()];
    sum += static_cast<long>(a.x) * b.y - static_cast<long>(b.x) * a.y;
  }
  return sum;
}

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

TEST(CellOutline, ShapesAndOrientation) {
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    std::vector<long> areas;  // twice each polygon's signed area, in the order traced
    std::vector<std::size_t> corners;
  };
  const Case cases[] = {
      {"one cell", {"#"}, {2}, {4}},
      {"a block is one square", {"##", "##"}, {8}, {4}},
      {"an L", {"#.", "##"}, {6}, {6}},
      {"cells touching at a corner stay apart", {"#.", ".#"}, {2, 2}, {4, 4}},
      {"a ring and its hole", {"###", "#.#", "###"}, {18, -2}, {4, 4}},
      {"nothing dark", {"..", ".."}, {}, {}},
  };
  for (const Case& c : cases) {
    const std::vector<std::vector<GridPoint>> outlines =
        CellOutlines(Grid(c.rows), static_cast<int>(c.rows.front().size()));
    std::vector<long> areas;
    std::vector<std::size_t> corners;
    for (const auto& polygon : outlines) {
      areas.push_back(SignedArea2(polygon));
      corners.push_back(polygon.size());
    }
    EXPECT_EQ(areas, c.areas) << c.what;
    EXPECT_EQ(corners, c.corners) << c.what;
  }
}

// Random grids: the outline covers each dark cell once and no light one.
TEST(CellOutline, CoversExactlyTheDarkCells) {
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    const int size = 5 + round % 20;
    std::vector<bool> dark(static_cast<std::size_t>(size * size));
    for (std::size_t i = 0; i < dark.size(); ++i) {
      dark[i] = random() % 2 == 0;
    }
    const auto outlines = CellOutlines(dark, size);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        ASSERT_EQ(Winding(outlines, x, y), dark[static_cast<std::size_t>(y * size + x)] ? 1 : 0)
            << "round " << round << " cell " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace bvr
