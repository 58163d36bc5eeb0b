// A canvas that keeps every drawing call instead of painting, at 254 units per inch: one
// device unit is one tenth of a millimetre, so recorded positions read as model lengths.
// Text metrics come from the measure it is given (a real font's in the Qt layer).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "draw/Canvas.h"
#include "draw/TextMeasure.h"

namespace bvr {

struct CanvasOp {
  enum class Kind { Rectangle, Line, Text, ClippedText, Ellipse, Fill, Fills, Clip, Unclip };
  Kind kind = Kind::Rectangle;
  // Rectangle, Fill, Clip: corners; Fills: Rects, (X1, Y1)-(X2, Y2) their bounds; Line: from (X1,
  // Y1) to (X2, Y2); texts: top-left at (X1, Y1); Ellipse: centre (X1, Y1), radii (X2, Y2).
  double X1 = 0;
  double Y1 = 0;
  double X2 = 0;
  double Y2 = 0;
  DeviceRect Clip;                // ClippedText only
  std::vector<DeviceRect> Rects;  // Fills only
  std::string Text;
  CanvasFont Font;
  CanvasPen Pen;
  BrushStyle Brush = BrushStyle::Clear;
  TColor BrushColor = clWhite;  // Fill: the fill's colour
  double TextWidth = 0;         // of Text in Font, at the time of drawing
};

class RecordingCanvas : public ICanvas {
 public:
  static constexpr double kUnitsPerInch = 254.0;

  // Without a measure, FixedPitchMeasure.
  explicit RecordingCanvas(std::unique_ptr<ITextMeasure> measure = nullptr);

  void SetFont(const CanvasFont& font) override { font_ = font; }
  const CanvasFont& Font() const override { return font_; }
  void SetBrushStyle(BrushStyle style) override { brush_ = style; }
  void SetBrushColor(TColor color) override;
  BrushStyle GetBrushStyle() const override { return brush_; }
  TColor BrushColor() const override { return brushColor_; }
  void SetPen(const CanvasPen& pen) override { pen_ = pen; }
  const CanvasPen& Pen() const override { return pen_; }
  void Rectangle(double x1, double y1, double x2, double y2) override;
  void Ellipse(double centreX, double centreY, double radiusX, double radiusY) override;
  void FillRect(const DeviceRect& rect, TColor color) override;
  // One op for all of them.
  void FillRects(const std::vector<DeviceRect>& rects, TColor color) override;
  void MoveTo(double x, double y) override;
  void LineTo(double x, double y) override;
  void TextOut(double x, double y, const std::string& text) override;
  void TextRect(const DeviceRect& clip, double x, double y, const std::string& text) override;
  double TextWidth(const std::string& text) override;
  double TextHeight(const std::string& text) override;
  double TextAscent() override;
  void PushClip(const DeviceRect& rect) override;
  void PopClip() override;
  double PixelsPerInch() const override { return kUnitsPerInch; }

  const std::vector<CanvasOp>& Ops() const { return ops_; }
  void Clear() { ops_.clear(); }

 private:
  CanvasOp Op(CanvasOp::Kind kind) const;
  CanvasOp Box(CanvasOp::Kind kind, double x1, double y1, double x2, double y2) const;

  std::unique_ptr<ITextMeasure> measure_;
  CanvasFont font_;
  CanvasPen pen_;
  BrushStyle brush_ = BrushStyle::Clear;
  TColor brushColor_ = clWhite;
  double penX_ = 0;
  double penY_ = 0;
  int clips_ = 0;
  std::vector<CanvasOp> ops_;
};

}  // namespace bvr
