// The canvas as PDF page content: every call becomes the few operators it needs, in points
// with the y axis downwards like every other canvas. Text goes out as the glyphs the layout
// was measured with; line state is written only when it changes.
#pragma once

#include <string>
#include <vector>

#include "draw/Canvas.h"
#include "pdfwrite/PdfFonts.h"
#include "pdfwrite/PdfObjects.h"
#include "pdfwrite/PdfTextSource.h"

namespace bvr::pdf {

class PdfCanvas final : public ICanvas {
 public:
  // Appends to content; fonts gather the glyphs shown, objects gives them numbers.
  PdfCanvas(std::string& content, IPdfTextSource& source, PdfFonts& fonts, PdfObjects& objects);
  PdfCanvas(const PdfCanvas&) = delete;
  PdfCanvas& operator=(const PdfCanvas&) = delete;

  void SetFont(const CanvasFont& font) override { font_ = font; }
  const CanvasFont& Font() const override { return font_; }
  void SetBrushStyle(BrushStyle style) override { brushStyle_ = style; }
  void SetBrushColor(TColor color) override;
  BrushStyle GetBrushStyle() const override { return brushStyle_; }
  TColor BrushColor() const override { return brushColor_; }
  void SetPen(const CanvasPen& pen) override { pen_ = pen; }
  const CanvasPen& Pen() const override { return pen_; }
  void Rectangle(double x1, double y1, double x2, double y2) override;
  void Ellipse(double centreX, double centreY, double radiusX, double radiusY) override;
  void FillRect(const DeviceRect& rect, TColor color) override;
  void FillRects(const std::vector<DeviceRect>& rects, TColor color) override;
  // The dark cells as rectangles in cells under one matrix: short whole numbers.
  void FillCells(const std::vector<bool>& dark, int columns, const DeviceRect& target,
                 TColor color) override;
  void MoveTo(double x, double y) override;
  void LineTo(double x, double y) override;
  void TextOut(double x, double y, const std::string& text) override;
  void TextRect(const DeviceRect& clip, double x, double y, const std::string& text) override;
  double TextWidth(const std::string& text) override;
  double TextHeight(const std::string& text) override;
  double TextAscent() override;
  void PushClip(const DeviceRect& rect) override;
  void PopClip() override;
  double PixelsPerInch() const override { return 72.0; }

  // Strokes the lines still gathered; the page's content is complete after it.
  void Flush();

 private:
  // What the content stream has set, so that nothing is set twice.
  struct State {
    std::uint32_t fill = 0;
    std::uint32_t stroke = 0;
    double width = 1;
    PenStyle dash = PenStyle::Solid;
  };
  // Strokes the lines gathered, then sets the fill colour where it changes.
  void Fill(TColor color);
  void UseLinePen();
  bool Stroked() const { return pen_.Style != PenStyle::None; }
  // Fill and pen set for a shape; false when it would show nothing.
  bool BeginShape();
  void Box(const DeviceRect& rect);
  void Number(double value, int decimals = 3);
  void Point(double x, double y);
  void DrawText(double x, double baseline, const std::string& text);
  double PenWidth() const;

  std::string& out_;
  IPdfTextSource& source_;
  PdfFonts& fonts_;
  PdfObjects& objects_;
  CanvasFont font_;
  CanvasPen pen_;
  BrushStyle brushStyle_ = BrushStyle::Clear;
  TColor brushColor_ = clWhite;
  double penX_ = 0;
  double penY_ = 0;
  bool pathOpen_ = false;  // lines gathered, not yet stroked
  State state_;
  std::vector<State> saved_;
};

}  // namespace bvr::pdf
