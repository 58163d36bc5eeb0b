// Where a QR-bill goes on an invoice: on the foot of its last page when that page is A4
// portrait as shown and its bottom 105 mm hold no ink, else on a new A4 page after it.
#pragma once

#include <string>
#include <string_view>

#include "pdf/InvoicePdf.h"
#include "pdf/PdfDocument.h"

namespace bvr::pdf {

enum class BillWhere { Auto, LastPage, NewPage };

// "auto", "last-page", "new-page"; nullopt-like false for anything else.
bool BillWhereFromText(std::string_view text, BillWhere& where);

// The bill's height, and the strip that must be free for it.
inline constexpr double kBillStripMm = 105;
// A page within this of 210 x 297 mm is A4 (producers round the points differently).
inline constexpr double kA4ToleranceMm = 1;

bool IsA4Portrait(SizeMm shown);

// True when the page's bottom kBillStripMm, across its whole width as shown, render white at
// a low resolution: not a mark, a hairline or a tinted background.
bool FootIsFree(const PdfDocument& pdf, int page);

struct BillPlace {
  bool onLastPage = false;
  std::string why;  // for auto: why the bill went where it went
};

// The choice for invoice (opened twice: for its structure and for rendering its foot). A
// forced last page that is not A4 portrait or whose foot is taken fails (EBvrError) saying
// which; the foot is rendered only when the choice depends on it.
BillPlace ChooseBillPlace(BillWhere where, const InvoicePdf& invoice, std::string_view bytes);

// The invoice with page billPage of bills where place says.
void AttachBill(InvoicePdf& invoice, const BillPlace& place, const BillDocument& bills,
                int billPage);

}  // namespace bvr::pdf
