// The QR-bill's payment part, 210 × 105 mm: the receipt (62 mm) on the left, the payment part
// with the Swiss QR Code on the right, drawn on any canvas from a bill. Positions are tenths
// of a millimetre on the page; the canvas's PixelsPerInch() converts them to device units, so
// the same call draws on a PDF page, an image, a printer or a recording canvas.
//
// Drawing a bill at the foot of an A4 page (the canvas at the page's top-left corner):
//
//   bvr::qr::BillReading reading = bvr::qr::ReadBillJson(json);
//   bvr::QtRecordingCanvas measure;                  // or the page's own canvas
//   for (const bvr::qr::Problem& p : bvr::qr::ValidateBillForPrinting(reading.bill, measure))
//     std::cerr << p.Text() << "\n";                 // the rules and texts too long to print
//   bvr::qr::DrawPaymentPart(canvas, reading.bill, 0, 2970 - bvr::qr::kBillHeight);
//
// Nothing is ever cut or shrunk to fit: a text that does not fit its section is a problem of
// its field, and DrawPaymentPart draws nothing for a bill with problems.
#pragma once

#include "draw/Canvas.h"
#include "qrbill/Bill.h"
#include "qrbill/Problem.h"
#include "qrbill/QrSymbol.h"

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
};

// The texts that do not fit their section, measured with the canvas's fonts ("creditor.name :
// …"): a word wider than its section is broken between characters, lines wrap at blanks, and
// what then passes the section's foot is a problem of the field whose line it is.
Problems FitProblems(const Bill& bill, ICanvas& canvas);

// The bill's rules (ValidateBill) and then FitProblems.
Problems ValidateBillForPrinting(const Bill& bill, ICanvas& canvas);

// Draws the bill with its top-left corner at (left, top), tenths of a millimetre. Fails with
// EBillInvalid, having drawn nothing, for a bill that ValidateBillForPrinting refuses. Pen and
// font are left as they were.
void DrawPaymentPart(ICanvas& canvas, const Bill& bill, double left, double top,
                     const PaymentPartOptions& options = {});

}  // namespace bvr::qr
