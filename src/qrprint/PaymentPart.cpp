#include "qrprint/PaymentPart.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "qrbill/Payload.h"
#include "qrbill/QrSymbol.h"
#include "qrbill/Validation.h"
#include "qrprint/BillLayout.h"

namespace bvr::qr {

namespace {

constexpr double kMmPerPt = 25.4 / 72.0;
constexpr const char* kFace = "Arial";  // Liberation Sans where no Arial is installed
constexpr double kPaymentLeft = 67;
constexpr double kQrTop = 17;
constexpr double kTitleTop = 5;
constexpr double kMarkArm = 3;  // mm
constexpr double kMarkLinePt = 0.75;
constexpr double kSeparatorWidth = 0.2;  // mm

// The cross: a black square of 6 of the logo's 7 mm, framed in white; the white arms 0.65
// of the black square's side long and 0.19 of it wide.
constexpr double kCrossBlackShare = 6.0 / 7.0;
constexpr double kArmLength = 0.65;
constexpr double kArmWidth = 0.19;

// The canvas's own text widths, in the measure's units: for callers that give no fitter.
class CanvasMeasure final : public ITextMeasure {
 public:
  explicit CanvasMeasure(ICanvas& canvas) : canvas_(canvas) {}
  double Width(const CanvasFont& font, const std::string& text) const override {
    canvas_.SetFont(font);
    return canvas_.TextWidth(text) * 254 / canvas_.PixelsPerInch();
  }
  double Height(const CanvasFont& font) const override {
    canvas_.SetFont(font);
    return canvas_.TextHeight("") * 254 / canvas_.PixelsPerInch();
  }
  double Ascent(const CanvasFont& font) const override {
    canvas_.SetFont(font);
    return canvas_.TextAscent() * 254 / canvas_.PixelsPerInch();
  }

 private:
  ICanvas& canvas_;
};

// A bill's layout drawn on a canvas, millimetres converted to its device units.
class Painter {
 public:
  Painter(ICanvas& canvas, double left, double top, std::string face)
      : canvas_(canvas),
        left_(left),
        top_(top),
        scale_(canvas.PixelsPerInch() / 254.0),
        face_(std::move(face)) {}

  void Texts(const std::vector<LaidText>& texts) {
    for (const LaidText& text : texts) {
      CanvasFont font;
      font.Name = face_;
      font.Size = text.points;
      font.Style = text.bold ? static_cast<TFontStyles>(fsBold) : 0;
      font.Color = clBlack;
      font.Scalable = true;
      canvas_.SetFont(font);
      canvas_.TextOut(X(text.x), Y(text.y), text.text);
    }
  }

  // Corner marks of 3 mm arms, 0.75 pt lines.
  void Boxes(const std::vector<MarkBox>& boxes) {
    CanvasPen pen;
    pen.Width = Device(kMarkLinePt * kMmPerPt);
    canvas_.SetPen(pen);
    for (const MarkBox& box : boxes) {
      const double x = box.x;
      const double y = box.y;
      const double r = x + box.width;
      const double b = y + box.height;
      Corner(x + kMarkArm, y, x, y, x, y + kMarkArm);
      Corner(r - kMarkArm, y, r, y, r, y + kMarkArm);
      Corner(x + kMarkArm, b, x, b, x, b - kMarkArm);
      Corner(r - kMarkArm, b, r, b, r, b - kMarkArm);
    }
  }

  // The modules in one call; the cross on top.
  void Symbol(const QrSymbol& symbol) {
    canvas_.FillCells(
        symbol.Modules(), symbol.Size(),
        Rect(kPaymentLeft, kQrTop, kPaymentLeft + kSymbolSideMm, kQrTop + kSymbolSideMm), clBlack);
    const SquareMm logo = QrSymbol::SwissCross();
    const double cx = kPaymentLeft + logo.left + logo.side / 2;
    const double cy = kQrTop + logo.top + logo.side / 2;
    canvas_.FillRect(Square(cx, cy, logo.side, logo.side), clWhite);
    const double black = logo.side * kCrossBlackShare;
    canvas_.FillRect(Square(cx, cy, black, black), clBlack);
    const double length = black * kArmLength;
    const double width = black * kArmWidth;
    canvas_.FillRects({Square(cx, cy, width, length), Square(cx, cy, length, width)}, clWhite);
  }

  void Separators(bool lineAbove) {
    CanvasPen pen;
    pen.Width = Device(kSeparatorWidth);
    canvas_.SetPen(pen);
    if (lineAbove) {
      Line(0, 0, kBillWidth / 10, 0);
      Scissors(kReceiptWidth / 10 / 2, 0, false);
    }
    Line(kReceiptWidth / 10, 0, kReceiptWidth / 10, kBillHeight / 10);
    Scissors(kReceiptWidth / 10, kTitleTop + 3, true);
  }

 private:
  void Corner(double x1, double y1, double x2, double y2, double x3, double y3) {
    canvas_.MoveTo(X(x1), Y(y1));
    canvas_.LineTo(X(x2), Y(y2));
    canvas_.LineTo(X(x3), Y(y3));
  }

  // Scissors about 5 mm long centred on (cx, cy), blades to the right (or downwards), over a
  // white patch that interrupts the line.
  void Scissors(double cx, double cy, bool down) {
    auto at = [&](double along, double across, double& x, double& y) {
      x = down ? cx - across : cx + along;
      y = down ? cy + along : cy + across;
    };
    double ax = 0, ay = 0, bx = 0, by = 0;
    at(-2.8, -1.6, ax, ay);
    at(2.8, 1.6, bx, by);
    canvas_.FillRect(Rect(std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)),
                     clWhite);
    const BrushStyle brush = canvas_.GetBrushStyle();
    canvas_.SetBrushStyle(BrushStyle::Clear);
    for (double side : {-1.0, 1.0}) {
      double hx = 0, hy = 0;
      at(-1.9, 0.8 * side, hx, hy);
      canvas_.Ellipse(X(hx), Y(hy), Device(0.65), Device(0.65));
      double fx = 0, fy = 0, tx = 0, ty = 0;
      at(-1.25, 0.6 * side, fx, fy);
      at(2.6, -0.45 * side, tx, ty);
      Line(fx, fy, tx, ty);
    }
    canvas_.SetBrushStyle(brush);
  }

  void Line(double x1, double y1, double x2, double y2) {
    canvas_.MoveTo(X(x1), Y(y1));
    canvas_.LineTo(X(x2), Y(y2));
  }

  double X(double mm) const { return (left_ + mm * 10) * scale_; }
  double Y(double mm) const { return (top_ + mm * 10) * scale_; }
  double Device(double mm) const { return mm * 10 * scale_; }
  DeviceRect Rect(double x1, double y1, double x2, double y2) const {
    return {X(x1), Y(y1), X(x2), Y(y2)};
  }
  DeviceRect Square(double cx, double cy, double width, double height) const {
    return Rect(cx - width / 2, cy - height / 2, cx + width / 2, cy + height / 2);
  }

  ICanvas& canvas_;
  double left_;
  double top_;
  double scale_;  // device units per tenth of a millimetre
  std::string face_;
};

}  // namespace

void DrawPaymentPart(ICanvas& canvas, const Bill& bill, double left, double top,
                     const PaymentPartOptions& options) {
  if (Problems problems = ValidateBill(bill); !problems.empty()) {
    throw EBillInvalid(std::move(problems));
  }
  const CanvasFont font = canvas.Font();
  const CanvasPen pen = canvas.Pen();
  const BrushStyle brush = canvas.GetBrushStyle();
  std::optional<CanvasMeasure> canvasMeasure;
  std::optional<TextFitter> canvasFitter;
  if (options.fitter == nullptr) {
    canvasMeasure.emplace(canvas);
    canvasFitter.emplace(*canvasMeasure, kFace);
  }
  const TextFitter& fitter = options.fitter != nullptr ? *options.fitter : *canvasFitter;
  const BillLayout layout = LayOutBill(bill, fitter);

  canvas.SetBrushStyle(BrushStyle::Clear);  // texts over nothing: no cell painted behind them
  Painter painter(canvas, left, top, fitter.Face());
  painter.Texts(layout.texts);
  painter.Boxes(layout.boxes);
  std::optional<QrSymbol> made;
  if (options.symbol == nullptr) {
    made.emplace(MakeQrSymbol(BuildQrPayload(bill)));
  }
  painter.Symbol(options.symbol != nullptr ? *options.symbol : *made);
  if (options.separators) {
    painter.Separators(options.lineAbove);
  }
  canvas.SetFont(font);
  canvas.SetPen(pen);
  canvas.SetBrushStyle(brush);
}

}  // namespace bvr::qr
