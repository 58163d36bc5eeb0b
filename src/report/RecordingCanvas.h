// A canvas that keeps every drawing call instead of painting, at 254 units per inch: one
// device unit is one tenth of a millimetre, so recorded positions read as model lengths.
// Text metrics are those of the real font at that resolution.
#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "report/Canvas.h"

namespace bvr {

struct CanvasOp {
  enum class Kind { Rectangle, Line, Text, ClippedText };
  Kind kind = Kind::Rectangle;
  // Rectangle: corners; Line: from (X1, Y1) to (X2, Y2); texts: top-left at (X1, Y1).
  double X1 = 0;
  double Y1 = 0;
  double X2 = 0;
  double Y2 = 0;
  DeviceRect Clip;  // ClippedText only
  std::string Text;
  CanvasFont Font;
  BrushStyle Brush = BrushStyle::Clear;
  TColor BrushColor = clWhite;
  double TextWidth = 0;  // of Text in Font, at the time of drawing
};

class RecordingCanvas final : public ICanvas {
 public:
  static constexpr double kUnitsPerInch = 254.0;

  RecordingCanvas();

  void SetFont(const CanvasFont& font) override { font_ = font; }
  const CanvasFont& Font() const override { return font_; }
  void SetBrushStyle(BrushStyle style) override { brush_ = style; }
  void SetBrushColor(TColor color) override;
  BrushStyle GetBrushStyle() const override { return brush_; }
  TColor BrushColor() const override { return brushColor_; }
  void Rectangle(double x1, double y1, double x2, double y2) override;
  void MoveTo(double x, double y) override;
  void LineTo(double x, double y) override;
  void TextOut(double x, double y, const std::string& text) override;
  void TextRect(const DeviceRect& clip, double x, double y, const std::string& text) override;
  double TextWidth(const std::string& text) override;
  double TextHeight(const std::string& text) override;
  double PixelsPerInch() const override { return kUnitsPerInch; }

  const std::vector<CanvasOp>& Ops() const { return ops_; }
  void Clear() { ops_.clear(); }

 private:
  CanvasOp Op(CanvasOp::Kind kind) const;

  QImage metricsDevice_;
  CanvasFont font_;
  BrushStyle brush_ = BrushStyle::Clear;
  TColor brushColor_ = clWhite;
  double penX_ = 0;
  double penY_ = 0;
  std::vector<CanvasOp> ops_;
};

}  // namespace bvr
