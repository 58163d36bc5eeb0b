// Fuzz target of the slip drawing: a layout read from the bytes is drawn, as a slip and as the
// setting-mode overlay, onto a recording canvas. Number errors of the layout are expected;
// anything else (a crash, a sanitizer report, a coordinate that is not a number where the
// layout's values were finite) is a finding.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "draw/QRPrinter.h"
#include "draw/RecordingCanvas.h"
#include "draw/SlipCanvas.h"
#include "draw/SlipDrawing.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"
#include "strings/BvrError.h"

namespace {

void CheckFinite(const bvr::RecordingCanvas& canvas) {
  for (const bvr::CanvasOp& op : canvas.Ops()) {
    if (!std::isfinite(op.X1) || !std::isfinite(op.Y1) || !std::isfinite(op.X2) ||
        !std::isfinite(op.Y2)) {
      std::fprintf(stderr, "draw_fuzz: a drawn coordinate is not finite\n");
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  bvr::TBvrProperties layout;
  layout.Name = "BVRPropertiesParams";
  try {
    layout.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const bvr::EBvrError&) {
    return 0;
  }
  bvr::RecordingCanvas canvas;
  // 1200 dpi, as the PDF writer draws: device units of 1/1200 inch.
  bvr::TQRPrinter printer(canvas, 1200.0 / 254.0, 1200.0 / 254.0);
  bvr::TSlipCanvas slip(printer, -100.542, 1911.667);
  try {
    bvr::DrawSlip(slip, layout, bvr::DemonstrationPayment());
  } catch (const bvr::EBvrError&) {
    // The layout's numbers cannot be coded: what was drawn before stays drawn.
  }
  bvr::DrawSettingOverlay(slip, layout, 2100.792, 1087.4375);
  CheckFinite(canvas);
  return 0;
}
