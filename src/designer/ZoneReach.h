// Keeping zones within the user's reach: whatever a drag or a key does, at least a few pixels
// of a zone stay inside the view on both axes, so it can still be seen, clicked and given its
// menu. A zone that is already out of reach (a file may place it anywhere) may only come closer.
#pragma once

#include <QRect>
#include <QSize>

namespace bvr {

inline constexpr int kPixelsInReach = 4;

// Pixels missing on each axis for kPixelsInReach pixels of bounds to lie inside a view of the
// given size: 0 when in reach, growing with the distance when outside.
QSize ReachShortfall(const QRect& bounds, QSize view);

// bounds moved, size unchanged, by as little as possible to be in reach.
QRect ClampIntoReach(const QRect& bounds, QSize view);

// Whether a zone may go from before to after: on each axis after is in reach, or at least no
// further out than before.
bool KeepsReach(const QRect& before, const QRect& after, QSize view);

}  // namespace bvr
