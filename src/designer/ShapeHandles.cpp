#include "designer/ShapeHandles.h"

namespace bvr {

namespace {

// How one step changes the bounds: multiples of dx, dy per edge, and which anchor follows.
struct StepRule {
  int left;  // left += left * dx
  int top;
  int width;
  int height;
  bool followX;
  bool followY;
};

constexpr StepRule Rule(TDragMode mode) {
  switch (mode) {
    case dmMove:
      return {1, 1, 0, 0, false, false};
    case dmTop:
      return {0, 1, 0, -1, false, false};
    case dmBottom:
      return {0, 0, 0, 1, false, true};
    case dmLeft:
      return {1, 0, -1, 0, false, false};
    case dmRight:
      return {0, 0, 1, 0, true, false};
    case dmTopLeft:
      return {1, 1, -1, -1, false, false};
    case dmTopRight:
      return {0, 1, 1, -1, true, false};
    case dmBottomRight:
      return {0, 0, 1, 1, true, true};
    case dmBottomLeft:
      return {1, 0, -1, 1, false, true};
  }
  return {0, 0, 0, 0, false, false};
}

}  // namespace

const HandleInfo& Info(GrabHandle handle) {
  for (const HandleInfo& info : kHandles) {
    if (info.handle == handle) {
      return info;
    }
  }
  return kHandles.front();
}

QRect HandleRect(GrabHandle handle, QSize client) {
  const int cw = client.width();
  const int ch = client.height();
  // C++ division truncates toward zero, as the handle placement wants.
  const int midX = cw / 2 - 2;
  const int midY = ch / 2 - 2;
  const int right = cw - kHandleSize;
  const int bottom = ch - kHandleSize;
  QPoint topLeft;
  switch (handle) {
    case GrabHandle::TopLeft:
      topLeft = {0, 0};
      break;
    case GrabHandle::TopMiddle:
      topLeft = {midX, 0};
      break;
    case GrabHandle::TopRight:
      topLeft = {right, 0};
      break;
    case GrabHandle::RightMiddle:
      topLeft = {right, midY};
      break;
    case GrabHandle::BottomRight:
      topLeft = {right, bottom};
      break;
    case GrabHandle::BottomMiddle:
      topLeft = {midX, bottom};
      break;
    case GrabHandle::BottomLeft:
      topLeft = {0, bottom};
      break;
    case GrabHandle::LeftMiddle:
      topLeft = {0, midY};
      break;
  }
  return QRect(topLeft, QSize(kHandleSize, kHandleSize));
}

std::optional<HandleInfo> HitHandle(QPoint point, QSize client) {
  for (GrabHandle handle : kHitTestOrder) {
    const QRect r = HandleRect(handle, client);
    // One pixel beyond the painted square on the right and bottom is still sensitive.
    if (point.x() >= r.left() && point.x() <= r.left() + kHandleSize && point.y() >= r.top() &&
        point.y() <= r.top() + kHandleSize) {
      return Info(handle);
    }
  }
  return std::nullopt;
}

DragState DragStep(TDragMode mode, const DragState& from, QPoint mouse) {
  const StepRule rule = Rule(mode);
  const int dx = mouse.x() - from.anchor.x();
  const int dy = mouse.y() - from.anchor.y();
  const QRect& b = from.bounds;
  DragState to;
  to.bounds = QRect(b.left() + rule.left * dx, b.top() + rule.top * dy, b.width() + rule.width * dx,
                    b.height() + rule.height * dy);
  to.anchor = QPoint(rule.followX ? mouse.x() : from.anchor.x(),
                     rule.followY ? mouse.y() : from.anchor.y());
  return to;
}

bool StepAllowed(const QRect& bounds, QSize screen) {
  return bounds.width() > 10 && bounds.height() > 10 && bounds.left() < screen.width() &&
         bounds.top() < screen.height();
}

}  // namespace bvr
