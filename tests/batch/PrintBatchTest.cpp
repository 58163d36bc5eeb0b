// The batch written as PDF and read back with pdftotext: where the text lands page after page,
// the slip alone on its page, and files that appear whole or not at all.
#include <gtest/gtest.h>

#include <QIODevice>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "batch/BatchPdf.h"
#include "batch/QrBatchPdf.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"
#include "print/UReportBVR.h"
#include "report/AtomicFile.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

namespace fs = std::filesystem;

constexpr double kPointsPerTenth = 72.0 / 254.0;

struct Word {
  double x = 0;
  double y = 0;
  std::string text;
};

struct PrintBatchTest : ::testing::Test {
  fs::path dir;
  TBvrProperties layout;

  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("bvr-batch-print-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    LoadDemonstrationLayout(layout);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Words of one page with their top-left corner in points.
  std::vector<Word> Words(const fs::path& pdf, int page) const {
    const fs::path out = dir / "bbox.html";
    const std::string p = std::to_string(page);
    const std::string command =
        "pdftotext -bbox -f " + p + " -l " + p + " " + pdf.string() + " " + out.string();
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(out);
    std::stringstream html;
    html << in.rdbuf();
    const std::string text = html.str();
    static const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re");
    std::vector<Word> words;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), word);
         it != std::sregex_iterator(); ++it) {
      words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
    }
    return words;
  }
};

// The coding line: one character a word, on the baseline of its last "&gt;".
std::vector<Word> CodingLine(const std::vector<Word>& words) {
  double y = -1;
  for (const Word& w : words) {
    if (w.text == "&gt;") {
      y = w.y;
    }
  }
  std::vector<Word> line;
  for (const Word& w : words) {
    if (w.y == y && w.text.size() <= 4) {
      line.push_back(w);
    }
  }
  return line;
}

std::vector<Payment> Payments(int count, int firstInvoice = 45687) {
  std::vector<Payment> payments;
  for (int i = 0; i < count; ++i) {
    Payment p;
    p.row = static_cast<std::size_t>(i + 1);
    p.invoice = std::to_string(firstInvoice + i);
    p.amount = 1000.0 + i;  // same number of digits on every page
    p.payer = {"Monsieur", "Jean Dupont " + std::to_string(i), "Chemin des Vignes 7"};
    payments.push_back(p);
  }
  return payments;
}

TEST_F(PrintBatchTest, CodingLineDoesNotDriftOverFiveHundredPages) {
  const fs::path pdf = dir / "many.pdf";
  WriteBatchPdfFile(pdf.string(), layout, Payments(500), {});
  const std::vector<Word> first = CodingLine(Words(pdf, 1));
  const std::vector<Word> last = CodingLine(Words(pdf, 500));
  ASSERT_EQ(first.size(), 52u);  // 53 characters, the blank gives no word
  ASSERT_EQ(last.size(), first.size());
  std::string firstText;
  std::string lastText;
  constexpr double kTolerance = 0.01 * 72.0 / 25.4;  // 0.01 mm in points
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_NEAR(last[i].x, first[i].x, kTolerance) << i;
    EXPECT_NEAR(last[i].y, first[i].y, kTolerance) << i;
    firstText += first[i].text;
    lastText += last[i].text;
  }
  // The same place, but not the same page.
  EXPECT_NE(firstText, lastText);
  EXPECT_NE(lastText.find("1499"), std::string::npos) << lastText;
}

TEST_F(PrintBatchTest, SlipPageHoldsTheInvoicePagesSlipAtItsCorner) {
  const std::vector<Payment> one = Payments(1);
  for (const SlipOffset offset : {SlipOffset{0, 0}, SlipOffset{37, -12}}) {
    SCOPED_TRACE(offset.dx);
    BatchSettings settings;
    settings.offset = offset;
    const fs::path invoicePdf = dir / "invoice.pdf";
    WriteBatchPdfFile(invoicePdf.string(), layout, one, settings);
    settings.page = BatchPage::Slip;
    const fs::path slipPdf = dir / "slip.pdf";
    WriteBatchPdfFile(slipPdf.string(), layout, one, settings);

    // The offset moves the slip on both pages alike: they differ by the unshifted origin.
    const TFormReportBVR report;
    const double dx = report.SlipRectOnPage().left() * kPointsPerTenth;
    const double dy = report.SlipRectOnPage().top() * kPointsPerTenth;
    const std::vector<Word> invoice = Words(invoicePdf, 1);
    const std::vector<Word> slip = Words(slipPdf, 1);
    ASSERT_GT(slip.size(), 60u);
    // Every word of the slip page is a word of the invoice page, moved by the slip's origin.
    std::size_t matched = 0;
    for (const Word& s : slip) {
      for (const Word& i : invoice) {
        if (i.text == s.text && std::abs(i.x - dx - s.x) < 0.02 &&
            std::abs(i.y - dy - s.y) < 0.02) {
          ++matched;
          break;
        }
      }
    }
    EXPECT_EQ(matched, slip.size());
    // And nothing of the invoice page above the slip.
    for (const Word& s : slip) {
      EXPECT_NE(s.text, "Exemple");
    }
  }
}

TEST_F(PrintBatchTest, BackgroundGetsTheSlipRectangleOfEitherPage) {
  TFormReportBVR report;
  report.VYKqrBVR.SetBvrProperties(&layout);
  report.VYKqrBVR.SlipOffsetX = 25;
  report.VYKqrBVR.SlipOffsetY = -8;
  std::vector<QRectF> seen;
  report.SlipBackground = [&seen](ICanvas&, const DeviceRect& r) {
    seen.push_back(QRectF(QPointF(r.Left, r.Top), QPointF(r.Right, r.Bottom)));
  };
  // 254 dots per inch: one device unit is one tenth of a millimetre.
  QImage image(2100, 2970, QImage::Format_RGB32);
  image.setDotsPerMeterX(10000);
  image.setDotsPerMeterY(10000);
  {
    QPainter painter(&image);
    report.PaintSlipPage(painter);
    report.PaintPage(painter);
  }
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], QRectF(25, -8, 2100, 1058));
  const QRectF onPage = report.SlipRectOnPage();
  EXPECT_EQ(seen[1], onPage);
  EXPECT_NEAR(onPage.top(), 2970 - 1108.604 + 50.271 - 8, 1e-9);
}

TEST_F(PrintBatchTest, FailedBatchLeavesNoFileAndKeepsTheOldOne) {
  const fs::path pdf = dir / "out.pdf";
  std::ofstream(pdf) << "old";
  std::vector<Payment> payments = Payments(20);
  payments.back().amount = 123456789.0;  // too large: the last page fails
  std::vector<std::size_t> done;
  try {
    WriteBatchPdfFile(pdf.string(), layout, payments, {},
                      [&done](std::size_t d, std::size_t) { done.push_back(d); });
    FAIL() << "no failure";
  } catch (const EBvrError& e) {
    EXPECT_NE(std::string(e.what()).find("Montant trop grand"), std::string::npos) << e.what();
  }
  EXPECT_EQ(done.size(), 19u);
  std::ifstream in(pdf);
  std::string content;
  in >> content;
  EXPECT_EQ(content, "old");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"out.pdf"});

  try {
    WriteBatchPdfFile((dir / "missing" / "out.pdf").string(), layout, Payments(1), {});
    FAIL() << "no failure";
  } catch (const EBvrError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"", 0), 0u) << e.what();
  }
}

TEST_F(PrintBatchTest, PaymentSourceMustGiveExactlyTheTotal) {
  // The second pass over a CSV that changed since the first gives fewer or more rows.
  const struct {
    std::size_t total;
    std::size_t given;
    bool ok;
  } cases[] = {{3, 3, true}, {3, 2, false}, {3, 4, false}, {1, 0, false}, {1, 5, false}};
  const std::vector<Payment> payments = Payments(5);
  const std::string changed = "CSV: the file changed while it was printed";
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.total) + " of " + std::to_string(c.given));
    fs::remove(dir / "s.pdf");
    std::size_t taken = 0;
    const PaymentSource next = [&](Payment& p) {
      if (taken == c.given) {
        return false;
      }
      p = payments[taken++];
      return true;
    };
    std::string message;
    try {
      WriteBatchPdfFile((dir / "s.pdf").string(), layout, c.total, next, {});
    } catch (const EBvrError& e) {
      message = e.what();
    }
    EXPECT_EQ(message, c.ok ? "" : changed);
    EXPECT_EQ(fs::exists(dir / "s.pdf"), c.ok);
    EXPECT_EQ(taken, std::min(c.given, c.total + 1));  // never asked beyond one too many
  }
}

TEST_F(PrintBatchTest, ProgressCountsEveryPage) {
  std::vector<std::size_t> done;
  std::size_t total = 0;
  WriteBatchPdfFile((dir / "p.pdf").string(), layout, Payments(7), {},
                    [&](std::size_t d, std::size_t t) {
                      done.push_back(d);
                      total = t;
                    });
  EXPECT_EQ(done, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(total, 7u);
}

}  // namespace
}  // namespace bvr

namespace bvr {
namespace {

// Takes the first capacity bytes, then refuses everything, as a disk that fills up.
class SmallDevice final : public QIODevice {
 public:
  explicit SmallDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly); }
  bool isSequential() const override { return true; }
  qint64 taken = 0;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 size) override {
    if (taken + size > capacity_) {
      return -1;
    }
    taken += size;
    return size;
  }

 private:
  qint64 capacity_;
};

TEST_F(PrintBatchTest, TheFirstRefusedPageStopsTheBatch) {
  constexpr int kTotal = 300;
  const std::vector<Payment> payments = Payments(kTotal);
  for (const qint64 capacity : {0, 1, 20000, 200000}) {
    SCOPED_TRACE(capacity);
    SmallDevice device(capacity);
    std::size_t done = 0;
    std::string detail;
    try {
      WriteBatchPdf(device, layout, payments, {},
                    [&done](std::size_t d, std::size_t) { done = d; });
    } catch (const EWriteStopped& e) {
      detail = e.Detail();
    }
    // Pages are handed to the device one by one: the batch stops right after the page whose
    // bytes were refused, having painted no further.
    EXPECT_EQ(detail, "stopped at page " + std::to_string(done) + " of " + std::to_string(kTotal));
    EXPECT_GE(done, 1u);
    EXPECT_LE(done, 2 + static_cast<std::size_t>(capacity) / 2000);  // a page takes over 2 kB
    EXPECT_LE(device.taken, capacity);
  }
}

// The QR-bill batch's own writer stops the same way, and a refusal while the fonts go out
// after the last page is no success either.
TEST(QrBatchOnASmallDevice, TheFirstRefusedPageStopsTheBatch) {
  constexpr std::size_t kTotal = 200;
  qr::Bill bill;
  bill.account = "CH9300762011623852957";
  bill.creditor = {"Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel", "CH"};
  bill.currency = "CHF";
  bill.amount = "12.50";
  QrBatchSettings settings;
  settings.page = QrBillPage::Bill;
  const auto source = [&] {
    return [&bill, given = std::size_t{0}](qr::Bill& next) mutable {
      next = bill;
      next.debtor =
          qr::Address{"Client " + std::to_string(given), "", "", "2000", "Neuchâtel", "CH"};
      return ++given <= kTotal;
    };
  };
  qint64 whole = 0;
  {
    SmallDevice device(std::numeric_limits<qint64>::max());
    WriteQrBatchPdf(device, kTotal, source(), settings);
    whole = device.taken;
  }
  for (const qint64 capacity : {qint64{0}, qint64{1}, qint64{20000}, whole - 100}) {
    SCOPED_TRACE(capacity);
    SmallDevice device(capacity);
    std::size_t done = 0;
    std::string detail;
    bool failed = false;
    try {
      WriteQrBatchPdf(device, kTotal, source(), settings,
                      [&done](std::size_t d, std::size_t) { done = d; });
    } catch (const EWriteStopped& e) {
      detail = e.Detail();
      failed = true;
    } catch (const EBvrError& e) {
      detail = e.what();
      failed = true;
    }
    EXPECT_TRUE(failed);
    if (done < kTotal) {
      EXPECT_EQ(detail,
                "stopped at page " + std::to_string(done) + " of " + std::to_string(kTotal));
      EXPECT_LE(done, 2 + static_cast<std::size_t>(capacity) / 1000);  // a page takes over 1 kB
    }
    EXPECT_LE(device.taken, capacity);
  }
}

}  // namespace
}  // namespace bvr
