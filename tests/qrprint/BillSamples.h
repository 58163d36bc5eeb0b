// Valid bills for the drawing tests.
#pragma once

#include <memory>
#include <string>

#include "draw/TextMeasure.h"
#include "qrbill/Bill.h"

namespace bvr::qr::test {

// Half an em a character, near a real face's average: the fixed pitch's 0.6 em would wrap a
// QR reference on the receipt, which no real face does.
class NarrowMeasure final : public ITextMeasure {
 public:
  double Width(const CanvasFont& font, const std::string& text) const override {
    double points = 0;
    for (unsigned char c : text) {
      points += (c & 0xC0) == 0x80 ? 0 : font.Size * 0.5;
    }
    return points * 254 / 72;
  }
  double Height(const CanvasFont& font) const override { return font.Size * 1.15 * 254 / 72; }
  double Ascent(const CanvasFont& font) const override { return font.Size * 0.9 * 254 / 72; }
};

// QR-IBAN with a QR reference, amount, debtor and message.
inline Bill FullBill(Language language = Language::fr) {
  Bill bill;
  bill.account = "CH64 3196 1000 0044 2155 7";
  bill.creditor = {"Max Muster & Söhne", "Musterstrasse", "123", "8000", "Seldwyla", "CH"};
  bill.amount = "1949.75";
  bill.currency = "CHF";
  bill.debtor = Address{"Simon Muster", "Musterstrasse", "1", "8000", "Seldwyla", "CH"};
  bill.referenceType = ReferenceType::QRR;
  bill.reference = "000008207791225857421286694";
  bill.message = "Payment of travel";
  bill.language = language;
  return bill;
}

// An IBAN without reference, amount or debtor: the blank fields get corner marks.
inline Bill BlankBill(Language language = Language::fr) {
  Bill bill;
  bill.account = "CH5204835012345671000";
  bill.creditor = {"Sample Foundation", "PO Box", "", "3001", "Bern", "CH"};
  bill.currency = "CHF";
  bill.language = language;
  return bill;
}

}  // namespace bvr::qr::test
