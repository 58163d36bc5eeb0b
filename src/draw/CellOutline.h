// The outline of a grid's dark cells (a QR code's modules) as closed polygons on the grid's
// corner points: one shape with no edge between touching cells, so that no renderer can show
// a hairline seam there, and far fewer points than a rectangle per cell or run. Every outer
// boundary runs clockwise on the page (y downwards) and every hole anticlockwise, so the
// polygons fill as one path with the non-zero rule.
#pragma once

#include <vector>

namespace bvr {

struct GridPoint {
  int x = 0;
  int y = 0;
  bool operator==(const GridPoint&) const = default;
};

// dark holds the cells row by row from the top left, columns wide.
std::vector<std::vector<GridPoint>> CellOutlines(const std::vector<bool>& dark, int columns);

// The dark cells as rectangles, in cells: each row's runs, a run carried down while the rows
// below repeat it. Filled as one path (non-zero), they leave no seam either; a PDF writes
// each as one short operator.
struct GridRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const GridRect&) const = default;
};
std::vector<GridRect> CellRects(const std::vector<bool>& dark, int columns);

}  // namespace bvr
