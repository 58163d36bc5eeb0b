// The drawing surface the report controls paint on, in device units of the output device.
// One implementation paints with QPainter; a recording one keeps the calls for tests.
#pragma once

#include <string>
#include <vector>

#include "model/Font.h"

namespace bvr {

// The canvas font: like the model font, but with a fractional size in points so that a face
// can be scaled to a required pitch.
struct CanvasFont {
  std::string Name = "Arial";
  double Size = 10.0;  // points
  TFontStyles Style = 0;
  TColor Color = clBlack;
  TFontCharset Charset = DEFAULT_CHARSET;
  // Widths in proportion to the size on every device (no hinting): a layout made once in
  // points then holds at any resolution.
  bool Scalable = false;

  // Whole points, as line spacing rules use them.
  int WholePoints() const;
  bool operator==(const CanvasFont&) const = default;
};

// The whole description of a model font, size taken in whole points.
CanvasFont ToCanvasFont(const TFont& font);

// The characters of a UTF-8 text, one string each, as TextCells places them.
std::vector<std::string> CellCharacters(const std::string& text);

enum class BrushStyle { Clear, Solid };

enum class PenStyle { Solid, Dash, None };

// Width in device units; zero or less is the default line of 0.1 mm at the canvas's resolution.
struct CanvasPen {
  TColor Color = clBlack;
  double Width = 0;
  PenStyle Style = PenStyle::Solid;
  bool operator==(const CanvasPen&) const = default;
};

struct DeviceRect {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
  bool operator==(const DeviceRect&) const = default;
};

class ICanvas {
 public:
  virtual ~ICanvas() = default;

  virtual void SetFont(const CanvasFont& font) = 0;
  virtual const CanvasFont& Font() const = 0;

  // A clear fill paints nothing behind shapes and text; giving the fill a colour makes it solid.
  virtual void SetBrushStyle(BrushStyle style) = 0;
  virtual void SetBrushColor(TColor color) = 0;
  virtual BrushStyle GetBrushStyle() const = 0;
  virtual TColor BrushColor() const = 0;

  virtual void SetPen(const CanvasPen& pen) = 0;
  virtual const CanvasPen& Pen() const = 0;

  // Outlined with the pen, filled with the fill when it is solid.
  virtual void Rectangle(double x1, double y1, double x2, double y2) = 0;
  virtual void Ellipse(double centreX, double centreY, double radiusX, double radiusY) = 0;
  // Painted in the colour, no outline; pen and fill stay as they are.
  virtual void FillRect(const DeviceRect& rect, TColor color) = 0;
  // The rectangles painted as one shape: touching ones leave no seam between them (a QR
  // code's modules). By default one FillRect each.
  virtual void FillRects(const std::vector<DeviceRect>& rects, TColor color);
  // A grid of cells, row by row from the top left, columns wide, stretched over target: the
  // dark ones painted in the colour (a QR code's modules). The others are left as they are,
  // or painted white where a device draws the grid as an image. By default one FillRects
  // call, a rectangle per run of dark cells in a row.
  virtual void FillCells(const std::vector<bool>& dark, int columns, const DeviceRect& target,
                         TColor color);
  virtual void MoveTo(double x, double y) = 0;
  virtual void LineTo(double x, double y) = 0;

  // Every text is placed by its top-left corner (cell top, not baseline). With a solid fill
  // the text's cell (TextOut) or the rectangle (TextRect) is painted in the fill colour first.
  virtual void TextOut(double x, double y, const std::string& text) = 0;
  virtual void TextRect(const DeviceRect& clip, double x, double y, const std::string& text) = 0;
  // Each character of text in its own cell of pitch device units, the last cell's right edge
  // at right, whatever the face's own advances: one text item per character, so that each
  // stays readable on its own in a PDF.
  virtual void TextCells(double right, double y, double pitch, const std::string& text);
  virtual double TextWidth(const std::string& text) = 0;
  virtual double TextHeight(const std::string& text) = 0;
  // From the cell top to the baseline, in the current font.
  virtual double TextAscent() = 0;

  // Everything drawn until the matching PopClip() is cut at the rectangle (within any clip
  // already pushed).
  virtual void PushClip(const DeviceRect& rect) = 0;
  virtual void PopClip() = 0;

  // Device units per inch (the font's resolution too).
  virtual double PixelsPerInch() const = 0;
};

}  // namespace bvr
