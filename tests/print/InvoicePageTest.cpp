#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "SlipTestSupport.h"
#include "preview/InvoicePreview.h"
#include "preview/QRPreview.h"
#include "print/UReportBVR.h"
#include "report/QtFont.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

struct Word {
  double xMin, yMin, xMax, yMax;  // points
  QString text;
};

std::vector<Word> WordsOf(const QString& pdf) {
  QProcess p;
  p.start("pdftotext", {"-bbox", pdf, "-"});
  EXPECT_TRUE(p.waitForFinished(30000));
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  static const QRegularExpression re(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  std::vector<Word> words;
  for (auto it = re.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    QString text = m.captured(5);
    text.replace("&gt;", ">").replace("&lt;", "<").replace("&amp;", "&");
    words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                     m.captured(4).toDouble(), text});
  }
  return words;
}

constexpr double kMmPerPoint = 25.4 / 72.0;

struct Invoice {
  std::unique_ptr<TBvrProperties> layout = test::DemoLayout();
  TFormReportBVR form;
  Invoice() {
    InstallFontSubstitutions();
    TVYKqrBVR& slip = form.VYKqrBVR;
    slip.SetBvrProperties(layout.get());
    slip.SetAmount(1000);
    slip.Reference().InternalNumber = "45687";
    slip.SetPayedBy(test::DemoPayment().PayerLines);
  }
};

TEST(InvoicePage, CodingLineReadBackFromThePdf) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("invoice.pdf");
  Invoice invoice;
  invoice.form.RenderToPdf(pdf);

  const std::vector<Word> words = WordsOf(pdf);
  // The coding line is drawn character by character: gather the row that spells it.
  const QString expected = "0100001000004>001234560000000000000456878+019876544>";
  std::vector<Word> row;
  for (const Word& w : words) {
    std::vector<Word> candidate;
    for (const Word& v : words) {
      if (v.yMin == w.yMin) {
        candidate.push_back(v);
      }
    }
    QString text;
    for (const Word& v : candidate) {
      text += v.text;
    }
    if (text == expected) {
      row = candidate;
      break;
    }
  }
  ASSERT_EQ(row.size(), 52u);
  EXPECT_NEAR(row.back().xMax * kMmPerPoint, 202.4, 0.3);
  EXPECT_NEAR((row.back().yMin + row.back().yMax) / 2 * kMmPerPoint, 278.0, 0.3);
  // 2.54 mm per character, the blank included (one empty cell between "+" and "0").
  EXPECT_NEAR((row.back().xMax - row.front().xMin) * kMmPerPoint, 53 * 2.54, 0.05);
  for (std::size_t i = 1; i < row.size(); ++i) {
    const double step = (row[i].xMin - row[i - 1].xMin) * kMmPerPoint;
    EXPECT_NEAR(step, row[i].text == "0" && row[i - 1].text == "+" ? 5.08 : 2.54, 0.01);
  }

  // The sample label at the top of the detail band (10 mm margin + 39.7 mm header + 2.1 mm).
  const auto label =
      std::find_if(words.begin(), words.end(), [](const Word& w) { return w.text == "Exemple"; });
  ASSERT_NE(label, words.end());
  EXPECT_NEAR(label->xMin * kMmPerPoint, 12.1, 0.5);
  EXPECT_NEAR(label->yMin * kMmPerPoint, 51.8, 0.5);

  // The zones' texts inside their zones (slip origin: x -0.054 mm, y 191.17 mm).
  const auto inZone = [&](const QString& text, const TBaseZone& zone) {
    const double left = -0.0542 + zone.Left() / 10.0, top = 191.1667 + zone.Top() / 10.0;
    return std::any_of(words.begin(), words.end(), [&](const Word& w) {
      return w.text == text && std::abs(w.xMin * kMmPerPoint - left) < 1.0 &&
             w.yMin * kMmPerPoint >= top - 0.5 &&
             w.yMax * kMmPerPoint <= top + zone.height() / 10.0 + 0.5;
    });
  };
  const TBvrProperties& l = *invoice.layout;
  EXPECT_TRUE(inZone("01-987654-4", l.Account().Receipt()));
  EXPECT_TRUE(inZone("01-987654-4", l.Account().Processing()));
  EXPECT_TRUE(inZone("001234560000000000000456878", l.Reference().Receipt()));
  EXPECT_TRUE(inZone("00", l.Reference().Processing()));
  EXPECT_TRUE(inZone("Monsieur", l.PaymentBy().Processing()));

  QProcess fonts;
  fonts.start("pdffonts", {pdf});
  ASSERT_TRUE(fonts.waitForFinished(30000));
  EXPECT_TRUE(QString::fromUtf8(fonts.readAllStandardOutput()).contains("OCRB-Regular"));
}

// The slip invoice's text copies with its spaces, with poppler and with MuPDF.
TEST(InvoicePage, TextCopiesWithItsSpaces) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("invoice.pdf");
  Invoice invoice;
  invoice.form.RenderToPdf(pdf);
  const auto run = [](const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    EXPECT_TRUE(p.waitForFinished(30000)) << tool.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
  };
  const QString poppler = run("pdftotext", {"-raw", pdf, "-"});
  const QString mupdf = run("mutool", {"draw", "-q", "-F", "txt", "-o", "-", pdf});
  if (mupdf.isEmpty()) {
    GTEST_SKIP() << "mutool missing";
  }
  for (const QString& text : {poppler, mupdf}) {
    EXPECT_TRUE(text.contains("Exemple de document A4 avec BVR")) << text.toStdString();
    EXPECT_FALSE(text.contains('\t')) << text.toStdString();
  }
}

TEST(InvoicePage, FailureLeavesNoFileAndKeepsAnOlderOne) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("invoice.pdf");
  Invoice invoice;
  invoice.layout->Account().Setnumber("01-987654-5");
  EXPECT_THROW(invoice.form.RenderToPdf(pdf), EBvrError);
  EXPECT_FALSE(QFile::exists(pdf));
  {
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  EXPECT_THROW(invoice.form.RenderToPdf(pdf), EBvrError);
  QFile old(pdf);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "old");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(InvoicePage, BackgroundHookGetsTheSlipRectangleBeforeTheContent) {
  Invoice invoice;
  QRectF seen;
  invoice.form.SlipBackground = [&](ICanvas& canvas, const DeviceRect& slip) {
    seen = QRectF(QPointF(slip.Left, slip.Top), QPointF(slip.Right, slip.Bottom));
    canvas.FillRect(slip, 120 << 16 | 200 << 8 | 255);
  };
  const QImage image = invoice.form.RenderToImage(254);
  EXPECT_NEAR(seen.left(), -0.542, 1e-6);
  EXPECT_NEAR(seen.top(), 1911.667, 1e-6);
  EXPECT_NEAR(seen.right(), 2100 - 0.542, 1e-6);
  EXPECT_NEAR(seen.bottom(), 1911.667 + 1058, 1e-6);
  // The picture is behind the page: a blank spot of the slip shows it.
  EXPECT_EQ(image.pixelColor(1000, 2000), QColor(255, 200, 120));
  EXPECT_EQ(image.pixelColor(1000, 1800), QColor(Qt::white));
}

TEST(InvoicePage, PreviewWindow) {
  Invoice invoice;
  TQRPreview preview(invoice.form.QuickRepSample, nullptr);
  QPrintPreviewDialog& dialog = preview.Dialog();
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QApplication::processEvents();
  EXPECT_EQ(dialog.size(), QSize(800, 600));
  EXPECT_EQ(dialog.windowState(), Qt::WindowNoState);
  auto* view = dialog.findChild<QPrintPreviewWidget*>();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->zoomMode(), QPrintPreviewWidget::FitInView);
  EXPECT_EQ(view->pageCount(), 1);
  if (const QByteArray out = qgetenv("BVR_PREVIEW_SHOT"); !out.isEmpty()) {
    dialog.grab().save(QString::fromLocal8Bit(out));
  }
  dialog.close();
}

TEST(InvoicePage, PrintingAsksForA4WhateverPaperThePrinterHad) {
  Invoice invoice;
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("printed.pdf"));
  printer.setPageSize(QPageSize(QPageSize::Letter));
  printer.setPageOrientation(QPageLayout::Landscape);
  PrintInvoice(invoice.form, printer);
  const QSizeF paper = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
  EXPECT_NEAR(paper.width(), 210.0, 0.5);
  EXPECT_NEAR(paper.height(), 297.0, 0.5);
}

// Needs a print queue: tests/printing/cups-test runs it against its own server and measures
// where the job's ink landed.
TEST(InvoicePage, PrintsOnAQueueWithItsStoredOffset) {
  const QByteArray queue = qgetenv("BVR_TEST_PRINT_QUEUE");
  if (queue.isEmpty()) {
    GTEST_SKIP() << "no BVR_TEST_PRINT_QUEUE";
  }
  Invoice invoice;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(QString::fromLocal8Bit(queue));
  ASSERT_EQ(printer.outputFormat(), QPrinter::NativeFormat);
  ASSERT_EQ(printer.printerName(), QString::fromLocal8Bit(queue));
  PrintInvoice(invoice.form, printer);
}

TEST(InvoicePage, PreviewReportsErrorsBeforeOpening) {
  Invoice invoice;
  invoice.form.VYKqrBVR.SetBvrProperties(nullptr);
  EXPECT_THROW(PreviewInvoice(invoice.form, nullptr), EBvrError);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(w->isVisible());
  }
}

}  // namespace
}  // namespace bvr
