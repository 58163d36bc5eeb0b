#include "draw/RecordingCanvas.h"

#include <algorithm>

namespace bvr {

RecordingCanvas::RecordingCanvas(std::unique_ptr<ITextMeasure> measure)
    : measure_(measure ? std::move(measure) : std::make_unique<FixedPitchMeasure>()) {}

void RecordingCanvas::SetBrushColor(TColor color) {
  brushColor_ = color;
  brush_ = BrushStyle::Solid;
}

CanvasOp RecordingCanvas::Op(CanvasOp::Kind kind) const {
  CanvasOp op;
  op.kind = kind;
  op.Font = font_;
  op.Pen = pen_;
  op.Brush = brush_;
  op.BrushColor = brushColor_;
  return op;
}

CanvasOp RecordingCanvas::Box(CanvasOp::Kind kind, double x1, double y1, double x2,
                              double y2) const {
  CanvasOp op = Op(kind);
  op.X1 = x1;
  op.Y1 = y1;
  op.X2 = x2;
  op.Y2 = y2;
  return op;
}

void RecordingCanvas::Rectangle(double x1, double y1, double x2, double y2) {
  ops_.push_back(Box(CanvasOp::Kind::Rectangle, x1, y1, x2, y2));
}

void RecordingCanvas::Ellipse(double centreX, double centreY, double radiusX, double radiusY) {
  ops_.push_back(Box(CanvasOp::Kind::Ellipse, centreX, centreY, radiusX, radiusY));
}

void RecordingCanvas::FillRect(const DeviceRect& rect, TColor color) {
  CanvasOp op = Box(CanvasOp::Kind::Fill, rect.Left, rect.Top, rect.Right, rect.Bottom);
  op.BrushColor = color;
  ops_.push_back(op);
}

void RecordingCanvas::FillRects(const std::vector<DeviceRect>& rects, TColor color) {
  if (rects.empty()) {
    return;
  }
  DeviceRect bounds = rects.front();
  for (const DeviceRect& r : rects) {
    bounds = {std::min(bounds.Left, r.Left), std::min(bounds.Top, r.Top),
              std::max(bounds.Right, r.Right), std::max(bounds.Bottom, r.Bottom)};
  }
  CanvasOp op = Box(CanvasOp::Kind::Fills, bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
  op.BrushColor = color;
  op.Rects = rects;
  ops_.push_back(std::move(op));
}

void RecordingCanvas::MoveTo(double x, double y) {
  penX_ = x;
  penY_ = y;
}

void RecordingCanvas::LineTo(double x, double y) {
  ops_.push_back(Box(CanvasOp::Kind::Line, penX_, penY_, x, y));
  penX_ = x;
  penY_ = y;
}

void RecordingCanvas::TextOut(double x, double y, const std::string& text) {
  CanvasOp op = Op(CanvasOp::Kind::Text);
  op.X1 = x;
  op.Y1 = y;
  op.Text = text;
  op.TextWidth = TextWidth(text);
  ops_.push_back(op);
}

void RecordingCanvas::TextRect(const DeviceRect& clip, double x, double y,
                               const std::string& text) {
  CanvasOp op = Op(CanvasOp::Kind::ClippedText);
  op.X1 = x;
  op.Y1 = y;
  op.Clip = clip;
  op.Text = text;
  op.TextWidth = TextWidth(text);
  ops_.push_back(op);
}

double RecordingCanvas::TextWidth(const std::string& text) {
  return measure_->Width(font_, text);
}

double RecordingCanvas::TextHeight(const std::string& /*text*/) {
  return measure_->Height(font_);
}

double RecordingCanvas::TextAscent() {
  return measure_->Ascent(font_);
}

void RecordingCanvas::PushClip(const DeviceRect& rect) {
  ++clips_;
  ops_.push_back(Box(CanvasOp::Kind::Clip, rect.Left, rect.Top, rect.Right, rect.Bottom));
}

void RecordingCanvas::PopClip() {
  if (clips_ == 0) {
    return;
  }
  --clips_;
  ops_.push_back(Op(CanvasOp::Kind::Unclip));
}

}  // namespace bvr
