#include "designer/ZoneReach.h"

#include <algorithm>
#include <cstdint>

namespace bvr {

namespace {

// Pixels of [from, from + length) inside [0, limit); negative: the gap to the view.
std::int64_t Inside(std::int64_t from, std::int64_t length, std::int64_t limit) {
  return std::min(from + length, limit) - std::max<std::int64_t>(from, 0);
}

int Shortfall(std::int64_t from, std::int64_t length, std::int64_t limit) {
  const std::int64_t missing = kPixelsInReach - Inside(from, length, limit);
  return static_cast<int>(std::clamp<std::int64_t>(missing, 0, 1 << 30));
}

int ClampAxis(int from, int length, int limit) {
  const int lowest = kPixelsInReach - length;
  const int highest = std::max(lowest, limit - kPixelsInReach);
  return std::clamp(from, lowest, highest);
}

}  // namespace

QSize ReachShortfall(const QRect& bounds, QSize view) {
  return {Shortfall(bounds.left(), bounds.width(), view.width()),
          Shortfall(bounds.top(), bounds.height(), view.height())};
}

QRect ClampIntoReach(const QRect& bounds, QSize view) {
  return {QPoint(ClampAxis(bounds.left(), bounds.width(), view.width()),
                 ClampAxis(bounds.top(), bounds.height(), view.height())),
          bounds.size()};
}

bool KeepsReach(const QRect& before, const QRect& after, QSize view) {
  const QSize was = ReachShortfall(before, view);
  const QSize now = ReachShortfall(after, view);
  return (now.width() == 0 || now.width() <= was.width()) &&
         (now.height() == 0 || now.height() <= was.height());
}

}  // namespace bvr
