// The canvas on a real output device (printer, PDF writer, image), through QPainter.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <optional>

#include "draw/Canvas.h"

class QPainter;

namespace bvr {

class QPainterCanvas final : public ICanvas {
 public:
  // The painter must be active on its device; its coordinates are the device's own units.
  explicit QPainterCanvas(QPainter& painter);
  // Leaves the painter without the clips still pushed.
  ~QPainterCanvas() override;
  QPainterCanvas(const QPainterCanvas&) = delete;
  QPainterCanvas& operator=(const QPainterCanvas&) = delete;

  void SetFont(const CanvasFont& font) override;
  const CanvasFont& Font() const override { return font_; }
  void SetBrushStyle(BrushStyle style) override { brushStyle_ = style; }
  void SetBrushColor(TColor color) override;
  BrushStyle GetBrushStyle() const override { return brushStyle_; }
  TColor BrushColor() const override { return brushColor_; }
  void SetPen(const CanvasPen& pen) override;
  const CanvasPen& Pen() const override { return pen_; }
  void Rectangle(double x1, double y1, double x2, double y2) override;
  void Ellipse(double centreX, double centreY, double radiusX, double radiusY) override;
  void FillRect(const DeviceRect& rect, TColor color) override;
  // One path, filled once: no antialiased seams where rectangles touch.
  void FillRects(const std::vector<DeviceRect>& rects, TColor color) override;
  void FillCells(const std::vector<bool>& dark, int columns, const DeviceRect& target,
                 TColor color) override;
  void MoveTo(double x, double y) override { penPosition_ = QPointF(x, y); }
  void LineTo(double x, double y) override;
  void TextOut(double x, double y, const std::string& text) override;
  // Not for Scalable fonts, which TextOut draws.
  // Not for Scalable fonts (TextOut draws those).
  void TextRect(const DeviceRect& clip, double x, double y, const std::string& text) override;
  double TextWidth(const std::string& text) override;
  double TextHeight(const std::string& text) override;
  double TextAscent() override;
  void PushClip(const DeviceRect& rect) override;
  void PopClip() override;
  double PixelsPerInch() const override { return dpi_; }

  QPainter& Painter() { return painter_; }
  // The family the device really uses for the current font (after substitution).
  QString ResolvedFamily() const;

 private:
  const QFontMetricsF& Metrics();
  struct LineSize {
    double height;
    double ascent;
  };
  // The current font's, measured once per font and device in a thread.
  LineSize Line();
  // Text is drawn with a pen of the font's colour, lines and frames with the canvas pen; the
  // painter switches only when the kind of drawing changes, so that a page of text does not
  // carry a pen change around every item.
  void UseTextPen();
  void DrawTextAt(const QPointF& baseline, const std::string& text);
  void UseLinePen();
  void ApplyLinePen();

  QPainter& painter_;
  double dpi_;
  CanvasFont font_;
  QFont qfont_;
  double scale_ = 1.0;  // device units per pixel of qfont_ (ScalableFactor)
  BrushStyle brushStyle_ = BrushStyle::Clear;
  TColor brushColor_ = clWhite;
  std::optional<QFontMetricsF> metrics_;  // of qfont_ on the device, made when first needed
  std::optional<LineSize> line_;          // of font_, looked up when first needed
  CanvasPen pen_;
  bool textPen_ = false;  // the painter holds the text pen, not pen_
  TColor textPenColor_ = clBlack;
  QPointF penPosition_;
  int clips_ = 0;
};

}  // namespace bvr
