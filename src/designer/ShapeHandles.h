// The grab handles of a selection zone and what a drag does, as tables and pure functions:
// no widget involved, so tests read them directly.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <cstdint>
#include <optional>

namespace bvr {

enum TDragMode : std::uint8_t {
  dmMove,
  dmTop,
  dmBottom,
  dmLeft,
  dmRight,
  dmTopLeft,
  dmTopRight,
  dmBottomRight,
  dmBottomLeft
};

enum class GrabHandle : std::uint8_t {
  TopLeft,
  TopMiddle,
  TopRight,
  RightMiddle,
  BottomRight,
  BottomMiddle,
  BottomLeft,
  LeftMiddle
};

struct HandleInfo {
  GrabHandle handle;
  TDragMode mode;
  Qt::CursorShape cursor;
};

// Clockwise from the top-left corner; the drawing order.
inline constexpr std::array<HandleInfo, 8> kHandles = {{
    {GrabHandle::TopLeft, dmTopLeft, Qt::SizeFDiagCursor},
    {GrabHandle::TopMiddle, dmTop, Qt::SizeVerCursor},
    {GrabHandle::TopRight, dmTopRight, Qt::SizeBDiagCursor},
    {GrabHandle::RightMiddle, dmRight, Qt::SizeHorCursor},
    {GrabHandle::BottomRight, dmBottomRight, Qt::SizeFDiagCursor},
    {GrabHandle::BottomMiddle, dmBottom, Qt::SizeVerCursor},
    {GrabHandle::BottomLeft, dmBottomLeft, Qt::SizeBDiagCursor},
    {GrabHandle::LeftMiddle, dmLeft, Qt::SizeHorCursor},
}};

// Where overlapping handles of a small zone are decided: the first hit wins.
inline constexpr std::array<GrabHandle, 8> kHitTestOrder = {
    GrabHandle::TopLeft,  GrabHandle::BottomRight, GrabHandle::TopMiddle,  GrabHandle::BottomMiddle,
    GrabHandle::TopRight, GrabHandle::BottomLeft,  GrabHandle::LeftMiddle, GrabHandle::RightMiddle};

inline constexpr int kHandleSize = 4;  // painted; the sensitive square is one pixel larger

const HandleInfo& Info(GrabHandle handle);

// The painted 4 x 4 square of a handle in a client area of the given size.
QRect HandleRect(GrabHandle handle, QSize client);

// The handle under a client point (sensitive square 5 x 5, edges included), or none.
std::optional<HandleInfo> HitHandle(QPoint point, QSize client);

struct DragState {
  QRect bounds;   // in parent pixels
  QPoint anchor;  // in client pixels
};

// One mouse step of a drag: the proposed bounds and the anchor for the next step. Edges on
// the right or bottom leave the origin in place, so their anchor follows the mouse; edges on
// the left or top move the origin (and the client coordinates) with the mouse.
DragState DragStep(TDragMode mode, const DragState& from, QPoint mouse);

// Whether a proposed step stands: larger than 10 x 10 pixels and its top-left corner on screen
// (no lower limit: a zone may leave the view to the left or upward).
bool StepAllowed(const QRect& bounds, QSize screen);

}  // namespace bvr
