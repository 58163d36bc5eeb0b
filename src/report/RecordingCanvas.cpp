#include "report/RecordingCanvas.h"

#include <QFontMetricsF>

#include "report/QtFont.h"

namespace bvr {

RecordingCanvas::RecordingCanvas() : metricsDevice_(1, 1, QImage::Format_ARGB32) {
  // 10000 dots per metre is 254 dots per inch.
  metricsDevice_.setDotsPerMeterX(10000);
  metricsDevice_.setDotsPerMeterY(10000);
}

void RecordingCanvas::SetBrushColor(TColor color) {
  brushColor_ = color;
  brush_ = BrushStyle::Solid;
}

CanvasOp RecordingCanvas::Op(CanvasOp::Kind kind) const {
  CanvasOp op;
  op.kind = kind;
  op.Font = font_;
  op.Brush = brush_;
  op.BrushColor = brushColor_;
  return op;
}

void RecordingCanvas::Rectangle(double x1, double y1, double x2, double y2) {
  CanvasOp op = Op(CanvasOp::Kind::Rectangle);
  op.X1 = x1;
  op.Y1 = y1;
  op.X2 = x2;
  op.Y2 = y2;
  ops_.push_back(op);
}

void RecordingCanvas::MoveTo(double x, double y) {
  penX_ = x;
  penY_ = y;
}

void RecordingCanvas::LineTo(double x, double y) {
  CanvasOp op = Op(CanvasOp::Kind::Line);
  op.X1 = penX_;
  op.Y1 = penY_;
  op.X2 = x;
  op.Y2 = y;
  ops_.push_back(op);
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
  return QFontMetricsF(ToQFont(font_), &metricsDevice_).horizontalAdvance(QString::fromUtf8(text));
}

double RecordingCanvas::TextHeight(const std::string& /*text*/) {
  return QFontMetricsF(ToQFont(font_), &metricsDevice_).height();
}

}  // namespace bvr
