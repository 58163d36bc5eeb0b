// The QR-bill's payment part, 210 × 105 mm: the receipt (62 mm) on the left, the payment part
// with the Swiss QR Code on the right, drawn on any canvas from a bill. Positions are tenths
// of a millimetre on the page; the canvas's PixelsPerInch() converts them to device units, so
// the same call draws on a PDF page, an image, a printer or a recording canvas.
//
// Drawing a bill at the foot of an A4 page (the canvas at the page's top-left corner):
//
//   bvr::qr::BillReading reading = bvr::qr::ReadBillJson(json);
//   bvr::QtTextMeasure measure;                      // the faces' own advances
//   bvr::qr::TextFitter fitter(measure, "Arial");
//   bvr::qr::PaymentPartOptions options;
//   options.fitter = &fitter;
//   bvr::qr::DrawPaymentPart(canvas, reading.bill, 0, 2970 - bvr::qr::kBillHeight, options);
//
// The bill is laid out once in millimetres and points (BillLayout), the same for every
// device; texts too long for their section are fitted by the guideline's own means, so that
// every bill within the rules prints.
#pragma once

#include "draw/Canvas.h"
#include "qrbill/Bill.h"
#include "qrbill/Problem.h"
#include "qrbill/QrSymbol.h"
#include "qrprint/TextFitter.h"

namespace bvr::qr {

// Tenths of a millimetre.
inline constexpr double kBillWidth = 2100;
inline constexpr double kBillHeight = 1050;
inline constexpr double kReceiptWidth = 620;

struct PaymentPartOptions {
  // The lines above and between receipt and payment part, with scissors; off for perforated
  // paper.
  bool separators = true;
  // The line above the bill, left out where the bill's top is the paper's edge (a page of
  // the bill's own size).
  bool lineAbove = true;
  // The bill's symbol when the caller made it already (MakeQrSymbol of the bill's QR Code
  // text, for instance ahead of time on another thread); made here when null.
  const QrSymbol* symbol = nullptr;
  // The faces' advances the bill is laid out with; when null, the canvas's own (its
  // device's, so the layout may then differ from one resolution to another).
  const TextFitter* fitter = nullptr;
};

// Draws the bill with its top-left corner at (left, top), tenths of a millimetre. Fails with
// EBillInvalid, having drawn nothing, for a bill that ValidateBill refuses. Pen and font are
// left as they were.
void DrawPaymentPart(ICanvas& canvas, const Bill& bill, double left, double top,
                     const PaymentPartOptions& options = {});

}  // namespace bvr::qr
