// Every bill within the length rules prints, with the installed faces: a table of the longest
// texts per field, alone and together, in four languages, with and without amount and
// debtor, and 1,000 random bills near the limits. Each drawing, read back from the recording
// canvas, keeps every text inside its section, no two texts overlapping, none crossing a
// corner mark, a separator, the code or the cross, and no type below 6 pt.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "draw/RecordingCanvas.h"
#include "qrbill/Validation.h"
#include "qrprint/PaymentPart.h"
#include "report/QtFont.h"
#include "report/QtTextMeasure.h"

namespace bvr {
namespace {

using qr::Address;
using qr::Bill;
using qr::Language;

// Tenths of a millimetre.
struct Box {
  double left, top, right, bottom;
  bool Overlaps(const Box& o) const {
    constexpr double e = 1e-6;
    return left < o.right - e && o.left < right - e && top < o.bottom - e && o.top < bottom - e;
  }
  bool Inside(const Box& o) const {
    constexpr double e = 1e-6;
    return left >= o.left - e && right <= o.right + e && top >= o.top - e && bottom <= o.bottom + e;
  }
};

// A text's em box: its cell top and one em down (lines are at least 1.1 em apart).
Box TextBox(const CanvasOp& op) {
  return {op.X1, op.Y1, op.X1 + op.TextWidth, op.Y1 + op.Font.Size * 254 / 72};
}

Box ShapeBox(const CanvasOp& op) {
  const double half = op.kind == CanvasOp::Kind::Line ? op.Pen.Width / 2 : 0;
  return {std::min(op.X1, op.X2) - half, std::min(op.Y1, op.Y2) - half,
          std::max(op.X1, op.X2) + half, std::max(op.Y1, op.Y2) + half};
}

constexpr Box kReceipt{50, 50, 570, 1000};
constexpr Box kReceiptInfo{50, 120, 570, 680};
constexpr Box kPayment{670, 50, 2050, 1000};
constexpr Box kPaymentInfo{1180, 50, 2050, 900};

// Every failure names the bill (what) and the text.
void ExpectClear(const std::vector<CanvasOp>& ops, const std::string& what) {
  std::vector<const CanvasOp*> texts;
  std::vector<Box> shapes;
  for (const CanvasOp& op : ops) {
    if (op.kind == CanvasOp::Kind::Text) {
      texts.push_back(&op);
    } else if (op.kind == CanvasOp::Kind::Line || op.kind == CanvasOp::Kind::Fill ||
               op.kind == CanvasOp::Kind::Fills) {
      shapes.push_back(ShapeBox(op));
    }
  }
  ASSERT_GE(texts.size(), 12u) << what;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const CanvasOp& op = *texts[i];
    const Box box = TextBox(op);
    EXPECT_GE(op.Font.Size, 6.0) << what << ": " << op.Text;
    const bool receipt = op.X1 < 620;
    EXPECT_TRUE(box.Inside(receipt ? kReceipt : kPayment)) << what << ": " << op.Text;
    if (op.X1 == 50 && op.Y1 >= 120 && op.Y1 < 680) {
      EXPECT_TRUE(box.Inside(kReceiptInfo)) << what << ": " << op.Text;
    }
    if (op.X1 == 1180) {
      EXPECT_TRUE(box.Inside(kPaymentInfo)) << what << ": " << op.Text;
    }
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      EXPECT_FALSE(box.Overlaps(TextBox(*texts[j])))
          << what << ": " << op.Text << " / " << texts[j]->Text;
    }
    for (const Box& shape : shapes) {
      EXPECT_FALSE(box.Overlaps(shape))
          << what << ": " << op.Text << " crosses a shape at " << shape.left << "," << shape.top;
    }
  }
}

std::vector<CanvasOp> Draw(const Bill& bill) {
  InstallFontSubstitutions();
  static const QtTextMeasure measure;
  static const qr::TextFitter fitter(measure, "Arial");
  RecordingCanvas canvas(std::make_unique<QtTextMeasure>());
  qr::PaymentPartOptions options;
  options.fitter = &fitter;
  qr::DrawPaymentPart(canvas, bill, 0, 0, options);
  return canvas.Ops();
}

// Words of the letter, a blank every seventh character.
std::string Long(std::size_t length, char letter) {
  std::string text;
  while (text.size() < length) {
    text += text.size() % 7 == 6 ? ' ' : letter;
  }
  return text;
}

Address LongestAddress(char letter) {
  return {Long(70, letter),     Long(70, letter), std::string(16, '8'),
          std::string(16, '9'), Long(35, letter), "CH"};
}

Bill Base(Language language, bool amount, bool debtor) {
  Bill bill;
  bill.account = "CH4431999123000889012";
  bill.creditor = {"Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel", "CH"};
  bill.currency = "CHF";
  bill.referenceType = qr::ReferenceType::QRR;
  bill.reference = "210000000003139471430009017";
  bill.language = language;
  if (amount) {
    bill.amount = "999999999.99";
  }
  if (debtor) {
    bill.debtor = Address{"Pia Rutschmann", "Marktgasse", "28", "9400", "Rorschach", "CH"};
  }
  return bill;
}

TEST(QrBillFit, LongestTextsInEveryLanguageWithAndWithoutAmountAndDebtor) {
  struct Case {
    const char* what;
    std::function<void(Bill&, char)> change;
  };
  const std::vector<Case> cases = {
      {"as it is", [](Bill&, char) {}},
      {"creditor", [](Bill& b, char c) { b.creditor = LongestAddress(c); }},
      {"debtor",
       [](Bill& b, char c) {
         if (b.debtor) {
           b.debtor = LongestAddress(c);
         }
       }},
      {"message", [](Bill& b, char c) { b.message = Long(140, c); }},
      {"billing", [](Bill& b, char c) { b.billing = "//S1/10/" + std::string(132, c); }},
      {"alternatives",
       [](Bill& b, char c) {
         b.alternatives = {"Name AV1: " + Long(90, c), Long(100, c)};
       }},
      {"all together",
       [](Bill& b, char c) {
         b.creditor = LongestAddress(c);
         if (b.debtor) {
           b.debtor = LongestAddress(c);
         }
         b.message = Long(70, c);
         b.billing = "//S1/10/" + std::string(62, c);
         b.alternatives = {"Name AV1: " + Long(90, c), Long(100, c)};
       }},
  };
  for (const Case& c : cases) {
    for (Language language : {Language::fr, Language::de, Language::it, Language::en}) {
      for (bool amount : {true, false}) {
        for (bool debtor : {true, false}) {
          for (char letter : {'W', '@', 'e'}) {
            Bill bill = Base(language, amount, debtor);
            c.change(bill, letter);
            const std::string what = std::string(c.what) + " '" + letter + "' language " +
                                     std::to_string(static_cast<int>(language)) +
                                     (amount ? " amount" : "") + (debtor ? " debtor" : "");
            ASSERT_TRUE(qr::ValidateBill(bill).empty()) << what;
            ExpectClear(Draw(bill), what);
          }
        }
      }
    }
  }
}

// Random bills with texts near their limits, from letters of every width.
Bill RandomBill(std::mt19937& random) {
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const auto text = [&](int low, int high) {
    static const std::string kLetters = "WM@mwAaeil.:/0123456789 ";
    std::string t(static_cast<std::size_t>(pick(low, high)), ' ');
    for (char& c : t) {
      c = kLetters[static_cast<std::size_t>(pick(0, static_cast<int>(kLetters.size()) - 2))];
      c = pick(0, 6) == 0 && &c != &t.front() && &c != &t.back() ? ' ' : c;
    }
    return t;
  };
  const auto address = [&] {
    return Address{text(50, 70), text(50, 70), text(0, 16), text(4, 16), text(25, 35), "CH"};
  };
  Bill bill = Base(static_cast<Language>(pick(0, 3)), pick(0, 1) == 1, pick(0, 1) == 1);
  bill.creditor = address();
  if (bill.debtor) {
    bill.debtor = address();
  }
  bill.message = text(0, 140);
  bill.billing = text(0, 140 - static_cast<int>(bill.message.size()));
  for (int i = pick(0, 2); i > 0; --i) {
    bill.alternatives.push_back(text(80, 100));
  }
  return bill;
}

TEST(QrBillFit, ThousandRandomBillsNearTheLimits) {
  std::mt19937 random(25);
  int drawn = 0;
  while (drawn < 1000) {
    const Bill bill = RandomBill(random);
    if (!qr::ValidateBill(bill).empty()) {
      continue;  // too long for the code as a whole
    }
    ExpectClear(Draw(bill), "random bill " + std::to_string(drawn));
    ++drawn;
    if (HasFailure()) {
      return;
    }
  }
}

}  // namespace
}  // namespace bvr
