// Where the payment part puts things, read back from a recording canvas (tenths of a mm):
// symbol, cross, titles, headings, blank-field marks, separators, in each language and at
// two origins.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "BillSamples.h"
#include "draw/RecordingCanvas.h"
#include "qrbill/Payload.h"
#include "qrbill/QrSymbol.h"
#include "qrprint/PaymentPart.h"

namespace bvr::qr {
namespace {

using test::BlankBill;
using test::FullBill;

constexpr Language kLanguages[] = {Language::fr, Language::de, Language::it, Language::en};
// The bill alone on its page, and at the foot of an A4 page.
constexpr std::pair<double, double> kOrigins[] = {{0, 0}, {0, 1920}};

std::vector<CanvasOp> Draw(const Bill& bill, double left, double top,
                           PaymentPartOptions options = {}) {
  RecordingCanvas canvas(std::make_unique<test::NarrowMeasure>());
  DrawPaymentPart(canvas, bill, left, top, options);
  return canvas.Ops();
}

const CanvasOp* FindText(const std::vector<CanvasOp>& ops, const std::string& text) {
  for (const CanvasOp& op : ops) {
    if (op.kind == CanvasOp::Kind::Text && op.Text == text) {
      return &op;
    }
  }
  return nullptr;
}

bool IsMarkLine(const CanvasOp& op) {
  return op.kind == CanvasOp::Kind::Line && std::abs(op.Pen.Width - 0.75 * 254 / 72) < 1e-6;
}

TEST(PaymentPart, SymbolIs46mmAt67And17OfThePaymentPartInOneCall) {
  for (const auto& [left, top] : kOrigins) {
    const std::vector<CanvasOp> ops = Draw(FullBill(), left, top);
    std::vector<const CanvasOp*> fills;
    for (const CanvasOp& op : ops) {
      if (op.kind == CanvasOp::Kind::Fills && op.BrushColor == clBlack) {
        fills.push_back(&op);
      }
    }
    ASSERT_EQ(fills.size(), 1u) << "the modules in one call";
    const CanvasOp& modules = *fills.front();
    EXPECT_NEAR(modules.X1, left + 670, 1e-6);
    EXPECT_NEAR(modules.Y1, top + 170, 1e-6);
    EXPECT_NEAR(modules.X2, left + 1130, 1e-6);
    EXPECT_NEAR(modules.Y2, top + 630, 1e-6);

    // The runs give back the symbol module for module, none overlapping another.
    const QrSymbol symbol = MakeQrSymbol(BuildQrPayload(FullBill()));
    const double module = 460.0 / symbol.Size();
    std::vector<int> covered(static_cast<std::size_t>(symbol.Size() * symbol.Size()), 0);
    for (const DeviceRect& r : modules.Rects) {
      const int y = static_cast<int>(std::lround((r.Top - top - 170) / module));
      EXPECT_NEAR(r.Bottom - r.Top, module, 1e-6);
      for (int x = static_cast<int>(std::lround((r.Left - left - 670) / module));
           x < std::lround((r.Right - left - 670) / module); ++x) {
        ++covered[static_cast<std::size_t>(y * symbol.Size() + x)];
      }
    }
    int wrong = 0;
    for (int y = 0; y < symbol.Size(); ++y) {
      for (int x = 0; x < symbol.Size(); ++x) {
        wrong +=
            covered[static_cast<std::size_t>(y * symbol.Size() + x)] != (symbol.Dark(x, y) ? 1 : 0);
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

// The logo is 7 mm with its white border: a 6 mm black square, the white arms 0.65 by 0.19 of
// the black square's side, all centred on the symbol.
TEST(PaymentPart, SwissCrossIs7mmWithItsBorderOnTheSymbolCentre) {
  for (const auto& [left, top] : kOrigins) {
    const std::vector<CanvasOp> ops = Draw(FullBill(), left, top);
    const double cx = left + 670 + 230;
    const double cy = top + 170 + 230;
    struct Expected {
      TColor color;
      double side;
    };
    const Expected squares[] = {{clWhite, 70}, {clBlack, 60}};
    for (const Expected& e : squares) {
      const auto it = std::find_if(ops.begin(), ops.end(), [&](const CanvasOp& op) {
        return op.kind == CanvasOp::Kind::Fill && op.BrushColor == e.color &&
               std::abs(op.X2 - op.X1 - e.side) < 1e-6 && std::abs(op.Y2 - op.Y1 - e.side) < 1e-6;
      });
      ASSERT_NE(it, ops.end()) << e.side;
      EXPECT_NEAR((it->X1 + it->X2) / 2, cx, 1e-6);
      EXPECT_NEAR((it->Y1 + it->Y2) / 2, cy, 1e-6);
    }
    const auto arms = std::find_if(ops.begin(), ops.end(), [](const CanvasOp& op) {
      return op.kind == CanvasOp::Kind::Fills && op.BrushColor == clWhite;
    });
    ASSERT_NE(arms, ops.end());
    ASSERT_EQ(arms->Rects.size(), 2u);
    EXPECT_NEAR(arms->X2 - arms->X1, 60 * 0.65, 1e-6);
    EXPECT_NEAR(arms->Y2 - arms->Y1, 60 * 0.65, 1e-6);
    EXPECT_NEAR((arms->X1 + arms->X2) / 2, cx, 1e-6);
    EXPECT_NEAR((arms->Y1 + arms->Y2) / 2, cy, 1e-6);
    for (const DeviceRect& r : arms->Rects) {
      EXPECT_NEAR(std::min(r.Right - r.Left, r.Bottom - r.Top), 60 * 0.19, 1e-6);
    }
  }
}

TEST(PaymentPart, TitlesAndHeadingsInEachLanguage) {
  struct Case {
    Language language;
    const char* receipt;
    const char* payment;
    const char* account;
    const char* acceptance;
  };
  const Case cases[] = {
      {Language::fr, "Récépissé", "Section paiement", "Compte / Payable à", "Point de dépôt"},
      {Language::de, "Empfangsschein", "Zahlteil", "Konto / Zahlbar an", "Annahmestelle"},
      {Language::it, "Ricevuta", "Sezione pagamento", "Conto / Pagabile a",
       "Punto di accettazione"},
      {Language::en, "Receipt", "Payment part", "Account / Payable to", "Acceptance point"},
  };
  for (const Case& c : cases) {
    for (const auto& [left, top] : kOrigins) {
      const std::vector<CanvasOp> ops = Draw(FullBill(c.language), left, top);
      const CanvasOp* receipt = FindText(ops, c.receipt);
      const CanvasOp* payment = FindText(ops, c.payment);
      ASSERT_TRUE(receipt && payment) << c.receipt;
      EXPECT_NEAR(receipt->X1, left + 50, 1e-6);
      EXPECT_NEAR(receipt->Y1, top + 50, 1e-6);
      EXPECT_NEAR(payment->X1, left + 670, 1e-6);
      EXPECT_NEAR(payment->Y1, top + 50, 1e-6);
      for (const CanvasOp* title : {receipt, payment}) {
        EXPECT_EQ(title->Font.Size, 11);
        EXPECT_EQ(title->Font.Style, fsBold);
      }
      // The account heading twice: 6 pt on the receipt at 5 mm, 8 pt at 118 mm.
      std::vector<std::pair<double, double>> accounts;
      for (const CanvasOp& op : ops) {
        if (op.kind == CanvasOp::Kind::Text && op.Text == c.account) {
          accounts.push_back({op.X1 - left, op.Font.Size});
          EXPECT_EQ(op.Font.Style, fsBold);
        }
      }
      const std::vector<std::pair<double, double>> expected{{50, 6}, {1180, 8}};
      EXPECT_EQ(accounts, expected) << c.account;
      // The acceptance point ends at the receipt's right margin.
      const CanvasOp* acceptance = FindText(ops, c.acceptance);
      ASSERT_TRUE(acceptance);
      EXPECT_NEAR(acceptance->X1 + acceptance->TextWidth, left + 570, 1e-6);
      EXPECT_NEAR(acceptance->Y1, top + 820, 1e-6);
    }
  }
}

TEST(PaymentPart, ValuesInTheirPrintedFormsAndSizes) {
  const std::vector<CanvasOp> ops = Draw(FullBill(), 0, 0);
  struct Case {
    const char* text;
    std::vector<double> sizes;  // receipt, then payment part
  };
  const Case cases[] = {
      {"CH64 3196 1000 0044 2155 7", {8, 10}},
      {"00 00082 07791 22585 74212 86694", {8, 10}},
      {"1 949.75", {8, 10}},
      {"Musterstrasse 123", {8, 10}},
      {"8000 Seldwyla", {8, 10, 8, 10}},  // creditor and debtor
      {"Payment of travel", {10}},        // no message on the receipt
  };
  for (const Case& c : cases) {
    std::vector<double> sizes;
    for (const CanvasOp& op : ops) {
      if (op.kind == CanvasOp::Kind::Text && op.Text == c.text) {
        sizes.push_back(op.Font.Size);
        EXPECT_EQ(op.Font.Style, 0) << c.text;
      }
    }
    std::vector<double> expected = c.sizes;
    std::sort(sizes.begin(), sizes.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sizes, expected) << c.text;
  }
}

TEST(PaymentPart, AbsentValuesLoseTheirHeadings) {
  const std::vector<CanvasOp> ops = Draw(BlankBill(Language::en), 0, 0);
  for (const char* absent : {"Reference", "Additional information", "Payable by"}) {
    EXPECT_EQ(FindText(ops, absent), nullptr) << absent;
  }
  for (const char* present : {"Payable by (name/address)", "Currency", "Amount", "CHF"}) {
    EXPECT_NE(FindText(ops, present), nullptr) << present;
  }
}

// The corner-mark boxes of a blank amount and debtor: each box is four corners of two 3 mm
// arms; the box is found from the marks' bounds within its area of the bill.
TEST(PaymentPart, BlankAmountAndDebtorGetCornerMarks) {
  struct Area {
    const char* what;
    double x1, y1, x2, y2;  // where the box must lie, tenths of a mm from the bill's corner
    double width, height;
  };
  const Area areas[] = {
      {"receipt debtor", 50, 120, 570, 680, 520, 200},
      {"receipt amount", 50, 680, 570, 820, 300, 100},
      {"payment amount", 670, 680, 1180, 900, 400, 150},
      {"payment debtor", 1180, 50, 2050, 680, 650, 250},
  };
  for (const auto& [left, top] : kOrigins) {
    const std::vector<CanvasOp> blank = Draw(BlankBill(), left, top);
    const std::vector<CanvasOp> full = Draw(FullBill(), left, top);
    EXPECT_EQ(std::count_if(full.begin(), full.end(), IsMarkLine), 0);
    EXPECT_EQ(std::count_if(blank.begin(), blank.end(), IsMarkLine), 4 * 4 * 2);
    for (const Area& a : areas) {
      double x1 = 1e9, y1 = 1e9, x2 = -1e9, y2 = -1e9;
      int lines = 0;
      for (const CanvasOp& op : blank) {
        if (!IsMarkLine(op) || std::min(op.X1, op.X2) < left + a.x1 ||
            std::max(op.X1, op.X2) > left + a.x2 || std::min(op.Y1, op.Y2) < top + a.y1 ||
            std::max(op.Y1, op.Y2) > top + a.y2) {
          continue;
        }
        ++lines;
        EXPECT_NEAR(std::hypot(op.X2 - op.X1, op.Y2 - op.Y1), 30, 1e-6) << a.what;
        x1 = std::min({x1, op.X1, op.X2});
        y1 = std::min({y1, op.Y1, op.Y2});
        x2 = std::max({x2, op.X1, op.X2});
        y2 = std::max({y2, op.Y1, op.Y2});
      }
      EXPECT_EQ(lines, 8) << a.what;
      EXPECT_NEAR(x2 - x1, a.width, 1e-6) << a.what;
      EXPECT_NEAR(y2 - y1, a.height, 1e-6) << a.what;
    }
  }
}

TEST(PaymentPart, SeparatorsOnByDefaultAndSwitchable) {
  struct Case {
    PaymentPartOptions options;
    bool above, between;
    int rings;  // two for each pair of scissors
  };
  const Case cases[] = {
      {{}, true, true, 4},
      {{.separators = false}, false, false, 0},
      {{.lineAbove = false}, false, true, 2},
      {{.separators = false, .lineAbove = false}, false, false, 0},
  };
  for (const auto& [left, top] : kOrigins) {
    for (const Case& c : cases) {
      const std::vector<CanvasOp> ops = Draw(FullBill(), left, top, c.options);
      bool above = false, between = false;
      int ellipses = 0;
      for (const CanvasOp& op : ops) {
        above |= op.kind == CanvasOp::Kind::Line && op.Y1 == top && op.Y2 == top && op.X1 == left &&
                 op.X2 == left + 2100;
        between |= op.kind == CanvasOp::Kind::Line && op.X1 == left + 620 && op.X2 == left + 620 &&
                   op.Y1 == top && op.Y2 == top + 1050;
        ellipses += op.kind == CanvasOp::Kind::Ellipse;
      }
      EXPECT_EQ(above, c.above);
      EXPECT_EQ(between, c.between);
      EXPECT_EQ(ellipses, c.rings);
    }
  }
}

TEST(PaymentPart, InvalidBillDrawsNothing) {
  Bill bill = FullBill();
  bill.account = "CH64 3196 1000 0044 2155 8";
  RecordingCanvas canvas;
  EXPECT_THROW(DrawPaymentPart(canvas, bill, 0, 0), EBillInvalid);
  EXPECT_TRUE(canvas.Ops().empty());
}

TEST(PaymentPart, CanvasStateLeftAsItWas) {
  RecordingCanvas canvas;
  CanvasFont font;
  font.Name = "Courier New";
  font.Size = 9;
  CanvasPen pen;
  pen.Width = 7;
  canvas.SetFont(font);
  canvas.SetPen(pen);
  canvas.SetBrushColor(clWhite);
  DrawPaymentPart(canvas, BlankBill(), 0, 0);
  EXPECT_EQ(canvas.Font(), font);
  EXPECT_EQ(canvas.Pen(), pen);
  EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Solid);
  for (const CanvasOp& op : canvas.Ops()) {
    if (op.kind == CanvasOp::Kind::Text) {
      EXPECT_EQ(op.Brush, BrushStyle::Clear) << "no cell painted behind " << op.Text;
    }
  }
}

}  // namespace
}  // namespace bvr::qr
