#include "report/QPainterCanvas.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include "report/QtFont.h"

namespace bvr {

namespace {
QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter)
    : painter_(painter), dpi_(painter.device()->logicalDpiY()) {
  // A hairline of 0.1 mm whatever the resolution: visible on paper, thin enough to aim with.
  QPen pen(Qt::black);
  pen.setWidthF(dpi_ / 254.0);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
  SetFont(font_);
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

void QPainterCanvas::LineTo(double x, double y) {
  const QPointF to(x, y);
  painter_.drawLine(pen_, to);
  pen_ = to;
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
  const QRectF r(QPointF(clip.Left, clip.Top), QPointF(clip.Right, clip.Bottom));
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

QString QPainterCanvas::ResolvedFamily() const {
  return painter_.fontInfo().family();
}

}  // namespace bvr
