// The fitting steps a section takes, in order of loss, measured with a face of half an em a
// character and a whole em for 'W' (near a real face's widest): a table of bills from the
// recommended sizes down to the last resort.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BillSamples.h"
#include "qrprint/BillLayout.h"

namespace bvr::qr {
namespace {

class WideWMeasure final : public ITextMeasure {
 public:
  double Width(const CanvasFont& font, const std::string& text) const override {
    double em = 0;
    for (unsigned char c : text) {
      em += c == 'W' ? 1.0 : (c & 0xC0) == 0x80 ? 0 : 0.5;
    }
    return em * font.Size * 254 / 72;
  }
  double Height(const CanvasFont& font) const override { return font.Size * 1.15 * 254 / 72; }
  double Ascent(const CanvasFont& font) const override { return font.Size * 0.9 * 254 / 72; }
};

std::string Words(std::size_t length, char letter = 'a') {
  std::string text;
  while (text.size() < length) {
    text += text.size() % 8 == 7 ? ' ' : letter;
  }
  return text;
}

void Longest(Address& a, char letter) {
  a = {Words(70, letter),    Words(70, letter), std::string(16, '9'),
       std::string(16, '8'), Words(35, letter), "CH"};
}

// "value/heading" points, then the steps taken.
std::string Steps(const SectionFit& fit) {
  std::string text = std::to_string(fit.valuePoints).substr(0, 3) + "/" +
                     std::to_string(fit.headingPoints).substr(0, 3);
  if (fit.streetsLeftOut) {
    text += " streets";
  }
  if (fit.informationShortened) {
    text += " info...";
  }
  if (fit.lastResort) {
    text += " last";
  }
  return text;
}

TEST(Fit, StepsInOrderOfLoss) {
  struct Case {
    const char* what;
    std::function<void(Bill&)> change;
    const char* receipt;
    const char* payment;
  };
  // Worked by hand: at 8 pt a receipt line holds 36 half-em characters, at 6 pt 49 (or 24
  // W); the receipt's column is 56 mm high, the payment part's 85 mm.
  const std::vector<Case> cases = {
      {"as it is", [](Bill&) {}, "8.0/6.0", "10./8.0"},
      {"a name takes two lines at the recommended size",
       [](Bill& b) { b.creditor.name = Words(60); }, "8.0/6.0", "10./8.0"},
      {"longest addresses: smaller type, street kept",
       [](Bill& b) {
         Longest(b.creditor, 'a');
         Longest(*b.debtor, 'a');
       },
       "6.5/6.0", "9.5/7.5"},
      {"longest addresses and message",
       [](Bill& b) {
         Longest(b.creditor, 'a');
         Longest(*b.debtor, 'a');
         b.message = Words(140);
       },
       "6.5/6.0", "9.0/7.0"},
      {"widest streets, towns and message: the information ends in ...",
       [](Bill& b) {
         Longest(b.creditor, 'W');
         Longest(*b.debtor, 'W');
         b.creditor.name = Words(70);
         b.debtor->name = Words(70);
         b.message = Words(140, 'W');
       },
       "6.0/6.0", "8.0/6.0 info..."},
      {"widest post codes too: the receipt leaves out the streets",
       [](Bill& b) {
         for (Address* a : {&b.creditor, &*b.debtor}) {
           Longest(*a, 'W');
           a->name = Words(70);
           a->postcode = std::string(16, 'W');
         }
       },
       "7.5/6.0 streets", "8.0/6.0"},
      {"a name of 70 W: a third line as last resort",
       [](Bill& b) { b.creditor.name = std::string(70, 'W'); }, "6.0/6.0 streets last",
       "8.0/6.0 last"},
      {"longest creditor, no debtor: the blank box stays whole",
       [](Bill& b) {
         Longest(b.creditor, 'a');
         b.debtor.reset();
       },
       "6.0/6.0", "9.5/7.5"},
  };
  for (const Case& c : cases) {
    Bill bill = test::FullBill();
    c.change(bill);
    const WideWMeasure measure;
    const TextFitter fitter(measure, "Arial");
    const BillLayout layout = LayOutBill(bill, fitter);
    EXPECT_EQ(Steps(layout.receipt), c.receipt) << c.what;
    EXPECT_EQ(Steps(layout.payment), c.payment) << c.what;
  }
}

// What is shortened keeps its beginning and ends in "..." within its width; what is not
// shortened keeps every character across its lines.
TEST(Fit, ShortenedTextsKeepTheirBeginning) {
  const WideWMeasure measure;
  const TextFitter fitter(measure, "Arial");
  struct Case {
    std::string text;
    double width;
    std::string expected;
  };
  const Case cases[] = {
      {"abcdef", 100, "abcdef"},
      {"abcdefghij", 6 * 0.5 * 10 * 25.4 / 72, "abc..."},  // six half-ems at 10 pt
      {"ab  cdefgh", 7 * 0.5 * 10 * 25.4 / 72, "ab..."},   // blanks before "..." go
      {"WWWWWW", 5 * 0.5 * 10 * 25.4 / 72, "W..."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fitter.Shorten(c.text, 10, false, c.width), c.expected) << c.text;
  }
  const std::string message = Words(140, 'W');
  std::string joined;
  for (const std::string& line : fitter.Wrap(message, 8, false, 87)) {
    EXPECT_LE(fitter.WidthMm(line, 8, false), 87 + 1e-9) << line;
    joined += line + " ";
  }
  std::erase(joined, ' ');
  std::string expected = message;
  std::erase(expected, ' ');
  EXPECT_EQ(joined, expected);
}

// Alternative procedures: the name to its colon in bold, the rest regular right after it,
// shortened with "..." at 138 mm; a bill is never refused for them.
TEST(Fit, AlternativeProceduresBoldNameAndShortenedRest) {
  Bill bill = test::FullBill();
  bill.alternatives = {"eBill/B/41010560425610173", "Name AV1: " + Words(90, 'W')};
  const WideWMeasure measure;
  const TextFitter fitter(measure, "Arial");
  const BillLayout layout = LayOutBill(bill, fitter);
  std::vector<LaidText> foot;
  for (const LaidText& t : layout.texts) {
    if (t.y >= 90) {
      foot.push_back(t);
    }
  }
  ASSERT_EQ(foot.size(), 3u);
  EXPECT_EQ(foot[0].text, "eBill/B/41010560425610173");
  EXPECT_FALSE(foot[0].bold);
  EXPECT_EQ(foot[1].text, "Name AV1:");
  EXPECT_TRUE(foot[1].bold);
  EXPECT_FALSE(foot[2].bold);
  EXPECT_NEAR(foot[2].x, foot[1].x + fitter.WidthMm("Name AV1:", 7, true), 1e-9);
  EXPECT_TRUE(foot[2].text.ends_with("...")) << foot[2].text;
  EXPECT_LE(foot[2].x + fitter.WidthMm(foot[2].text, 7, false), 67 + 138 + 1e-9);
  EXPECT_TRUE(layout.alternativesShortened);
  for (const LaidText& t : foot) {
    EXPECT_EQ(t.points, 7);
  }
}

}  // namespace
}  // namespace bvr::qr
