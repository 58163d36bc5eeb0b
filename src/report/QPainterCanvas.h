// The canvas on a real output device (printer, PDF writer, image), through QPainter.
#pragma once

#include <QFont>
#include <QPointF>

#include "report/Canvas.h"

class QPainter;

namespace bvr {

class QPainterCanvas final : public ICanvas {
 public:
  // The painter must be active on its device; its coordinates are the device's own units.
  explicit QPainterCanvas(QPainter& painter);

  void SetFont(const CanvasFont& font) override;
  const CanvasFont& Font() const override { return font_; }
  void SetBrushStyle(BrushStyle style) override { brushStyle_ = style; }
  void SetBrushColor(TColor color) override;
  BrushStyle GetBrushStyle() const override { return brushStyle_; }
  TColor BrushColor() const override { return brushColor_; }
  void Rectangle(double x1, double y1, double x2, double y2) override;
  void MoveTo(double x, double y) override { pen_ = QPointF(x, y); }
  void LineTo(double x, double y) override;
  void TextOut(double x, double y, const std::string& text) override;
  void TextRect(const DeviceRect& clip, double x, double y, const std::string& text) override;
  double TextWidth(const std::string& text) override;
  double TextHeight(const std::string& text) override;
  double PixelsPerInch() const override { return dpi_; }

  QPainter& Painter() { return painter_; }
  // The family the device really uses for the current font (after substitution).
  QString ResolvedFamily() const;

 private:
  QPainter& painter_;
  double dpi_;
  CanvasFont font_;
  QFont qfont_;
  BrushStyle brushStyle_ = BrushStyle::Clear;
  TColor brushColor_ = clWhite;
  QPointF pen_;
};

}  // namespace bvr
