#include "report/QPainterCanvas.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include "report/QtFont.h"

namespace bvr {

namespace {
QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRectF ToQRect(const DeviceRect& r) {
  return QRectF(QPointF(r.Left, r.Top), QPointF(r.Right, r.Bottom));
}
}  // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter)
    : painter_(painter), dpi_(painter.device()->logicalDpiY()) {
  SetPen(pen_);
  painter_.setBrush(Qt::NoBrush);
  SetFont(font_);
}

QPainterCanvas::~QPainterCanvas() {
  while (clips_ > 0) {
    PopClip();
  }
}

void QPainterCanvas::SetPen(const CanvasPen& pen) {
  pen_ = pen;
  if (pen.Style == PenStyle::None) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  // The default is a line of 0.1 mm whatever the resolution: visible on paper, thin enough to
  // aim with.
  QPen qpen(ToQColor(pen.Color), pen.Width > 0 ? pen.Width : dpi_ / 254.0,
            pen.Style == PenStyle::Dash ? Qt::DashLine : Qt::SolidLine);
  if (pen.Width > 0) {
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
  }
  painter_.setPen(qpen);
}

void QPainterCanvas::SetFont(const CanvasFont& font) {
  font_ = font;
  qfont_ = ToQFont(font);
  painter_.setFont(qfont_);
}

void QPainterCanvas::SetBrushColor(TColor color) {
  brushColor_ = color;
  brushStyle_ = BrushStyle::Solid;
}

void QPainterCanvas::Rectangle(double x1, double y1, double x2, double y2) {
  const QRectF r(QPointF(x1, y1), QPointF(x2, y2));
  if (brushStyle_ == BrushStyle::Solid) {
    painter_.fillRect(r, ToQColor(brushColor_));
  }
  painter_.drawRect(r);
}

void QPainterCanvas::Ellipse(double centreX, double centreY, double radiusX, double radiusY) {
  painter_.save();
  painter_.setBrush(brushStyle_ == BrushStyle::Solid ? QBrush(ToQColor(brushColor_))
                                                     : QBrush(Qt::NoBrush));
  painter_.drawEllipse(QPointF(centreX, centreY), radiusX, radiusY);
  painter_.restore();
}

void QPainterCanvas::FillRect(const DeviceRect& rect, TColor color) {
  painter_.fillRect(ToQRect(rect), ToQColor(color));
}

void QPainterCanvas::FillRects(const std::vector<DeviceRect>& rects, TColor color) {
  if (rects.empty()) {
    return;
  }
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  for (const DeviceRect& r : rects) {
    path.addRect(ToQRect(r));
  }
  painter_.fillPath(path, ToQColor(color));
}

void QPainterCanvas::LineTo(double x, double y) {
  const QPointF to(x, y);
  painter_.drawLine(penPosition_, to);
  penPosition_ = to;
}

void QPainterCanvas::TextOut(double x, double y, const std::string& text) {
  const QFontMetricsF fm(qfont_, painter_.device());
  if (brushStyle_ == BrushStyle::Solid) {
    painter_.fillRect(QRectF(x, y, fm.horizontalAdvance(Q(text)), fm.height()),
                      ToQColor(brushColor_));
  }
  painter_.save();
  painter_.setPen(ToQColor(font_.Color));
  painter_.drawText(QPointF(x, y + fm.ascent()), Q(text));
  painter_.restore();
}

void QPainterCanvas::TextRect(const DeviceRect& clip, double x, double y, const std::string& text) {
  const QRectF r = ToQRect(clip);
  if (r.isEmpty()) {
    return;
  }
  painter_.save();
  painter_.setClipRect(r, Qt::IntersectClip);
  if (brushStyle_ == BrushStyle::Solid) {
    painter_.fillRect(r, ToQColor(brushColor_));
  }
  const QFontMetricsF fm(qfont_, painter_.device());
  painter_.setPen(ToQColor(font_.Color));
  painter_.drawText(QPointF(x, y + fm.ascent()), Q(text));
  painter_.restore();
}

double QPainterCanvas::TextWidth(const std::string& text) {
  return QFontMetricsF(qfont_, painter_.device()).horizontalAdvance(Q(text));
}

double QPainterCanvas::TextHeight(const std::string& /*text*/) {
  return QFontMetricsF(qfont_, painter_.device()).height();
}

double QPainterCanvas::TextAscent() {
  return QFontMetricsF(qfont_, painter_.device()).ascent();
}

void QPainterCanvas::PushClip(const DeviceRect& rect) {
  painter_.save();
  painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
  ++clips_;
}

void QPainterCanvas::PopClip() {
  if (clips_ == 0) {
    return;
  }
  --clips_;
  // The painter's saved state also holds pen and font: what was set since stays in force.
  painter_.restore();
  SetPen(pen_);
  painter_.setFont(qfont_);
}

QString QPainterCanvas::ResolvedFamily() const {
  return painter_.fontInfo().family();
}

}  // namespace bvr
