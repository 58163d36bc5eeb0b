// Pages written straight from the canvas, read back by poppler: the text copies as drawn and
// its glyphs show, whether the face has TrueType or CFF outlines.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "report/CanvasPdfWriter.h"
#include "report/QtFont.h"

namespace bvr {
namespace {

QByteArray RunTool(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  process.waitForFinished(30000);
  return process.readAllStandardOutput();
}

TEST(CanvasPdfWriter, TextCopiesAndShowsInEitherKindOfFace) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty() ||
      QStandardPaths::findExecutable("pdftoppm").isEmpty()) {
    GTEST_SKIP() << "poppler-utils missing";
  }
  for (const char* family : {"Liberation Sans", "URW Gothic"}) {  // TrueType, CFF
    CanvasFont font;
    font.Name = family;
    font.Size = 12;
    font.Scalable = true;
    if (!QFontInfo(ToQFont(font)).family().startsWith(QString(family))) {
      continue;  // not installed here (URW Gothic comes with Ghostscript's fonts)
    }
    SCOPED_TRACE(family);
    QTemporaryDir dir;
    const QString path = dir.filePath("page.pdf");
    {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      CanvasPdfWriter writer(file, QSizeF(100, 50), "Test");
      ICanvas& canvas = writer.BeginPage();
      canvas.SetFont(font);
      canvas.TextOut(20, 40, "Jean Dupont 1 949.75");
      writer.Finish();
    }
    EXPECT_EQ(RunTool("pdftotext", {"-raw", path, "-"}).trimmed(), "Jean Dupont 1 949.75");
    RunTool("pdftoppm", {"-r", "72", "-gray", "-png", "-singlefile", path, dir.filePath("page")});
    const QImage page(dir.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    int ink = 0;
    for (int y = 40; y < 60; ++y) {
      for (int x = 20; x < 150; ++x) {
        ink += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
      }
    }
    EXPECT_GT(ink, 100) << "the glyphs show";
  }
}

}  // namespace
}  // namespace bvr
