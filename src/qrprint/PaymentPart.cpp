#include "qrprint/PaymentPart.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "qrbill/Payload.h"
#include "qrbill/QrSymbol.h"
#include "qrbill/Validation.h"
#include "qrprint/PaymentPartTexts.h"
#include "qrprint/PrintedForms.h"

namespace bvr::qr {

namespace {

constexpr double kMmPerPt = 25.4 / 72.0;
constexpr const char* kFace = "Arial";  // Liberation Sans where no Arial is installed

// The sizes of one part's texts: headings bold, values regular, in points; a line of either
// advances by `line` points, and one empty line separates sections.
struct TextSizes {
  double heading;
  double value;
  double line;
};
constexpr TextSizes kReceiptSizes{6, 8, 9};
constexpr TextSizes kPaymentSizes{8, 10, 11};
constexpr double kTitleSize = 11;
constexpr double kAlternativeSize = 7;
constexpr double kAlternativeLine = 8;

// Millimetres from the bill's top-left corner.
struct Column {
  double x;
  double top;
  double width;
  double bottom;
};
constexpr Column kReceiptInfo{5, 12, 52, 68};
constexpr Column kPaymentInfo{118, 5, 87, 90};
constexpr double kReceiptAmountTop = 68;
constexpr double kReceiptAmountX = 18;
constexpr double kReceiptAcceptanceTop = 82;
constexpr double kReceiptRight = 57;
constexpr double kPaymentLeft = 67;
constexpr double kQrTop = 17;
constexpr double kPaymentAmountTop = 68;
constexpr double kPaymentAmountX = 82;
constexpr double kPaymentColumnRight = 118;  // where the information section begins
constexpr double kAlternativeTop = 90;
constexpr double kAlternativeWidth = 138;
constexpr double kTitleTop = 5;

// Blank fields: corner marks of 3 mm arms, 0.75 pt lines.
constexpr double kMarkArm = 3;
constexpr double kMarkLinePt = 0.75;
struct BoxSize {
  double width;
  double height;
};
constexpr BoxSize kReceiptAmountBox{30, 10};
constexpr BoxSize kPaymentAmountBox{40, 15};
constexpr BoxSize kReceiptDebtorBox{52, 20};
constexpr BoxSize kPaymentDebtorBox{65, 25};

constexpr double kSeparatorWidth = 0.2;  // mm
constexpr double kCrossFrame = 0.5;      // the white around the cross's black square, mm

CanvasFont Font(double size, bool bold) {
  CanvasFont font;
  font.Name = kFace;
  font.Size = size;
  font.Style = bold ? static_cast<TFontStyles>(fsBold) : 0;
  font.Color = clBlack;
  return font;
}

// Where a UTF-8 code point starting at i ends.
std::size_t NextCodePoint(const std::string& text, std::size_t i) {
  ++i;
  while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
    ++i;
  }
  return i;
}

// One pass over the bill's layout: measuring only (problems collected) or drawing.
class Layout {
 public:
  Layout(ICanvas& canvas, const Bill& bill, double left, double top, bool draw,
         const QrSymbol* symbol = nullptr)
      : canvas_(canvas),
        bill_(bill),
        texts_(TextsFor(bill.language)),
        left_(left),
        top_(top),
        scale_(canvas.PixelsPerInch() / 254.0),
        draw_(draw),
        symbol_(symbol) {}

  const Problems& problems() const { return problems_; }

  void Receipt() {
    Title(5, texts_.receipt);
    Section section(*this, kReceiptInfo, kReceiptSizes, "le récépissé");
    AccountAndReference(section);
    Debtor(section, kReceiptDebtorBox);
    Amount(5, kReceiptAmountX, kReceiptAmountTop, kReceiptSizes, kReceiptAmountBox, kReceiptRight);
    const CanvasFont heading = Font(kReceiptSizes.heading, true);
    const double width = WidthMm(heading, texts_.acceptancePoint);
    Text(heading, kReceiptRight - width, kReceiptAcceptanceTop, texts_.acceptancePoint);
  }

  void Payment() {
    Title(kPaymentLeft, texts_.paymentPart);
    Symbol();
    Amount(kPaymentLeft, kPaymentAmountX, kPaymentAmountTop, kPaymentSizes, kPaymentAmountBox,
           kPaymentColumnRight);
    Section section(*this, kPaymentInfo, kPaymentSizes, "la section paiement");
    AccountAndReference(section);
    if (!bill_.message.empty() || !bill_.billing.empty()) {
      section.Heading(texts_.additionalInformation);
      section.Value("message", bill_.message);
      section.Value("billing", bill_.billing);
      section.Gap();
    }
    Debtor(section, kPaymentDebtorBox);
    Alternatives();
  }

  void Separators(bool lineAbove) {
    if (!draw_) {
      return;
    }
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
  // A column of headed values, top to bottom; what passes its foot is a problem of the field
  // whose line passes it (once per field).
  class Section {
   public:
    Section(Layout& layout, Column column, TextSizes sizes, const char* where)
        : layout_(layout), column_(column), sizes_(sizes), where_(where), y_(column.top) {}

    void Heading(const char* text) {
      layout_.Text(Font(sizes_.heading, true), column_.x, y_, text);
      y_ += sizes_.line * kMmPerPt;
    }

    void Value(const std::string& field, const std::string& text) {
      const CanvasFont font = Font(sizes_.value, false);
      for (const std::string& line : layout_.Wrap(font, text, column_.width)) {
        const double bottom = y_ + sizes_.line * kMmPerPt;
        if (bottom > column_.bottom + 1e-9) {
          Overflow(field);
        } else {
          layout_.Text(font, column_.x, y_, line);
        }
        y_ = bottom;
      }
    }

    void Gap() { y_ += sizes_.line * kMmPerPt; }

    // A box of corner marks below the heading; a box that does not fit is the field's problem.
    void Box(const std::string& field, BoxSize box) {
      if (y_ + box.height > column_.bottom + 1e-9) {
        Overflow(field);
        return;
      }
      layout_.CornerMarks(column_.x, y_, box);
      y_ += box.height;
    }

   private:
    void Overflow(const std::string& field) {
      if (std::find(reported_.begin(), reported_.end(), field) != reported_.end()) {
        return;
      }
      reported_.push_back(field);
      layout_.problems_.push_back({field, std::string("texte trop long pour ") + where_ +
                                              " : il dépasse sa place, rien n'est coupé"});
    }

    Layout& layout_;
    Column column_;
    TextSizes sizes_;
    const char* where_;
    double y_;
    std::vector<std::string> reported_;
  };

  void AccountAndReference(Section& section) {
    section.Heading(texts_.account);
    section.Value("account", PrintedIban(bill_.account));
    Address(section, "creditor", bill_.creditor);
    section.Gap();
    if (bill_.referenceType != ReferenceType::NON) {
      section.Heading(texts_.reference);
      section.Value("reference", PrintedReference(bill_.referenceType, bill_.reference));
      section.Gap();
    }
  }

  void Debtor(Section& section, BoxSize blank) {
    if (bill_.debtor) {
      section.Heading(texts_.payableBy);
      Address(section, "debtor", *bill_.debtor);
    } else {
      section.Heading(texts_.payableByBlank);
      section.Box("debtor", blank);
    }
  }

  static void Address(Section& section, const std::string& prefix, const qr::Address& address) {
    for (const AddressLine& line : AddressLines(address)) {
      section.Value(prefix + "." + line.field, line.text);
    }
  }

  void Amount(double currencyX, double amountX, double top, TextSizes sizes, BoxSize blank,
              double right) {
    const CanvasFont heading = Font(sizes.heading, true);
    const CanvasFont value = Font(sizes.value, false);
    Text(heading, currencyX, top, texts_.currency);
    Text(heading, amountX, top, texts_.amount);
    const double valueTop = top + sizes.line * kMmPerPt;
    Text(value, currencyX, valueTop, bill_.currency);
    if (bill_.amount.empty()) {
      CornerMarks(right - blank.width, valueTop, blank);
    } else {
      Text(value, amountX, valueTop, PrintedAmount(bill_.amount));
    }
  }

  void Alternatives() {
    const CanvasFont font = Font(kAlternativeSize, false);
    double y = kAlternativeTop;
    for (std::size_t i = 0; i < bill_.alternatives.size(); ++i) {
      const std::string& text = bill_.alternatives[i];
      if (WidthMm(font, text) > kAlternativeWidth + 1e-9) {
        problems_.push_back({"alternatives[" + std::to_string(i) + "]",
                             "texte trop long pour le pied de la section paiement : il dépasse "
                             "sa place, rien n'est coupé"});
      }
      Text(font, kPaymentLeft, y, text);
      y += kAlternativeLine * kMmPerPt;
    }
  }

  void Title(double x, const char* text) { Text(Font(kTitleSize, true), x, kTitleTop, text); }

  // The modules in one call; the cross on top.
  void Symbol() {
    if (!draw_) {
      return;
    }
    std::optional<QrSymbol> made;
    if (symbol_ == nullptr) {
      made.emplace(MakeQrSymbol(BuildQrPayload(bill_)));
    }
    const QrSymbol& symbol = symbol_ != nullptr ? *symbol_ : *made;
    canvas_.FillCells(
        symbol.Modules(), symbol.Size(),
        Rect(kPaymentLeft, kQrTop, kPaymentLeft + kSymbolSideMm, kQrTop + kSymbolSideMm), clBlack);

    // The black square with the white cross, in the flag's proportions (arms 6 by 20 of 32).
    const SquareMm cross = QrSymbol::SwissCross();
    const double x0 = kPaymentLeft + cross.left;
    const double y0 = kQrTop + cross.top;
    const double s = cross.side;
    canvas_.FillRect(
        Rect(x0 - kCrossFrame, y0 - kCrossFrame, x0 + s + kCrossFrame, y0 + s + kCrossFrame),
        clWhite);
    canvas_.FillRect(Rect(x0, y0, x0 + s, y0 + s), clBlack);
    const double u = s / 32;
    canvas_.FillRects({Rect(x0 + 13 * u, y0 + 6 * u, x0 + 19 * u, y0 + 26 * u),
                       Rect(x0 + 6 * u, y0 + 13 * u, x0 + 26 * u, y0 + 19 * u)},
                      clWhite);
  }

  void CornerMarks(double x, double y, BoxSize box) {
    if (!draw_) {
      return;
    }
    CanvasPen pen;
    pen.Width = Device(kMarkLinePt * kMmPerPt);
    canvas_.SetPen(pen);
    const double r = x + box.width;
    const double b = y + box.height;
    Corner(x + kMarkArm, y, x, y, x, y + kMarkArm);
    Corner(r - kMarkArm, y, r, y, r, y + kMarkArm);
    Corner(x + kMarkArm, b, x, b, x, b - kMarkArm);
    Corner(r - kMarkArm, b, r, b, r, b - kMarkArm);
  }

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

  // Lines within width (mm): greedy at blanks, a word wider than the width broken between
  // characters.
  std::vector<std::string> Wrap(const CanvasFont& font, const std::string& text, double width) {
    std::vector<std::string> lines;
    if (text.empty()) {
      return lines;
    }
    canvas_.SetFont(font);
    const double limit = width * 10 * scale_;
    auto fits = [&](const std::string& s) { return canvas_.TextWidth(s) <= limit + 1e-9; };
    std::string line;
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = text.find(' ', pos);
      if (end == std::string::npos) {
        end = text.size();
      }
      std::string word = text.substr(pos, end - pos);
      pos = end + 1;
      const std::string candidate = line.empty() ? word : line + " " + word;
      if (fits(candidate)) {
        line = candidate;
        continue;
      }
      if (!line.empty()) {
        lines.push_back(line);
        line.clear();
      }
      while (!fits(word)) {
        std::size_t cut = 0;
        for (std::size_t next = NextCodePoint(word, 0); next <= word.size();
             next = NextCodePoint(word, next)) {
          if (!fits(word.substr(0, next))) {
            break;
          }
          cut = next;
          if (next == word.size()) {
            break;
          }
        }
        cut = std::max(cut, NextCodePoint(word, 0));  // one character at least: no endless loop
        lines.push_back(word.substr(0, cut));
        word.erase(0, cut);
      }
      line = word;
    }
    if (!line.empty()) {
      lines.push_back(line);
    }
    return lines;
  }

  double WidthMm(const CanvasFont& font, const std::string& text) {
    canvas_.SetFont(font);
    return canvas_.TextWidth(text) / (10 * scale_);
  }

  void Text(const CanvasFont& font, double x, double y, const std::string& text) {
    if (!draw_ || text.empty()) {
      return;
    }
    canvas_.SetFont(font);
    canvas_.TextOut(X(x), Y(y), text);
  }

  double X(double mm) const { return (left_ + mm * 10) * scale_; }
  double Y(double mm) const { return (top_ + mm * 10) * scale_; }
  double Device(double mm) const { return mm * 10 * scale_; }
  DeviceRect Rect(double x1, double y1, double x2, double y2) const {
    return {X(x1), Y(y1), X(x2), Y(y2)};
  }

  ICanvas& canvas_;
  const Bill& bill_;
  const PaymentPartTexts& texts_;
  double left_;
  double top_;
  double scale_;  // device units per tenth of a millimetre
  bool draw_;
  const QrSymbol* symbol_;
  Problems problems_;
};

}  // namespace

Problems FitProblems(const Bill& bill, ICanvas& canvas) {
  const CanvasFont font = canvas.Font();
  Layout layout(canvas, bill, 0, 0, false);
  layout.Receipt();
  layout.Payment();
  canvas.SetFont(font);
  return layout.problems();
}

Problems ValidateBillForPrinting(const Bill& bill, ICanvas& canvas) {
  Problems problems = ValidateBill(bill);
  const Problems fit = FitProblems(bill, canvas);
  problems.insert(problems.end(), fit.begin(), fit.end());
  return problems;
}

void DrawPaymentPart(ICanvas& canvas, const Bill& bill, double left, double top,
                     const PaymentPartOptions& options) {
  if (Problems problems = ValidateBillForPrinting(bill, canvas); !problems.empty()) {
    throw EBillInvalid(std::move(problems));
  }
  const CanvasFont font = canvas.Font();
  const CanvasPen pen = canvas.Pen();
  const BrushStyle brush = canvas.GetBrushStyle();
  canvas.SetBrushStyle(BrushStyle::Clear);  // texts over nothing: no cell painted behind them
  Layout layout(canvas, bill, left, top, true, options.symbol);
  layout.Receipt();
  layout.Payment();
  if (options.separators) {
    layout.Separators(options.lineAbove);
  }
  canvas.SetFont(font);
  canvas.SetPen(pen);
  canvas.SetBrushStyle(brush);
}

}  // namespace bvr::qr
