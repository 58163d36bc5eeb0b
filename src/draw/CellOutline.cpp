#include "draw/CellOutline.h"

#include <array>
#include <cstddef>

namespace bvr {

namespace {

// Directions on the page, y downwards, in clockwise order.
enum Direction { kRight, kDown, kLeft, kUp };
constexpr std::array<int, 4> kDx = {1, 0, -1, 0};
constexpr std::array<int, 4> kDy = {0, 1, 0, -1};

// The boundary edges leaving each corner point, at most two (where two cells touch only at
// that corner), each used once.
class Edges {
 public:
  Edges(int columns, int rows)
      : columns_(columns), out_(static_cast<std::size_t>((columns + 1) * (rows + 1))) {}

  void Add(int x, int y, Direction d) { At(x, y).push_back(d); }

  // An edge leaving (x, y), taken out; -1 when none is left. Where two leave, the one that
  // turns right of the way we came keeps the two cells' outlines apart.
  int Take(int x, int y, int from) {
    Slot& slot = At(x, y);
    if (slot.count == 0) {
      return -1;
    }
    int pick = 0;
    if (slot.count == 2 && from >= 0 && slot.dirs[1] == (from + 1) % 4) {
      pick = 1;
    }
    const int d = slot.dirs[static_cast<std::size_t>(pick)];
    slot.dirs[static_cast<std::size_t>(pick)] = slot.dirs[static_cast<std::size_t>(slot.count - 1)];
    --slot.count;
    return d;
  }

 private:
  struct Slot {
    std::array<int, 2> dirs{};
    int count = 0;
    void push_back(int d) {
      if (count < 2) {
        dirs[static_cast<std::size_t>(count++)] = d;
      }
    }
  };
  Slot& At(int x, int y) { return out_[static_cast<std::size_t>(y * (columns_ + 1) + x)]; }

  int columns_;
  std::vector<Slot> out_;
};

}  // namespace

std::vector<std::vector<GridPoint>> CellOutlines(const std::vector<bool>& dark, int columns) {
  std::vector<std::vector<GridPoint>> outlines;
  if (columns <= 0) {
    return outlines;
  }
  const int rows = static_cast<int>(dark.size() / static_cast<std::size_t>(columns));
  const auto isDark = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < columns && y < rows &&
           dark[static_cast<std::size_t>(y * columns + x)];
  };
  Edges edges(columns, rows);
  std::vector<GridPoint> starts;
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      if (!isDark(x, y)) {
        continue;
      }
      // The dark cell on the right of every edge: clockwise around it.
      if (!isDark(x, y - 1)) {
        edges.Add(x, y, kRight);
        starts.push_back({x, y});
      }
      if (!isDark(x + 1, y)) {
        edges.Add(x + 1, y, kDown);
      }
      if (!isDark(x, y + 1)) {
        edges.Add(x + 1, y + 1, kLeft);
      }
      if (!isDark(x - 1, y)) {
        edges.Add(x, y + 1, kUp);
      }
    }
  }
  // Every loop has a top edge going right; a hole's too (the cell below it is dark).
  for (const GridPoint& start : starts) {
    GridPoint at = start;
    int d = edges.Take(at.x, at.y, -1);
    if (d < 0) {
      continue;  // already part of a loop
    }
    std::vector<GridPoint> polygon;
    int previous = -1;
    while (d >= 0) {
      if (d != previous) {
        polygon.push_back(at);  // a corner: straight runs keep only their ends
      }
      at = {at.x + kDx[static_cast<std::size_t>(d)], at.y + kDy[static_cast<std::size_t>(d)]};
      previous = d;
      d = edges.Take(at.x, at.y, previous);
    }
    outlines.push_back(std::move(polygon));
  }
  return outlines;
}

std::vector<GridRect> CellRects(const std::vector<bool>& dark, int columns) {
  std::vector<GridRect> rects;
  if (columns <= 0) {
    return rects;
  }
  const int rows = static_cast<int>(dark.size() / static_cast<std::size_t>(columns));
  // open[x]: the rectangle whose run starts at x in the row above, still growing.
  std::vector<int> open(static_cast<std::size_t>(columns), -1);
  for (int y = 0; y < rows; ++y) {
    std::vector<int> next(static_cast<std::size_t>(columns), -1);
    for (int x = 0; x < columns;) {
      if (!dark[static_cast<std::size_t>(y * columns + x)]) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < columns && dark[static_cast<std::size_t>(y * columns + x)]) {
        ++x;
      }
      const int above = open[static_cast<std::size_t>(start)];
      if (above >= 0 && rects[static_cast<std::size_t>(above)].width == x - start) {
        ++rects[static_cast<std::size_t>(above)].height;
        next[static_cast<std::size_t>(start)] = above;
      } else {
        next[static_cast<std::size_t>(start)] = static_cast<int>(rects.size());
        rects.push_back({start, y, x - start, 1});
      }
    }
    open.swap(next);
  }
  return rects;
}

}  // namespace bvr
