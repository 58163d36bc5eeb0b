// The bill laid out once, in millimetres from its top-left corner and in points, from the
// face's own advances: every output draws this same layout. Texts that do not hold in their
// section at the recommended sizes are fitted by the guideline's own means, least loss first:
//   1. a name takes a second line (every other value wraps as it needs);
//   2. smaller type for the section, half a point at a time: receipt values 8 down to 6 pt
//      (headings stay 6 pt), payment-part values 10 down to 8 pt with headings 2 pt below
//      (8 down to 6 pt); line spacing shrinks with the type;
//   3. on the receipt, the street and building number of both addresses are left out, at
//      the largest type that then holds;
//   4. the additional information ends in "..." after the lines that hold, at the smallest
//      type;
//   5. a last resort that no bill within the length rules has needed: a name beyond two
//      lines ends in "...", and the lines passing the section's foot are cut, the last one
//      ending in "...".
// Nothing is dropped before type gets smaller: the receipt keeps every word a payer may want
// to check, as long as it can. The QR code always carries everything.
#pragma once

#include <string>
#include <vector>

#include "qrbill/Bill.h"
#include "qrprint/TextFitter.h"

namespace bvr::qr {

// Millimetres from the bill's top-left corner; y is the text's cell top.
struct LaidText {
  double x = 0;
  double y = 0;
  double points = 0;
  bool bold = false;
  std::string text;
};

// A blank field's box, drawn as corner marks.
struct MarkBox {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

// Which fitting steps a section needed.
struct SectionFit {
  double valuePoints = 0;
  double headingPoints = 0;
  bool streetsLeftOut = false;
  bool informationShortened = false;
  bool lastResort = false;
};

struct BillLayout {
  std::vector<LaidText> texts;
  std::vector<MarkBox> boxes;
  SectionFit receipt;
  SectionFit payment;
  bool alternativesShortened = false;
};

BillLayout LayOutBill(const Bill& bill, const TextFitter& fitter);

// Millimetres; the amount section's blank box of the payment part ends here, clear of the
// information column at 118 mm.
inline constexpr double kPaymentAmountBoxRight = 116;

}  // namespace bvr::qr
