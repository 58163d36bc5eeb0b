// Texts too long for their section: problems of their fields, never cut. Measured with the
// fixed-pitch canvas (0.6 em a character): 30 characters a line on the receipt (52 mm at
// 8 pt), 41 in the payment part's information (87 mm at 10 pt), 138 mm for an alternative
// procedure at 7 pt (93 characters).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BillSamples.h"
#include "draw/RecordingCanvas.h"
#include "qrprint/PaymentPart.h"

namespace bvr::qr {
namespace {

// "field @ part" for each problem, the part read from the message.
std::vector<std::string> Fields(const Problems& problems) {
  std::vector<std::string> out;
  for (const Problem& p : problems) {
    const char* part = p.message.find("pied") != std::string::npos               ? "foot"
                       : p.message.find("récépissé") != std::string::npos        ? "receipt"
                       : p.message.find("section paiement") != std::string::npos ? "payment"
                                                                                 : "?";
    out.push_back(p.field + " @ " + part);
  }
  return out;
}

std::string Words(std::size_t length) {
  std::string text;
  while (text.size() < length) {
    text += text.size() % 5 == 4 ? ' ' : 'a';
  }
  return text;
}

void LongestAddresses(Bill& bill) {
  for (Address* a : {&bill.creditor, &*bill.debtor}) {
    a->name = std::string(70, 'N');
    a->street = std::string(70, 'S');
    a->number = std::string(16, '9');
    a->postcode = std::string(16, '8');
    a->town = std::string(35, 'T');
  }
}

TEST(Fit, LongTextsAreProblemsOfTheirFields) {
  struct Case {
    const char* what;
    std::function<void(Bill&)> change;
    std::vector<std::string> problems;
  };
  const std::vector<Case> cases = {
      {"as it is", [](Bill&) {}, {}},
      {"message of 140 characters, four lines", [](Bill& b) { b.message = Words(140); }, {}},
      {"a word of 140 characters is broken, not refused",
       [](Bill& b) { b.message = std::string(140, 'x'); },
       {}},
      {"billing of 100 characters without blanks",
       [](Bill& b) {
         b.message = Words(40);
         b.billing = "//S1/10/" + std::string(92, '1');
       },
       {}},
      {"alternative of 93 characters fits", [](Bill& b) { b.alternatives = {Words(93)}; }, {}},
      {"second alternative too wide",
       [](Bill& b) {
         b.alternatives = {"eBill/B/x", Words(94)};
       },
       {"alternatives[1] @ foot"}},
      {"longest addresses: the receipt's debtor passes its foot",
       [](Bill& b) {
         LongestAddresses(b);
         b.message.clear();
       },
       {"debtor.name @ receipt", "debtor.street @ receipt", "debtor.town @ receipt"}},
      {"longest addresses and message: the payment part's debtor too",
       [](Bill& b) {
         LongestAddresses(b);
         b.message = Words(140);
       },
       {"debtor.name @ receipt", "debtor.street @ receipt", "debtor.town @ receipt",
        "debtor.name @ payment", "debtor.street @ payment", "debtor.town @ payment"}},
      {"longest creditor and no debtor: the blank box no longer fits",
       [](Bill& b) {
         LongestAddresses(b);
         b.debtor.reset();
       },
       {"debtor @ receipt", "debtor @ payment"}},
  };
  for (const Case& c : cases) {
    Bill bill = test::FullBill();
    c.change(bill);
    RecordingCanvas canvas;
    EXPECT_EQ(Fields(FitProblems(bill, canvas)), c.problems) << c.what;
    EXPECT_TRUE(canvas.Ops().empty()) << "measuring draws nothing: " << c.what;
  }
}

// What fits is drawn whole: the lines between the heading of the additional information
// and the next one hold the message's characters, each line within the section.
TEST(Fit, WrappedLinesKeepEveryCharacter) {
  auto blanksOut = [](std::string text) {
    std::erase(text, ' ');
    return text;
  };
  for (const std::string& message :
       {Words(140), std::string(140, 'x'), std::string("é") + Words(90)}) {
    Bill bill = test::FullBill();
    bill.message = message;
    RecordingCanvas canvas;
    DrawPaymentPart(canvas, bill, 0, 0);
    std::string joined;
    int lines = 0;
    bool inside = false;
    for (const CanvasOp& op : canvas.Ops()) {
      if (op.kind != CanvasOp::Kind::Text || op.X1 != 1180) {
        continue;
      }
      if (op.Font.Style == fsBold) {
        inside = op.Text == "Informations supplémentaires";
        continue;
      }
      if (inside) {
        joined += blanksOut(op.Text);
        ++lines;
        EXPECT_LE(op.TextWidth, 870 + 1e-6) << op.Text;
      }
    }
    EXPECT_EQ(joined, blanksOut(message)) << message;
    EXPECT_EQ(lines, message.size() > 123 ? 4 : 3) << message;
  }
}

TEST(Fit, PrintingValidationListsRulesThenFit) {
  Bill bill = test::FullBill();
  bill.currency = "USD";
  bill.alternatives = {Words(94)};
  RecordingCanvas canvas;
  const Problems problems = ValidateBillForPrinting(bill, canvas);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].field, "currency");
  EXPECT_EQ(problems[1].field, "alternatives[0]");
  EXPECT_THROW(DrawPaymentPart(canvas, bill, 0, 0), EBillInvalid);
}

}  // namespace
}  // namespace bvr::qr
