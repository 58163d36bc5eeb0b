// The QR-bill's pages as a scanner and a viewer see them: the symbol decoded by ZXing from the
// PNG, the PDF (rendered by pdftoppm) and the SVG (rendered by Qt), and the geometry read
// back from a 600 dpi raster and from the PDF's words.
#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cmath>
#include <string>

#include "print/QrBillReport.h"
#include "qrbill/Payload.h"
#include "qrbill/Validation.h"
#include "report/QtFont.h"
#include "report/SvgExport.h"

namespace bvr {
namespace {

using qr::Language;

constexpr Language kLanguages[] = {Language::fr, Language::de, Language::it, Language::en};
constexpr QrBillPage kPages[] = {QrBillPage::A4, QrBillPage::Bill};

qr::Bill SampleBill(Language language, bool blank) {
  qr::Bill bill;
  bill.account = "CH4431999123000889012";
  bill.creditor = {"Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel", "CH"};
  bill.currency = "CHF";
  bill.referenceType = qr::ReferenceType::QRR;
  bill.reference = "210000000003139471430009017";
  bill.language = language;
  if (!blank) {
    bill.amount = "1949.75";
    bill.debtor = qr::Address{
        "Pia-Maria Rutschmann-Schnyder", "Grosse Marktgasse", "28", "9400", "Rorschach", "CH"};
    bill.message = "Auftrag vom 15.06.2020";
    bill.billing = "//S1/10/10201409/11/200701/20/140.000-53/30/102673831/31/200615";
    bill.alternatives = {"eBill/B/41010560425610173"};
  }
  return bill;
}

// Every text at its longest, in the widest letter: names on three lines, smaller type, the
// receipt without street, the information cut, the procedures shortened.
qr::Bill LongestBill(Language language) {
  qr::Bill bill = SampleBill(language, false);
  bill.creditor = {std::string(70, 'W'), std::string(70, 'W'), std::string(16, '9'),
                   std::string(16, '8'), std::string(35, 'W'), "CH"};
  bill.message = std::string(70, 'W');
  bill.billing = "//S1/10/" + std::string(62, '1');
  bill.alternatives = {"Name AV1: " + std::string(90, 'W'), std::string(100, 'W')};
  return bill;
}

struct Page {
  explicit Page(QrBillPage page, const qr::Bill& bill, bool separators = true) : report(page) {
    InstallFontSubstitutions();
    report.QrBill.Bill = bill;
    report.QrBill.Options.separators = separators;
  }
  TQrBillReport report;
};

std::string Decode(const QImage& image) {
  const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
  const ZXing::Result r =
      ZXing::ReadBarcode({gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                          static_cast<int>(gray.bytesPerLine())},
                         ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
  EXPECT_TRUE(r.isValid());
  return std::string(r.bytes().begin(), r.bytes().end());
}

// The bill's PDF as every command writes it.
QByteArray Pdf(TQrBillReport& report) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  report.WritePdf(buffer);
  return bytes;
}

// The same page painted through Qt's own PDF engine.
QByteArray PaintedPdf(TQrBillReport& report) {
  report.MatchBill();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  report.QuickRep.ExportToPdf(buffer);
  return bytes;
}

bool Have(const char* tool) {
  return !QStandardPaths::findExecutable(tool).isEmpty();
}

// A PDF written into a temporary folder, for poppler's tools to read.
struct PdfOnDisk {
  explicit PdfOnDisk(const QByteArray& pdf) : path(dir.filePath("page.pdf")) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(pdf);
  }
  // The tool's standard output, run as: tool before... FILE after...
  QString Run(const QString& tool, const QStringList& before, const QStringList& after,
              int timeoutMs) const {
    QProcess p;
    p.start(tool, before + QStringList{path} + after);
    EXPECT_TRUE(p.waitForFinished(timeoutMs)) << tool.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
  }

  QTemporaryDir dir;
  QString path;
};

// pdftoppm's PNG of the PDF's page.
QImage Rasterised(const QByteArray& pdf, int dpi = 300) {
  const PdfOnDisk file(pdf);
  file.Run("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile"},
           {file.dir.filePath("page")}, 60000);
  QImageReader::setAllocationLimit(512);  // an A4 page at 600 dpi passes the 128 MB default
  return QImage(file.dir.filePath("page.png"));
}

TEST(QrBillPage, SymbolDecodesToThePayloadInEachLanguageOnBothPages) {
  const bool pdftoppm = Have("pdftoppm");
  for (Language language : kLanguages) {
    for (QrBillPage kind : kPages) {
      const qr::Bill bill = SampleBill(language, language == Language::it);
      const std::string payload = qr::BuildQrPayload(bill);
      Page page(kind, bill);
      const std::string what =
          std::string(qr::LanguageCode(language)) + (kind == QrBillPage::A4 ? " a4" : " bill");
      EXPECT_EQ(Decode(page.report.RenderToImage(300)), payload) << "PNG " << what;
      if (pdftoppm) {
        EXPECT_EQ(Decode(Rasterised(Pdf(page.report))), payload) << "PDF " << what;
      }
    }
  }
  if (!pdftoppm) {
    GTEST_SKIP() << "pdftoppm missing: the PDF was not decoded";
  }
}

TEST(QrBillPage, SvgDecodesAndHasThePageSize) {
  const qr::Bill bill = SampleBill(Language::de, false);
  for (QrBillPage kind : kPages) {
    Page page(kind, bill);
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    ExportToSvg(page.report.QuickRep, buffer);
    const char* size = kind == QrBillPage::A4 ? R"(width="210mm" height="297mm")"
                                              : R"(width="210mm" height="105mm")";
    EXPECT_TRUE(svg.contains(size)) << svg.left(300).toStdString();
    EXPECT_TRUE(svg.contains(R"(font-family="Liberation Sans, Arial, Helvetica, sans-serif")"));
    EXPECT_FALSE(svg.contains(R"(font-family="Arial")"));
    EXPECT_FALSE(svg.contains("<image")) << "the code as a path";
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    const double scale = 300 / 25.4;  // pixels per mm
    QImage image(static_cast<int>(std::lround(210 * scale)),
                 static_cast<int>(std::lround((kind == QrBillPage::A4 ? 297 : 105) * scale)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    EXPECT_EQ(Decode(image), qr::BuildQrPayload(bill));
  }
}

// The page's SVG rendered by Qt at dpi.
QImage SvgRaster(TQuickRep& report, int dpi) {
  QByteArray svg;
  QBuffer buffer(&svg);
  buffer.open(QIODevice::WriteOnly);
  ExportToSvg(report, buffer);
  QSvgRenderer renderer(svg);
  QImage image(static_cast<int>(std::lround(report.PaperWidth / 254.0 * dpi)),
               static_cast<int>(std::lround(report.PaperLength / 254.0 * dpi)),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  return image;
}

// Millimetres of dark pixels on a 600 dpi raster of the page.
class Raster {
 public:
  explicit Raster(QImage image) : image_(image.convertToFormat(QImage::Format_Grayscale8)) {}
  static constexpr double kDotsPerMm = 600 / 25.4;

  bool Dark(double xMm, double yMm) const {
    const int x = static_cast<int>(xMm * kDotsPerMm);
    const int y = static_cast<int>(yMm * kDotsPerMm);
    return image_.constScanLine(y)[x] < 128;
  }
  // The bounds of the dark pixels within the rectangle, mm: left, top, right, bottom.
  std::array<double, 4> DarkBounds(double x1, double y1, double x2, double y2) const {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    for (int y = static_cast<int>(y1 * kDotsPerMm); y < y2 * kDotsPerMm; ++y) {
      const uchar* line = image_.constScanLine(y);
      for (int x = static_cast<int>(x1 * kDotsPerMm); x < x2 * kDotsPerMm; ++x) {
        if (line[x] < 128) {
          left = std::min(left, x);
          right = std::max(right, x + 1);
          top = std::min(top, y);
          bottom = std::max(bottom, y + 1);
        }
      }
    }
    return {left / kDotsPerMm, top / kDotsPerMm, right / kDotsPerMm, bottom / kDotsPerMm};
  }
  // The length (mm) of the run of pixels of the same darkness through (x, y), along x or y.
  double Run(double xMm, double yMm, bool alongX) const {
    const int x0 = static_cast<int>(xMm * kDotsPerMm);
    const int y0 = static_cast<int>(yMm * kDotsPerMm);
    const bool dark = Dark(xMm, yMm);
    auto same = [&](int x, int y) { return (image_.constScanLine(y)[x] < 128) == dark; };
    int from = 0, to = 0;
    while (alongX ? same(x0 + from - 1, y0) : same(x0, y0 + from - 1)) {
      --from;
    }
    while (alongX ? same(x0 + to + 1, y0) : same(x0, y0 + to + 1)) {
      ++to;
    }
    return (to - from + 1) / kDotsPerMm;
  }

 private:
  QImage image_;
};

TEST(QrBillPage, GeometryOnA600DpiRaster) {
  struct Case {
    QrBillPage page;
    bool blank;
    bool separators;
  };
  const Case cases[] = {
      {QrBillPage::Bill, false, true},
      {QrBillPage::Bill, true, false},
      {QrBillPage::A4, true, true},
  };
  // The modules as one vector shape in the image, the PDF and the SVG: all must land here.
  enum class Source { Image, Pdf, Svg };
  for (const Source source : {Source::Image, Source::Pdf, Source::Svg}) {
    for (const Case& c : cases) {
      if (source == Source::Svg && c.page == QrBillPage::A4) {
        continue;  // an A4 page at 600 dpi is too large a raster for the SVG renderer here
      }
      Page page(c.page, SampleBill(Language::fr, c.blank), c.separators);
      SCOPED_TRACE(source == Source::Pdf   ? "PDF through pdftoppm"
                   : source == Source::Svg ? "SVG through QSvgRenderer"
                                           : "image");
      if (source == Source::Pdf && !Have("pdftoppm")) {
        GTEST_SKIP() << "pdftoppm missing";
      }
      const Raster raster(source == Source::Pdf   ? Rasterised(Pdf(page.report), 600)
                          : source == Source::Svg ? SvgRaster(page.report.QuickRep, 600)
                                                  : page.report.RenderToImage(600));
      const double top = c.page == QrBillPage::A4 ? 192 : 0;
      // The symbol's edges: the finder patterns reach all four.
      const auto [l, t, r, b] = raster.DarkBounds(64, top + 14, 116, top + 66);
      EXPECT_NEAR(l, 67, 0.1);
      EXPECT_NEAR(t, top + 17, 0.1);
      EXPECT_NEAR(r - l, 46, 0.1);
      EXPECT_NEAR(b - t, 46, 0.1);
      EXPECT_NEAR(top + 105 - b, 42, 0.1) << "bottom edge 42 mm above the bill's foot";
      // The cross, 7 mm with its white border: a 6 mm black square (measured below and beside
      // the arms), white arms 0.65 × 0.19 of it, the square framed in white.
      const double cx = 67 + 23, cy = top + 17 + 23;
      EXPECT_NEAR(raster.Run(cx, cy + 2.5, true), 6.0, 0.1);
      EXPECT_NEAR(raster.Run(cx + 2.5, cy, false), 6.0, 0.1);
      EXPECT_NEAR(raster.Run(cx, cy, true), 6.0 * 0.65, 0.1);
      EXPECT_NEAR(raster.Run(cx, cy - 1.5, true), 6.0 * 0.19, 0.1);
      EXPECT_FALSE(raster.Dark(cx - 3.25, cy + 2.5));
      EXPECT_FALSE(raster.Dark(cx + 2.5, cy + 3.25));
      // The separation line between receipt and payment part.
      EXPECT_EQ(raster.Dark(62, top + 60), c.separators);
      // The line above: on the A4 page only, where the bill's top is not the paper's edge.
      EXPECT_EQ(raster.Dark(150, top + 0.05), c.separators && c.page == QrBillPage::A4);
      // Corner marks: the top-left corner of the payment part's amount box (76, 71.9 mm).
      EXPECT_EQ(raster.Dark(76.05, top + 68 + 11 * 25.4 / 72 + 1.5), c.blank);
    }
  }
}

struct Word {
  double xMm, yMm;
  QString text;
};

std::vector<Word> WordsOf(const QByteArray& pdf) {
  const QString html = PdfOnDisk(pdf).Run("pdftotext", {"-bbox"}, {"-"}, 30000);
  static const QRegularExpression re(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
  std::vector<Word> words;
  for (auto it = re.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    words.push_back({m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72,
                     m.captured(3)});
  }
  return words;
}

TEST(QrBillPage, TitlesAndHeadingsReadBackFromThePdf) {
  if (!Have("pdftotext")) {
    GTEST_SKIP() << "pdftotext missing";
  }
  struct Case {
    Language language;
    const char* receipt;  // the titles' first words
    const char* payment;
    const char* account;  // the account heading's first word
  };
  const Case cases[] = {
      {Language::fr, "Récépissé", "Section", "Compte"},
      {Language::de, "Empfangsschein", "Zahlteil", "Konto"},
      {Language::it, "Ricevuta", "Sezione", "Conto"},
      {Language::en, "Receipt", "Payment", "Account"},
  };
  for (const Case& c : cases) {
    for (QrBillPage kind : kPages) {
      Page page(kind, SampleBill(c.language, false));
      const double top = kind == QrBillPage::A4 ? 192 : 0;
      const std::vector<Word> words = WordsOf(Pdf(page.report));
      struct Expected {
        const char* text;
        double x, y;
      };
      const Expected expected[] = {
          {c.receipt, 5, 5}, {c.payment, 67, 5}, {c.account, 5, 12}, {c.account, 118, 5}};
      for (const Expected& e : expected) {
        const auto it = std::find_if(words.begin(), words.end(), [&](const Word& w) {
          return w.text == QString::fromUtf8(e.text) && std::abs(w.xMm - e.x) < 0.3 &&
                 std::abs(w.yMm - top - e.y) < 0.3;
        });
        EXPECT_NE(it, words.end()) << e.text << " at " << e.x << ", " << e.y;
      }
      // The account and the reference in their groups, in the payment part.
      for (const char* group : {"CH44", "3199", "21", "00000", "09017", "1", "949.75"}) {
        EXPECT_TRUE(std::any_of(words.begin(), words.end(), [&](const Word& w) {
          return w.text == group && w.xMm > 62;
        })) << group;
      }
    }
  }
}

// The PDF written from the canvas puts every word of the bill where Qt's painter puts it, to a
// hundredth of a millimetre: one layout, whichever writer. (The A4 page's sample heading is
// set in the face's own widths, where the painter rounds to its device.)
TEST(QrBillPage, EveryWordLiesWhereThePainterPutsIt) {
  if (!Have("pdftotext")) {
    GTEST_SKIP() << "pdftotext missing";
  }
  for (const Language language : kLanguages) {
    for (const QrBillPage kind : kPages) {
      for (const qr::Bill& bill :
           {SampleBill(language, false), SampleBill(language, true), LongestBill(language)}) {
        Page page(kind, bill);
        const std::vector<Word> written = WordsOf(Pdf(page.report));
        const std::vector<Word> painted = WordsOf(PaintedPdf(page.report));
        ASSERT_EQ(written.size(), painted.size());
        const double billTop = kind == QrBillPage::A4 ? 192 : 0;
        for (const Word& w : written) {
          if (w.yMm < billTop) {
            continue;
          }
          EXPECT_TRUE(std::any_of(painted.begin(), painted.end(),
                                  [&](const Word& p) {
                                    return p.text == w.text && std::abs(p.xMm - w.xMm) < 0.01 &&
                                           std::abs(p.yMm - w.yMm) < 0.01;
                                  }))
              << w.text.toStdString() << " at " << w.xMm << ", " << w.yMm;
        }
      }
    }
  }
}

// The faces the bill is printed in travel inside the PDF.
TEST(QrBillPage, PdfEmbedsTheFaces) {
  if (!Have("pdffonts")) {
    GTEST_SKIP() << "pdffonts missing";
  }
  Page page(QrBillPage::Bill, SampleBill(Language::fr, false));
  const QByteArray pdf = Pdf(page.report);
  const QString fonts = PdfOnDisk(pdf).Run("pdffonts", {}, {}, 30000);
  for (const char* face : {"LiberationSans ", "LiberationSans-Bold "}) {
    const QRegularExpression embedded(QString("^([A-Z]{6}\\+)?%1.* yes ").arg(face),
                                      QRegularExpression::MultilineOption);
    EXPECT_TRUE(embedded.match(fonts).hasMatch()) << face << fonts.toStdString();
  }
}

TEST(QrBillPage, InvalidBillRefusedBeforeAnythingIsWritten) {
  qr::Bill bill = SampleBill(Language::fr, false);
  bill.currency = "USD";
  Page page(QrBillPage::Bill, bill);
  QTemporaryDir dir;
  const QString path = dir.filePath("bill.pdf");
  EXPECT_THROW(page.report.RenderToPdf(path), qr::EBillInvalid);
  EXPECT_FALSE(QFile::exists(path));
}

// The longest texts print; the code stays vector (no image in the PDF) and decodes from the
// PDF, the PNG at 150 and 300 dpi and the SVG.
TEST(QrBillPage, LongestBillPrintsInEveryOutputWithAVectorCode) {
  const qr::Bill bill = LongestBill(Language::de);
  ASSERT_TRUE(qr::ValidateBill(bill).empty());
  Page page(QrBillPage::A4, bill);
  const std::string payload = qr::BuildQrPayload(bill);
  EXPECT_EQ(Decode(page.report.RenderToImage(150)), payload);
  EXPECT_EQ(Decode(page.report.RenderToImage(300)), payload);
  EXPECT_EQ(Decode(SvgRaster(page.report.QuickRep, 300)), payload);
  if (!Have("pdfimages") || !Have("pdftoppm")) {
    GTEST_SKIP() << "poppler-utils missing";
  }
  const QByteArray pdf = Pdf(page.report);
  const QStringList images =
      PdfOnDisk(pdf).Run("pdfimages", {"-list"}, {}, 30000).split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(images.size(), 2) << "the header lines only: " << images.join('\n').toStdString();
  EXPECT_EQ(Decode(Rasterised(pdf, 300)), payload);
}

// Text copied from the PDF is the printed text, spaces included, whichever reader: poppler
// and MuPDF (which trusts the fonts' ToUnicode maps).
TEST(QrBillPage, TextCopiesWithItsSpaces) {
  if (!Have("pdftotext") || !Have("mutool")) {
    GTEST_SKIP() << "pdftotext or mutool missing";
  }
  Page page(QrBillPage::A4, SampleBill(Language::fr, false));
  page.report.MatchBill();
  const PdfOnDisk file(Pdf(page.report));
  const QString poppler = file.Run("pdftotext", {"-raw"}, {"-"}, 30000);
  const QString mupdf = file.Run("mutool", {"draw", "-q", "-F", "txt", "-o", "-"}, {}, 30000);
  for (const QString& text : {poppler, mupdf}) {
    const QStringList lines = text.split('\n');
    for (const char* printed :
         {"CH44 3199 9123 0008 8901 2", "21 00000 00003 13947 14300 09017", "Rue du Lac 1268",
          "2501 Biel", "Pia-Maria Rutschmann-Schnyder", "1 949.75", "Auftrag vom 15.06.2020",
          "Exemple de document A4 avec QR-facture"}) {
      EXPECT_TRUE(lines.contains(printed) || text.contains(QString(printed) + "\n"))
          << printed << " in:\n"
          << text.toStdString();
    }
    EXPECT_FALSE(text.contains('\t'));
  }
}

}  // namespace
}  // namespace bvr
