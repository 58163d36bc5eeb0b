#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontInfo>
#include <QPainter>
#include <QPdfWriter>

#include "report/QPainterCanvas.h"
#include "report/QtFont.h"
#include "report/QtTextMeasure.h"
#include "report/QuickRep.h"

namespace bvr {
namespace {

// Remembers the offsets it is printed with.
class Probe : public TQRPrintable {
 public:
  explicit Probe(std::vector<std::pair<double, double>>& log) : log_(log) {}
  void Print(double x, double y) override { log_.emplace_back(x, y); }
  void Paint(ICanvas&) override {}

 private:
  std::vector<std::pair<double, double>>& log_;
};

TEST(QuickRep, BandsStackFromTheTopMarginAndTheFooterEndsAtTheBottomMargin) {
  std::vector<std::pair<double, double>> log;
  TQuickRep report("r");
  TQRBand footer("f", TQRBandType::rbPageFooter, 1108.604);
  TQRBand detail("d", TQRBandType::rbDetail, 105.833);
  TQRBand header("h", TQRBandType::rbPageHeader, 396.875);
  Probe inFooter(log), inDetail(log), inHeader(log);
  // Added out of order: production order is header, detail, footer all the same.
  report.AddBand(footer);
  report.AddBand(detail);
  report.AddBand(header);
  footer.Add(inFooter);
  detail.Add(inDetail);
  header.Add(inHeader);
  QtRecordingCanvas canvas;
  TQRPrinter printer(canvas, 1, 1);
  report.PrintBands(printer);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], std::make_pair(100.0, 100.0));
  EXPECT_EQ(log[1], std::make_pair(100.0, 496.875));
  EXPECT_DOUBLE_EQ(log[2].first, 100.0);
  EXPECT_DOUBLE_EQ(log[2].second, 2970 - 1108.604);

  report.Margins.Bottom = 50;
  EXPECT_DOUBLE_EQ(report.BandTop(footer), 2970 - 50 - 1108.604);
}

TEST(QuickRep, LabelPrintsItsCaptionAtTheBandOffsetAndLeavesTheFill) {
  TQuickRep report("r");
  TQRBand detail("d", TQRBandType::rbDetail, 105.833);
  report.AddBand(detail);
  TQRLabel label;
  label.Caption = "Exemple de document A4 avec BVR";
  label.Font.Name = "Times New Roman";
  label.Font.Size = 14;
  label.Size = {21.17, 21.17, 730.25, 63.5};
  detail.Add(label);
  InstallFontSubstitutions();
  QtRecordingCanvas canvas;
  TQRPrinter printer(canvas, 1, 1);
  report.PrintBands(printer);
  ASSERT_EQ(canvas.Ops().size(), 1u);
  const CanvasOp& op = canvas.Ops()[0];
  EXPECT_EQ(op.Text, label.Caption);
  EXPECT_DOUBLE_EQ(op.X1, 121.17);
  EXPECT_DOUBLE_EQ(op.Y1, 121.17);
  EXPECT_EQ(op.Font.Name, "Times New Roman");
  EXPECT_EQ(op.Brush, BrushStyle::Solid);                        // opaque white box
  EXPECT_DOUBLE_EQ(op.Clip.Right - op.Clip.Left, op.TextWidth);  // automatic width
  EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Clear);
}

TEST(QuickRep, WordWrapBreaksAtBlanksWithinTheWidth) {
  TQuickRep report("r");
  TQRBand detail("d", TQRBandType::rbDetail, 500);
  report.AddBand(detail);
  TQRLabel label;
  label.Caption = "un deux trois quatre";
  label.AutoSize = false;
  label.WordWrap = true;
  detail.Add(label);
  QtRecordingCanvas canvas;
  canvas.SetFont(label.Font);
  label.Size.Width = canvas.TextWidth("un deux trois") + 1;
  TQRPrinter printer(canvas, 1, 1);
  report.PrintBands(printer);
  ASSERT_EQ(canvas.Ops().size(), 2u);
  EXPECT_EQ(canvas.Ops()[0].Text, "un deux trois");
  EXPECT_EQ(canvas.Ops()[1].Text, "quatre");
  EXPECT_GT(canvas.Ops()[1].Y1, canvas.Ops()[0].Y1);
}

// The faces the layouts name must reach these installed faces on a real output device.
TEST(QtFonts, LayoutFaceNamesReachTheInstalledFaces) {
  InstallFontSubstitutions();
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(1200);
  QPainter painter(&writer);
  QPainterCanvas canvas(painter);
  struct Row {
    const char* name;
    TFontStyles style;
    QString family;
  };
  for (const Row& row :
       {Row{"OCR-B", fsBold, "OCR B"}, Row{"OCR-B", 0, "OCR B"}, Row{"arial", 0, "Liberation Sans"},
        Row{"Arial", 0, "Liberation Sans"}, Row{"Times New Roman", 0, "Liberation Serif"},
        Row{"Courrier New", fsBold, "Liberation Mono"}}) {
    SCOPED_TRACE(row.name);
    CanvasFont font;
    font.Name = row.name;
    font.Size = 12;
    font.Style = row.style;
    canvas.SetFont(font);
    EXPECT_EQ(canvas.ResolvedFamily(), row.family);
  }
  CanvasFont mono;
  mono.Name = "Courrier New";
  canvas.SetFont(mono);
  EXPECT_TRUE(painter.fontInfo().fixedPitch());
  // The coding-line face must be the plain OCR B, not one of its outline or inverted cuts.
  CanvasFont ocr;
  ocr.Name = "OCR-B";
  ocr.Style = fsBold;
  canvas.SetFont(ocr);
  EXPECT_EQ(painter.fontInfo().styleName(), "Regular");
}

}  // namespace
}  // namespace bvr
