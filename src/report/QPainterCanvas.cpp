#include "report/QPainterCanvas.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTextLayout>
#include <algorithm>

#include "draw/CellOutline.h"
#include "report/QtFont.h"
#include "report/TextMetricsCache.h"

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
  ApplyLinePen();
  painter_.setBrush(Qt::NoBrush);
  qfont_ = ToQFont(font_);
  painter_.setFont(qfont_);
}

QPainterCanvas::~QPainterCanvas() {
  while (clips_ > 0) {
    PopClip();
  }
}

void QPainterCanvas::SetPen(const CanvasPen& pen) {
  pen_ = pen;
  ApplyLinePen();
}

void QPainterCanvas::ApplyLinePen() {
  textPen_ = false;
  if (pen_.Style == PenStyle::None) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  // The default is a line of 0.1 mm whatever the resolution: visible on paper, thin enough to
  // aim with.
  QPen qpen(ToQColor(pen_.Color), pen_.Width > 0 ? pen_.Width : dpi_ / 254.0,
            pen_.Style == PenStyle::Dash ? Qt::DashLine : Qt::SolidLine);
  if (pen_.Width > 0) {
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
  }
  painter_.setPen(qpen);
}

void QPainterCanvas::UseTextPen() {
  if (!textPen_ || textPenColor_ != font_.Color) {
    painter_.setPen(ToQColor(font_.Color));
    textPen_ = true;
    textPenColor_ = font_.Color;
  }
}

void QPainterCanvas::UseLinePen() {
  if (textPen_) {
    ApplyLinePen();
  }
}

void QPainterCanvas::SetFont(const CanvasFont& font) {
  // The painter holds font_ from the constructor on, and gets it back after every PopClip.
  if (font == font_) {
    return;
  }
  font_ = font;
  qfont_ = ToQFont(font);
  scale_ = ScalableFactor(font, dpi_);
  painter_.setFont(qfont_);
  metrics_.reset();
  line_.reset();
}

const QFontMetricsF& QPainterCanvas::Metrics() {
  if (!metrics_) {
    metrics_.emplace(qfont_, painter_.device());
  }
  return *metrics_;
}

void QPainterCanvas::SetBrushColor(TColor color) {
  brushColor_ = color;
  brushStyle_ = BrushStyle::Solid;
}

void QPainterCanvas::Rectangle(double x1, double y1, double x2, double y2) {
  UseLinePen();
  const QRectF r(QPointF(x1, y1), QPointF(x2, y2));
  if (brushStyle_ == BrushStyle::Solid) {
    painter_.fillRect(r, ToQColor(brushColor_));
  }
  painter_.drawRect(r);
}

void QPainterCanvas::Ellipse(double centreX, double centreY, double radiusX, double radiusY) {
  UseLinePen();
  painter_.setBrush(brushStyle_ == BrushStyle::Solid ? QBrush(ToQColor(brushColor_))
                                                     : QBrush(Qt::NoBrush));
  painter_.drawEllipse(QPointF(centreX, centreY), radiusX, radiusY);
  painter_.setBrush(Qt::NoBrush);
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

void QPainterCanvas::FillCells(const std::vector<bool>& dark, int columns, const DeviceRect& target,
                               TColor color) {
  // One vector shape on every device, no seam between touching cells. Drawn in cells and
  // scaled onto the target: a PDF then writes small whole numbers under one matrix, as
  // rectangles (one short operator each, filled together); elsewhere the outline, a single
  // path that an SVG keeps whole.
  if (columns <= 0 || dark.empty()) {
    return;
  }
  const auto rows = static_cast<double>(dark.size() / static_cast<std::size_t>(columns));
  const QTransform transform = painter_.transform();
  painter_.setTransform(QTransform((target.Right - target.Left) / columns, 0, 0,
                                   (target.Bottom - target.Top) / rows, target.Left, target.Top) *
                        transform);
  const QPen pen = painter_.pen();
  const QBrush brush = painter_.brush();
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToQColor(color));
  const QPaintEngine* engine = painter_.paintEngine();
  if (engine != nullptr && engine->type() == QPaintEngine::Pdf) {
    std::vector<QRect> rects;
    for (const GridRect& r : CellRects(dark, columns)) {
      rects.emplace_back(r.x, r.y, r.width, r.height);
    }
    painter_.drawRects(rects.data(), static_cast<int>(rects.size()));
  } else {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const std::vector<GridPoint>& outline : CellOutlines(dark, columns)) {
      path.moveTo(outline.front().x, outline.front().y);
      for (std::size_t i = 1; i < outline.size(); ++i) {
        path.lineTo(outline[i].x, outline[i].y);
      }
      path.closeSubpath();
    }
    painter_.drawPath(path);
  }
  painter_.setPen(pen);
  painter_.setBrush(brush);
  painter_.setTransform(transform);
}

void QPainterCanvas::LineTo(double x, double y) {
  UseLinePen();
  const QPointF to(x, y);
  painter_.drawLine(penPosition_, to);
  penPosition_ = to;
}

void QPainterCanvas::TextOut(double x, double y, const std::string& text) {
  const LineSize line = Line();
  if (brushStyle_ == BrushStyle::Solid) {
    painter_.fillRect(QRectF(x, y, TextWidth(text), line.height), ToQColor(brushColor_));
  }
  UseTextPen();
  if (scale_ == 1.0) {
    DrawTextAt(QPointF(x, y + line.ascent), text);
    return;
  }
  const QTransform transform = painter_.transform();
  painter_.setTransform(QTransform(scale_, 0, 0, scale_, x, y + line.ascent) * transform);
  DrawTextAt(QPointF(0, 0), text);
  painter_.setTransform(transform);
}

void QPainterCanvas::DrawTextAt(const QPointF& baseline, const std::string& text) {
  // A PDF batch draws the same headings and creditor lines on every page: their glyphs are
  // shaped once. Other devices keep drawText, whose hinting and positions may differ.
  const QPaintEngine* engine = painter_.paintEngine();
  if (engine == nullptr || engine->type() != QPaintEngine::Pdf) {
    painter_.drawText(baseline, Q(text));
    return;
  }
  const QList<QGlyphRun> runs = TextMetricsCache::ForThisThread().Glyphs(
      font_, TextMetricsCache::DeviceKind::Of(*painter_.device()), text, [&] {
        QTextLayout layout(Q(text), qfont_, painter_.device());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (!line.isValid()) {
          return QList<QGlyphRun>();
        }
        line.setPosition(QPointF(0, -line.ascent()));
        return line.glyphRuns();
      });
  for (const QGlyphRun& run : runs) {
    painter_.drawGlyphRun(baseline, run);
  }
}

void QPainterCanvas::TextRect(const DeviceRect& clip, double x, double y, const std::string& text) {
  const QRectF r = ToQRect(clip);
  if (r.isEmpty()) {
    return;
  }
  const QString s = Q(text);
  const QPointF baseline(x, y + Line().ascent);
  if (brushStyle_ == BrushStyle::Solid) {
    painter_.fillRect(r, ToQColor(brushColor_));
  }
  UseTextPen();
  // A clip path only where the ink would cross the rectangle: most lines lie wholly inside.
  const DeviceRect ink = TextMetricsCache::ForThisThread().Ink(
      font_, TextMetricsCache::DeviceKind::Of(*painter_.device()), text, [&] {
        const QRectF box = Metrics().boundingRect(s);
        return DeviceRect{box.left(), box.top(), box.right(), box.bottom()};
      });
  if (r.contains(ToQRect(ink).translated(baseline))) {
    painter_.drawText(baseline, s);
    return;
  }
  painter_.save();
  painter_.setClipRect(r, Qt::IntersectClip);
  painter_.drawText(baseline, s);
  painter_.restore();
}

double QPainterCanvas::TextWidth(const std::string& text) {
  return TextMetricsCache::ForThisThread().Width(
      font_, TextMetricsCache::DeviceKind::Of(*painter_.device()), text,
      [&] { return Metrics().horizontalAdvance(Q(text)) * scale_; });
}

QPainterCanvas::LineSize QPainterCanvas::Line() {
  if (!line_) {
    const TextMetricsCache::LineMetrics line = TextMetricsCache::ForThisThread().Line(
        font_, TextMetricsCache::DeviceKind::Of(*painter_.device()), [&] {
          const QFontMetricsF& fm = Metrics();
          return TextMetricsCache::LineMetrics{fm.height() * scale_, fm.ascent() * scale_};
        });
    line_ = LineSize{line.height, line.ascent};
  }
  return *line_;
}

double QPainterCanvas::TextHeight(const std::string& /*text*/) {
  return Line().height;
}

double QPainterCanvas::TextAscent() {
  return Line().ascent;
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
  ApplyLinePen();
  painter_.setFont(qfont_);
}

QString QPainterCanvas::ResolvedFamily() const {
  return painter_.fontInfo().family();
}

}  // namespace bvr
