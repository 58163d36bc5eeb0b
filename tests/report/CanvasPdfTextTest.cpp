// A PDF draws each text from glyphs shaped once and kept: the page must carry the same glyphs
// at the same places as Qt's own drawText, the first time and when the glyphs come back kept.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <string>
#include <vector>

#include "report/QPainterCanvas.h"
#include "report/QtFont.h"

namespace bvr {
namespace {

// The text operators of each page (BT … ET), uncompressed.
std::vector<QByteArray> PageTexts(const QByteArray& pdf) {
  std::vector<QByteArray> pages;
  const QRegularExpression stream("stream\\r?\\n");
  for (auto it = stream.globalMatch(QString::fromLatin1(pdf)); it.hasNext();) {
    const qsizetype start = it.next().capturedEnd();
    const qsizetype end = pdf.indexOf("endstream", start);
    const quint32 room = 1 << 20;
    QByteArray sized(4, '\0');
    for (int i = 0; i < 4; ++i) {
      sized[i] = static_cast<char>((room >> (24 - 8 * i)) & 0xFF);
    }
    const QByteArray content = qUncompress(sized + pdf.mid(start, end - start));
    QByteArray texts;
    for (qsizetype at = content.indexOf("BT\n"); at >= 0; at = content.indexOf("BT\n", at + 1)) {
      texts += content.mid(at, content.indexOf("ET\n", at) - at);
    }
    if (!texts.isEmpty()) {
      pages.push_back(texts);
    }
  }
  return pages;
}

TEST(CanvasPdfText, KeptGlyphsDrawAsQtDraws) {
  const std::vector<std::string> texts{"Récépissé", "AVAWAY Tête-à-tête", "CHF 1 234.50",
                                       "Compte / Payable à"};
  for (const bool scalable : {false, true}) {
    for (const std::string& text : texts) {
      QByteArray pdf;
      {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        QPainter painter(&writer);
        CanvasFont font;
        font.Name = "Liberation Sans";
        font.Size = 10;
        font.Scalable = scalable;
        for (int page = 0; page < 2; ++page) {
          QPainterCanvas canvas(painter);
          canvas.SetFont(font);
          canvas.TextOut(100, 200, text);
          writer.newPage();
        }
        if (!scalable) {
          painter.setFont(ToQFont(font));
          painter.setPen(Qt::black);
          painter.drawText(QPointF(100, 200 + QFontMetricsF(painter.font(), &writer).ascent()),
                           QString::fromStdString(text));
        }
      }
      const std::vector<QByteArray> pages = PageTexts(pdf);
      SCOPED_TRACE(text + (scalable ? " scalable" : ""));
      ASSERT_EQ(pages.size(), scalable ? 2U : 3U);
      EXPECT_EQ(pages[1], pages[0]) << "kept glyphs";
      EXPECT_GE(pages[0].count("Tj"),
                static_cast<qsizetype>(QString::fromStdString(text).size() - 4));
      if (!scalable) {
        EXPECT_EQ(pages[2], pages[0]) << "Qt's drawText";
      }
    }
  }
}

}  // namespace
}  // namespace bvr
