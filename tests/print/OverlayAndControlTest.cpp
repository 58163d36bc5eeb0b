#include <gtest/gtest.h>

#include "SlipTestSupport.h"
#include "print/VYKBVRQr.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

using test::DemoLayout;
using test::Recorder;

using Kind = CanvasOp::Kind;

// The overlay as a list of what was drawn, in order, for exact comparison.
struct Expected {
  Kind kind;
  double x1, y1, x2, y2;
  BrushStyle brush;
  TColor brushColor;
};

TEST(SettingOverlay, DrawsShadingLinesFramesCrossAndMarkInOrder) {
  Recorder r;
  auto layout = DemoLayout();
  layout->Account().Setnumber("01-987654-5");     // fails its check digit: no matter here
  layout->PaymentBy().Receipt().Imprime = false;  // framed all the same
  DrawSettingOverlay(r.slip, *layout, 2100.792, 1087.4375);

  const auto solid = BrushStyle::Solid;
  const TColor shade = clInactiveCaptionText;
  std::vector<Expected> expected = {
      {Kind::Rectangle, 0, 0, 2100.792, 1087.4375, solid, shade},
      {Kind::Line, 0, 0, 2100.792, 1087.4375, solid, clWhite},
      {Kind::Line, 0, 0, 2100.792, 0, solid, clWhite},
      {Kind::Line, 600, 0, 600, 1087.4375, solid, clWhite},
  };
  const TBvrProperties& l = *layout;
  for (const TBaseZone* z : {static_cast<const TBaseZone*>(&l.PaymentFor().Receipt()),
                             static_cast<const TBaseZone*>(&l.PaymentFor().Processing()),
                             static_cast<const TBaseZone*>(&l.PaymentBy().Receipt()),
                             static_cast<const TBaseZone*>(&l.PaymentBy().Processing()),
                             static_cast<const TBaseZone*>(&l.Account().Receipt()),
                             static_cast<const TBaseZone*>(&l.Amount().Processing()),
                             static_cast<const TBaseZone*>(&l.Reference().Receipt()),
                             static_cast<const TBaseZone*>(&l.Reference().Processing()),
                             static_cast<const TBaseZone*>(&l.Account().Processing()),
                             static_cast<const TBaseZone*>(&l.Amount().Receipt())}) {
    expected.push_back({Kind::Rectangle, double(z->Left()), double(z->Top()),
                        double(z->Left() + z->Width()), double(z->Top() + z->height()), solid,
                        clWhite});
  }
  const TMontant& m = l.Amount();
  for (const TFontBaseZone* z : {&m.Receipt(), &m.Processing()}) {
    const double d = z->Left() + z->Width() - m.decimalWidth();
    const double top = z->Top(), bottom = z->Top() + z->height();
    expected.push_back({Kind::Line, d, top, d, bottom, solid, clWhite});
    expected.push_back(
        {Kind::Line, d - m.CommaWidth(), top, d - m.CommaWidth(), bottom, solid, clWhite});
  }
  expected.push_back({Kind::Line, 2024, 10, 2024, 1150, solid, clWhite});
  expected.push_back({Kind::Line, 600, 868, 2100, 868, solid, clWhite});
  expected.push_back({Kind::Line, 1400, 150, 1700, 150, solid, shade});
  expected.push_back({Kind::Line, 1400, 140, 1400, 160, solid, shade});
  expected.push_back({Kind::Line, 1700, 140, 1700, 160, solid, shade});

  std::vector<CanvasOp> shapes;
  for (const CanvasOp& op : r.canvas.Ops()) {
    if (op.kind == Kind::Rectangle || op.kind == Kind::Line) {
      shapes.push_back(op);
    }
  }
  ASSERT_EQ(shapes.size(), expected.size());
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(shapes[i].kind, expected[i].kind);
    EXPECT_DOUBLE_EQ(shapes[i].X1, expected[i].x1);
    EXPECT_DOUBLE_EQ(shapes[i].Y1, expected[i].y1);
    EXPECT_DOUBLE_EQ(shapes[i].X2, expected[i].x2);
    EXPECT_DOUBLE_EQ(shapes[i].Y2, expected[i].y2);
    EXPECT_EQ(shapes[i].Brush, expected[i].brush);
    EXPECT_EQ(shapes[i].BrushColor, expected[i].brushColor);
  }

  // The sample line sits where the payment's line would, on white, after the three lines.
  const auto chars = r.CodingChars();
  ASSERT_EQ(Recorder::Joined(chars), "042>123456789012345678901234567+ 019876544>");
  EXPECT_NEAR(chars.back().X1 + 25.4, 2024, 1e-9);
  EXPECT_EQ(chars.front().BrushColor, clWhite);

  const std::vector<std::string> labels = {" largeur : 3 cm", " x : 14 cm", " y : 1.5 cm"};
  std::vector<CanvasOp> texts;
  for (const CanvasOp& op : r.Texts()) {
    if (op.Font.Name == "Courrier New") {
      texts.push_back(op);
    }
  }
  ASSERT_EQ(texts.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(texts[i].Text, labels[i]);
    EXPECT_DOUBLE_EQ(texts[i].X1, 1450);
    EXPECT_DOUBLE_EQ(texts[i].Y1, 170 + 40.0 * static_cast<double>(i));
    EXPECT_DOUBLE_EQ(texts[i].Font.Size, 8);
    EXPECT_EQ(texts[i].Font.Style, fsBold);
    EXPECT_EQ(texts[i].BrushColor, shade);
  }
  // Labels come last.
  EXPECT_EQ(r.canvas.Ops().back().Text, " y : 1.5 cm");
}

TEST(SettingOverlay, CrossAndSampleFollowTheCodingLineOffsets) {
  Recorder r;
  auto layout = DemoLayout();
  layout->CodageZone().fromRight = 0;
  layout->CodageZone().fromBottom = 0;
  DrawSettingOverlay(r.slip, *layout, 2100, 1058);
  const auto chars = r.CodingChars();
  ASSERT_FALSE(chars.empty());
  EXPECT_NEAR(chars.back().X1 + 25.4, 2100, 1e-9);
  int crossLines = 0;
  for (const CanvasOp& op : r.canvas.Ops()) {
    if (op.kind == Kind::Line && op.X1 == 2100 && op.X2 == 2100 && op.Y1 == 10) {
      ++crossLines;
    }
    if (op.kind == Kind::Line && op.Y1 == 1058 && op.Y2 == 1058 && op.X1 == 600) {
      ++crossLines;
    }
  }
  EXPECT_EQ(crossLines, 2);
}

// A report with the control in a footer, recorded at one device unit per tenth of a mm.
struct ControlOnPage {
  TQuickRep report{"r"};
  TQRBand footer{"f", TQRBandType::rbPageFooter, 1108.604};
  TVYKqrBVR control;
  RecordingCanvas canvas;
  TQRPrinter printer{canvas, 1.0, 1.0};
  ControlOnPage() {
    InstallFontSubstitutions();
    report.AddBand(footer);
    footer.Add(control);
    control.Size = {-100.542, 50.271, 2100.792, 1087.4375};
  }
};

TEST(SlipControl, StartsEmptyAndCopiesWhatItIsGiven) {
  TVYKqrBVR control;
  EXPECT_EQ(control.Amount(), 0.0);
  EXPECT_EQ(control.Reference().InternalNumber, "");
  EXPECT_TRUE(control.PayedBy().empty());
  EXPECT_EQ(control.BvrProperties(), nullptr);
  EXPECT_FALSE(control.SettingMode());
  EXPECT_FALSE(control.AutoSize);

  std::vector<std::string> lines = {"a", "b"};
  TReferenceValue ref;
  ref.InternalNumber = "42";
  control.SetPayedBy(lines);
  control.SetReference(ref);
  lines[0] = "changed";
  ref.InternalNumber = "changed";
  EXPECT_EQ(control.PayedBy()[0], "a");
  EXPECT_EQ(control.Reference().InternalNumber, "42");

  TNumberReference other;
  try {
    ref.Assign(other);
    FAIL() << "no error";
  } catch (const EBvrError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TNumberReference to a TReferenceValue");
  }
}

TEST(SlipControl, DropsTheLayoutWhenItIsDestroyed) {
  TVYKqrBVR control;
  {
    auto layout = DemoLayout();
    control.SetBvrProperties(layout.get());
    EXPECT_EQ(control.BvrProperties(), layout.get());
  }
  EXPECT_EQ(control.BvrProperties(), nullptr);
}

TEST(SlipControl, PrintsAtTheBandOffsetPlusItsPosition) {
  ControlOnPage page;
  auto layout = DemoLayout();
  page.control.SetBvrProperties(layout.get());
  page.control.SetAmount(1000);
  page.control.Reference().InternalNumber = "45687";
  page.control.SlipOffsetX = 3;
  page.control.SlipOffsetY = -2;
  page.report.PrintBands(page.printer);
  std::vector<CanvasOp> chars;
  for (const CanvasOp& op : page.canvas.Ops()) {
    if (op.Font.Name == "OCR-B") {
      chars.push_back(op);
    }
  }
  ASSERT_EQ(chars.size(), 53u);
  // Band at (100, 2970 - 1108.604); control at (-100.542, 50.271) within it.
  EXPECT_NEAR(chars.back().X1 + 25.4, 100 - 100.542 + 3 + 2024, 1e-9);
  page.canvas.SetFont(chars.back().Font);
  EXPECT_NEAR(chars.back().Y1 + page.canvas.TextHeight("0") / 2, 2970 - 1108.604 + 50.271 - 2 + 868,
              1e-9);
}

TEST(SlipControl, RefusesToPrintWithoutALayout) {
  ControlOnPage page;
  for (bool settingMode : {false, true}) {
    page.control.SetSettingMode(settingMode);
    try {
      page.report.PrintBands(page.printer);
      FAIL() << "no error";
    } catch (const EBvrError& e) {
      EXPECT_EQ(std::string(e.what()), "Aucun paramètre BVR n'est lié au bulletin");
    }
    EXPECT_TRUE(page.canvas.Ops().empty());
    EXPECT_EQ(page.report.QRPrinter(), nullptr);
  }
}

TEST(SlipControl, SettingModeComputesNoNumber) {
  ControlOnPage page;
  auto layout = DemoLayout();
  layout->Account().Setnumber("garbage");
  layout->Reference().number().AccountNumber = "ABCDEFGH";
  page.control.SetBvrProperties(layout.get());
  page.control.SetAmount(-5);
  page.control.SetSettingMode(true);
  EXPECT_NO_THROW(page.report.PrintBands(page.printer));
  ASSERT_FALSE(page.canvas.Ops().empty());
  // The shading covers the control itself.
  const CanvasOp& shade = page.canvas.Ops().front();
  EXPECT_EQ(shade.kind, Kind::Rectangle);
  EXPECT_NEAR(shade.X1, -0.542, 1e-9);
  EXPECT_NEAR(shade.X2 - shade.X1, 2100.792, 1e-9);
  EXPECT_NEAR(shade.Y1, 2970 - 1108.604 + 50.271, 1e-9);
  // The same layout without setting mode fails on its numbers.
  page.control.SetSettingMode(false);
  EXPECT_THROW(page.report.PrintBands(page.printer), EBvrError);
}

}  // namespace
}  // namespace bvr
