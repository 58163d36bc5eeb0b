#include "draw/SlipFormPicture.h"

#include <algorithm>
#include <string>

namespace bvr {

namespace {

// Everything below is in slip units: tenths of a millimetre from the top-left corner.
constexpr double kWidth = 2100;
constexpr double kHeight = 1058;
constexpr double kReceiptRight = 605;  // the perforation between receipt and payment part
constexpr double kHalfDivide = 1200;   // payment part: creditor/amount | reference/payer
constexpr double kBandTop = 830;       // white band that carries the coding line

constexpr TColor Rgb(int r, int g, int b) {
  return static_cast<TColor>(r | (g << 8) | (b << 16));
}

constexpr TColor kBackground = Rgb(253, 218, 178);
constexpr TColor kField = Rgb(255, 234, 210);
constexpr TColor kInk = Rgb(222, 112, 36);
constexpr TColor kText = Rgb(128, 52, 12);

class FormPainter {
 public:
  FormPainter(ICanvas& canvas, const DeviceRect& target)
      : c_(canvas),
        left_(target.Left),
        top_(target.Top),
        sx_((target.Right - target.Left) / kWidth),
        sy_((target.Bottom - target.Top) / kHeight) {}

  void Frame() {
    c_.FillRect(Box(0, 0, kWidth, kHeight), kBackground);
    c_.FillRect(Box(kReceiptRight, kBandTop, kWidth, kHeight), clWhite);
    SetPen(3, PenStyle::Dash);
    Line(kReceiptRight, 0, kReceiptRight, kHeight);
    SetPen(2);
    Line(kHalfDivide, 20, kHalfDivide, kBandTop - 20);
  }

  void Receipt() {
    Text(25, 40, 38, "Récépissé", true);
    Text(25, 72, 28, "Versement pour");
    Field(15, 78, 590, 385, 3);
    Text(25, 452, 30, "Compte");
    Field(250, 392, 590, 485, 3);
    AmountBoxes(15, 430, 475, 590);
    Text(25, 678, 28, "Versement par");  // below the reference line
    SetPen(4, PenStyle::Dash);
    c_.SetBrushStyle(BrushStyle::Clear);
    c_.Ellipse(X(115), Y(972), 72 * sx_, 72 * sy_);
    Text(200, 1030, 26, "L'office de dépôt");
  }

  void PaymentLeft() {
    Text(630, 40, 38, "Versement", true);
    Text(630, 72, 28, "Versement pour");
    Field(625, 78, 1190, 385, 3);
    Text(635, 452, 30, "Compte");
    Field(850, 392, 1190, 485, 3);
    AmountBoxes(625, 1040, 1085, 1190);
  }

  void PaymentRight() {
    Text(1230, 40, 38, "Virement", true);
    Text(1230, 72, 28, "Communications");
    Field(1225, 78, 2075, 290, 3);
    Text(1230, 314, 28, "Référence");
    Field(1220, 320, 2075, 420, 5);
    Text(1230, 492, 28, "Versement par");
    Brackets(1225, 500, 2075, 815, 40);
  }

 private:
  double X(double x) const { return left_ + x * sx_; }
  double Y(double y) const { return top_ + y * sy_; }
  DeviceRect Box(double x1, double y1, double x2, double y2) const {
    return {X(x1), Y(y1), X(x2), Y(y2)};
  }

  // A line of at least one device unit, so that a small picture keeps visible strokes while
  // a printer at high resolution gets the true width.
  void SetPen(double width, PenStyle style = PenStyle::Solid) {
    c_.SetPen({kInk, std::max(width * std::max(sx_, sy_), 1.0), style});
  }

  void Line(double x1, double y1, double x2, double y2) {
    c_.MoveTo(X(x1), Y(y1));
    c_.LineTo(X(x2), Y(y2));
  }

  void Field(double x1, double y1, double x2, double y2, double border) {
    SetPen(border);
    c_.SetBrushColor(kField);
    c_.Rectangle(X(x1), Y(y1), X(x2), Y(y2));
  }

  // Placed by its baseline; height is the face's pixel size in slip units.
  void Text(double x, double baseline, double height, const std::string& text, bool bold = false) {
    CanvasFont font;
    font.Name = "Liberation Sans";
    font.Size = height * sy_ * 72.0 / c_.PixelsPerInch();
    font.Style = bold ? fsBold : 0;
    font.Color = kText;
    c_.SetFont(font);
    c_.SetBrushStyle(BrushStyle::Clear);
    c_.TextOut(X(x), Y(baseline) - c_.TextAscent(), text);
  }

  // Francs box, a printed dot, centimes box; faint ticks mark the digit cells.
  void AmountBoxes(double left, double francsRight, double centsLeft, double right) {
    const double top = 495;
    const double bottom = 588;
    Field(left, top, francsRight, bottom, 5);
    Field(centsLeft, top, right, bottom, 5);
    SetPen(2);
    const double cell = (francsRight - left) / 8;
    for (int i = 1; i < 8; ++i) {
      const double x = left + i * cell;
      Line(x, bottom - 14, x, bottom);
    }
    const double mid = (centsLeft + right) / 2;
    Line(mid, bottom - 14, mid, bottom);
    c_.SetPen({kInk, 0, PenStyle::None});
    c_.SetBrushColor(kInk);
    c_.Ellipse(X((francsRight + centsLeft) / 2), Y(bottom - 12), 7 * sx_, 7 * sy_);
    Text(left + 8, top + 30, 26, "CHF");
  }

  // Corner brackets that mark the payer's address area.
  void Brackets(double x1, double y1, double x2, double y2, double arm) {
    SetPen(5);
    const double xs[4] = {x1, x2, x2, x1};
    const double ys[4] = {y1, y1, y2, y2};
    const double dx[4] = {1, -1, -1, 1};
    const double dy[4] = {1, 1, -1, -1};
    for (int i = 0; i < 4; ++i) {
      Line(xs[i], ys[i], xs[i] + dx[i] * arm, ys[i]);
      Line(xs[i], ys[i], xs[i], ys[i] + dy[i] * arm);
    }
  }

  ICanvas& c_;
  double left_;
  double top_;
  double sx_;
  double sy_;
};

// Puts back what the form changes on the canvas.
class CanvasStateKeeper {
 public:
  explicit CanvasStateKeeper(ICanvas& canvas)
      : c_(canvas),
        pen_(canvas.Pen()),
        font_(canvas.Font()),
        brush_(canvas.GetBrushStyle()),
        brushColor_(canvas.BrushColor()) {}
  ~CanvasStateKeeper() {
    c_.SetPen(pen_);
    c_.SetFont(font_);
    c_.SetBrushColor(brushColor_);
    c_.SetBrushStyle(brush_);
  }
  CanvasStateKeeper(const CanvasStateKeeper&) = delete;
  CanvasStateKeeper& operator=(const CanvasStateKeeper&) = delete;

 private:
  ICanvas& c_;
  CanvasPen pen_;
  CanvasFont font_;
  BrushStyle brush_;
  TColor brushColor_;
};

}  // namespace

void PaintSlipForm(ICanvas& canvas, const DeviceRect& target) {
  // The negated form also refuses NaN.
  if (!(target.Right > target.Left) || !(target.Bottom > target.Top)) {
    return;
  }
  const CanvasStateKeeper keeper(canvas);
  canvas.PushClip(target);
  FormPainter form(canvas, target);
  form.Frame();
  form.Receipt();
  form.PaymentLeft();
  form.PaymentRight();
  canvas.PopClip();
}

}  // namespace bvr
