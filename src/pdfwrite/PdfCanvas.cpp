#include "pdfwrite/PdfCanvas.h"

#include <algorithm>
#include <cmath>

#include "draw/CellOutline.h"
#include "pdfwrite/PdfSyntax.h"

namespace bvr::pdf {

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
// A quarter circle's control points lie this share of the radius from its ends.
constexpr double kKappa = 0.5522847498;

void AppendColor(std::string& out, std::uint32_t rgb, bool stroke) {
  const double r = ((rgb >> 16) & 0xFF) / 255.0;
  const double g = ((rgb >> 8) & 0xFF) / 255.0;
  const double b = (rgb & 0xFF) / 255.0;
  if (r == g && g == b) {
    AppendNumber(out, r);
    out += stroke ? " G\n" : " g\n";
    return;
  }
  for (const double v : {r, g, b}) {
    AppendNumber(out, v);
    out += ' ';
  }
  out += stroke ? "RG\n" : "rg\n";
}

}  // namespace

PdfCanvas::PdfCanvas(std::string& content, IPdfTextSource& source, PdfFonts& fonts,
                     PdfObjects& objects)
    : out_(content), source_(source), fonts_(fonts), objects_(objects) {
  // Black fill and stroke, 1 pt lines, solid: the PDF's own starting state. Line ends
  // squared like the other outputs' pens.
  out_ += "2 J\n";
}

void PdfCanvas::SetBrushColor(TColor color) {
  brushColor_ = color;
  brushStyle_ = BrushStyle::Solid;
}

void PdfCanvas::Number(double value, int decimals) {
  AppendNumber(out_, value, decimals);
}

void PdfCanvas::Point(double x, double y) {
  Number(x);
  out_ += ' ';
  Number(y);
  out_ += ' ';
}

void PdfCanvas::Box(const DeviceRect& rect) {
  Point(std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom));
  Point(std::fabs(rect.Right - rect.Left), std::fabs(rect.Bottom - rect.Top));
  out_ += "re\n";
}

void PdfCanvas::Fill(TColor color) {
  Flush();  // a fill never joins the lines gathered
  const std::uint32_t rgb = RgbOf(color);
  if (rgb != state_.fill) {
    state_.fill = rgb;
    AppendColor(out_, rgb, false);
  }
}

double PdfCanvas::PenWidth() const {
  return pen_.Width > 0 ? pen_.Width : 0.1 * kPointsPerMm;
}

void PdfCanvas::UseLinePen() {
  const std::uint32_t rgb = RgbOf(pen_.Color);
  const double width = PenWidth();
  const bool changes = rgb != state_.stroke || width != state_.width || pen_.Style != state_.dash;
  if (!changes) {
    return;
  }
  Flush();
  if (rgb != state_.stroke) {
    state_.stroke = rgb;
    AppendColor(out_, rgb, true);
  }
  if (width != state_.width) {
    state_.width = width;
    Number(width);
    out_ += " w\n";
  }
  if (pen_.Style != state_.dash) {
    state_.dash = pen_.Style;
    if (pen_.Style == PenStyle::Dash) {
      // Dashes four widths long, gaps two, as a dashed pen draws elsewhere.
      out_ += '[';
      Number(4 * width);
      out_ += ' ';
      Number(2 * width);
      out_ += "] 0 d\n";
    } else {
      out_ += "[] 0 d\n";
    }
  }
}

void PdfCanvas::Flush() {
  if (pathOpen_) {
    out_ += "S\n";
    pathOpen_ = false;
  }
}

bool PdfCanvas::BeginShape() {
  const bool filled = brushStyle_ == BrushStyle::Solid;
  if (!filled && !Stroked()) {
    return false;
  }
  if (filled) {
    Fill(brushColor_);
  }
  if (Stroked()) {
    UseLinePen();
  }
  Flush();
  return true;
}

void PdfCanvas::Rectangle(double x1, double y1, double x2, double y2) {
  if (!BeginShape()) {
    return;
  }
  const bool filled = brushStyle_ == BrushStyle::Solid;
  Box({x1, y1, x2, y2});
  out_ += filled ? (Stroked() ? "B\n" : "f\n") : "S\n";
}

void PdfCanvas::Ellipse(double centreX, double centreY, double radiusX, double radiusY) {
  if (!BeginShape()) {
    return;
  }
  const bool filled = brushStyle_ == BrushStyle::Solid;
  const double kx = radiusX * kKappa;
  const double ky = radiusY * kKappa;
  const double cx = centreX;
  const double cy = centreY;
  Point(cx + radiusX, cy);
  out_ += "m\n";
  const double curves[4][6] = {{cx + radiusX, cy + ky, cx + kx, cy + radiusY, cx, cy + radiusY},
                               {cx - kx, cy + radiusY, cx - radiusX, cy + ky, cx - radiusX, cy},
                               {cx - radiusX, cy - ky, cx - kx, cy - radiusY, cx, cy - radiusY},
                               {cx + kx, cy - radiusY, cx + radiusX, cy - ky, cx + radiusX, cy}};
  for (const auto& c : curves) {
    Point(c[0], c[1]);
    Point(c[2], c[3]);
    Point(c[4], c[5]);
    out_ += "c\n";
  }
  out_ += filled ? (Stroked() ? "b\n" : "f\n") : "s\n";
}

void PdfCanvas::FillRect(const DeviceRect& rect, TColor color) {
  Fill(color);
  Box(rect);
  out_ += "f\n";
}

void PdfCanvas::FillRects(const std::vector<DeviceRect>& rects, TColor color) {
  if (rects.empty()) {
    return;
  }
  Fill(color);
  for (const DeviceRect& rect : rects) {
    Box(rect);
  }
  out_ += "f\n";  // non-zero: overlapping rectangles are one shape
}

void PdfCanvas::FillCells(const std::vector<bool>& dark, int columns, const DeviceRect& target,
                          TColor color) {
  if (columns <= 0 || dark.empty()) {
    return;
  }
  const auto rows = static_cast<double>(dark.size() / static_cast<std::size_t>(columns));
  Fill(color);
  out_ += "q ";
  Number((target.Right - target.Left) / columns, 6);
  out_ += " 0 0 ";
  Number((target.Bottom - target.Top) / rows, 6);
  out_ += ' ';
  Point(target.Left, target.Top);
  out_ += "cm\n";
  for (const GridRect& r : CellRects(dark, columns)) {
    for (const int v : {r.x, r.y, r.width, r.height}) {
      AppendInteger(out_, v);
      out_ += ' ';
    }
    out_ += "re\n";
  }
  out_ += "f Q\n";
}

void PdfCanvas::MoveTo(double x, double y) {
  penX_ = x;
  penY_ = y;
}

void PdfCanvas::LineTo(double x, double y) {
  if (Stroked()) {
    UseLinePen();
    // Each line its own subpath with its own square ends, as lines are drawn elsewhere;
    // they are stroked together when something else is drawn.
    Point(penX_, penY_);
    out_ += "m ";
    Point(x, y);
    out_ += "l\n";
    pathOpen_ = true;
  }
  penX_ = x;
  penY_ = y;
}

void PdfCanvas::DrawText(double x, double baseline, const std::string& text) {
  const ShapedText& shaped = source_.Shape(font_, text);
  Fill(font_.Color);
  const double size = font_.Size;
  for (const ShapedRun& run : shaped.runs) {
    if (run.glyphs.empty()) {
      continue;
    }
    fonts_.Show(run);
    out_ += "BT /";
    out_ += fonts_.Name(run.face, objects_);
    out_ += ' ';
    Number(size);
    out_ += " Tf 1 0 0 -1 ";
    Point(x + run.x.front() * size / 1000.0, baseline);
    out_ += "Tm [<";
    for (std::size_t i = 0; i < run.glyphs.size(); ++i) {
      if (i > 0) {
        // The layout's position against the font's own advance, in thousandths of the em.
        const double shift = run.x[i - 1] + run.advances[i - 1] - run.x[i];
        if (std::fabs(shift) >= 0.05) {
          out_ += "> ";
          Number(shift, 1);
          out_ += " <";
        }
      }
      AppendHex4(out_, run.glyphs[i]);
    }
    out_ += ">] TJ ET\n";
  }
}

void PdfCanvas::TextOut(double x, double y, const std::string& text) {
  const TextLine line = source_.Line(font_);
  if (brushStyle_ == BrushStyle::Solid) {
    FillRect({x, y, x + TextWidth(text), y + line.height}, brushColor_);
  }
  DrawText(x, y + line.ascent, text);
}

void PdfCanvas::TextRect(const DeviceRect& clip, double x, double y, const std::string& text) {
  if (clip.Right <= clip.Left || clip.Bottom <= clip.Top) {
    return;
  }
  if (brushStyle_ == BrushStyle::Solid) {
    FillRect(clip, brushColor_);
  }
  PushClip(clip);
  DrawText(x, y + source_.Line(font_).ascent, text);
  PopClip();
}

double PdfCanvas::TextWidth(const std::string& text) {
  return source_.Width(font_, text);
}

double PdfCanvas::TextHeight(const std::string& /*text*/) {
  return source_.Line(font_).height;
}

double PdfCanvas::TextAscent() {
  return source_.Line(font_).ascent;
}

void PdfCanvas::PushClip(const DeviceRect& rect) {
  Flush();
  saved_.push_back(state_);
  out_ += "q ";
  Box(rect);
  out_ += "W n\n";
}

void PdfCanvas::PopClip() {
  if (saved_.empty()) {
    return;
  }
  Flush();
  out_ += "Q\n";
  state_ = saved_.back();
  saved_.pop_back();
}

}  // namespace bvr::pdf
