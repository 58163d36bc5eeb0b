#include <gtest/gtest.h>

#include <algorithm>

#include "draw/RecordingCanvas.h"
#include "draw/SlipFormPicture.h"

namespace bvr {
namespace {

using Kind = CanvasOp::Kind;

// The form is drawn inside its target, clipped to it, with strokes of at least one device
// unit, and hands the canvas back as it found it.
TEST(SlipFormPicture, StaysInsideItsTargetAtAnyScale) {
  const struct Row {
    DeviceRect target;
  } rows[] = {{{0, 0, 411, 209}}, {{100, 50, 922, 468}}, {{-40, 1911.667, 2059.2, 2969.667}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.target.Right);
    RecordingCanvas canvas;
    const CanvasPen pen{clRed, 3, PenStyle::Dash};
    canvas.SetPen(pen);
    canvas.SetBrushColor(clSilver);
    PaintSlipForm(canvas, row.target);
    const auto& ops = canvas.Ops();
    ASSERT_GT(ops.size(), 40u);
    EXPECT_EQ(ops.front().kind, Kind::Clip);
    EXPECT_EQ((DeviceRect{ops.front().X1, ops.front().Y1, ops.front().X2, ops.front().Y2}),
              row.target);
    EXPECT_EQ(ops.back().kind, Kind::Unclip);
    // The first fill is the whole background.
    ASSERT_EQ(ops[1].kind, Kind::Fill);
    EXPECT_DOUBLE_EQ(ops[1].X2, row.target.Right);
    EXPECT_DOUBLE_EQ(ops[1].Y2, row.target.Bottom);
    for (const CanvasOp& op : ops) {
      if (op.kind == Kind::Line || op.kind == Kind::Rectangle) {
        EXPECT_GE(op.Pen.Width, 1.0);
        EXPECT_GE(std::min(op.X1, op.X2), row.target.Left);
        EXPECT_LE(std::max(op.X1, op.X2), row.target.Right);
        EXPECT_GE(std::min(op.Y1, op.Y2), row.target.Top);
        EXPECT_LE(std::max(op.Y1, op.Y2), row.target.Bottom);
      }
    }
    EXPECT_EQ(canvas.Pen(), pen);
    EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Solid);
    EXPECT_EQ(canvas.BrushColor(), clSilver);
  }
}

TEST(SlipFormPicture, AnEmptyTargetDrawsNothing) {
  for (const DeviceRect target :
       {DeviceRect{0, 0, 0, 100}, DeviceRect{10, 10, 400, 10}, DeviceRect{50, 0, 10, 100}}) {
    RecordingCanvas canvas;
    PaintSlipForm(canvas, target);
    EXPECT_TRUE(canvas.Ops().empty());
  }
}

}  // namespace
}  // namespace bvr
