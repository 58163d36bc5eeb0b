#include <gtest/gtest.h>

#include "SlipTestSupport.h"
#include "print/VYKBVRQr.h"
#include "report/QtFont.h"
#include "report/QtTextMeasure.h"
#include "report/QuickRep.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

using test::DemoLayout;
using Kind = CanvasOp::Kind;

// A report with the control in a footer, recorded at one device unit per tenth of a mm.
struct ControlOnPage {
  TQuickRep report{"r"};
  TQRBand footer{"f", TQRBandType::rbPageFooter, 1108.604};
  TVYKqrBVR control;
  QtRecordingCanvas canvas;
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
