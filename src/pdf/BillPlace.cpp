#include "pdf/BillPlace.h"

#include <algorithm>
#include <cmath>

#include "pdf/PageRaster.h"
#include "strings/BvrError.h"

namespace bvr::pdf {

namespace {

// Low enough to cost a few milliseconds, high enough that a 0.25 pt hairline still tints
// its pixels by a sixth: anything darker than kPaper is ink.
constexpr double kFootDpi = 50;
constexpr std::uint8_t kPaper = 250;

std::string SizeText(SizeMm size) {
  return Fmt("%d x %d mm").d(std::lround(size.width)).d(std::lround(size.height)).str();
}

// A foot that cannot be rendered, or a file the renderer counts other pages in (repaired
// otherwise), is not known to be free.
bool FootKnownFree(std::string_view bytes, int page, int pages) {
  try {
    const PdfDocument rendering = PdfDocument::FromBytes(bytes);
    return rendering.PageCount() == pages && FootIsFree(rendering, page);
  } catch (const EBvrError&) {
    return false;
  }
}

}  // namespace

bool BillWhereFromText(std::string_view text, BillWhere& where) {
  if (text == "auto") {
    where = BillWhere::Auto;
  } else if (text == "last-page") {
    where = BillWhere::LastPage;
  } else if (text == "new-page") {
    where = BillWhere::NewPage;
  } else {
    return false;
  }
  return true;
}

bool IsA4Portrait(SizeMm shown) {
  return std::abs(shown.width - 210) <= kA4ToleranceMm &&
         std::abs(shown.height - 297) <= kA4ToleranceMm;
}

bool FootIsFree(const PdfDocument& pdf, int page) {
  const SizeMm size = pdf.PageSize(page);
  const GreyImage strip = RenderRegion(
      pdf, page, {0, std::max(0.0, size.height - kBillStripMm), size.width, kBillStripMm},
      kFootDpi);
  return std::all_of(strip.pixels.begin(), strip.pixels.end(),
                     [](std::uint8_t p) { return p >= kPaper; });
}

BillPlace ChooseBillPlace(BillWhere where, const InvoicePdf& invoice, std::string_view bytes) {
  if (where == BillWhere::NewPage) {
    return {false, "asked for a new page"};
  }
  const int last = invoice.PageCount() - 1;
  const SizeMm shown = invoice.ShownSize(last);
  if (!IsA4Portrait(shown)) {
    const std::string why = "the last page is not A4 portrait (" + SizeText(shown) + ")";
    if (where == BillWhere::LastPage) {
      throw EBvrError(why + "; the bill needs the foot of an A4 portrait page");
    }
    return {false, why};
  }
  if (!FootKnownFree(bytes, last, invoice.PageCount())) {
    const std::string why = "the foot of the last page (its bottom 105 mm) is not free";
    if (where == BillWhere::LastPage) {
      throw EBvrError(why + "; the bill would be drawn over the invoice");
    }
    return {false, why};
  }
  return {true, "the foot of the last page is free"};
}

void AttachBill(InvoicePdf& invoice, const BillPlace& place, const BillDocument& bills,
                int billPage) {
  if (place.onLastPage) {
    invoice.PlaceBillOnPage(invoice.PageCount() - 1, bills, billPage);
  } else {
    invoice.AppendBillPage(bills, billPage);
  }
}

}  // namespace bvr::pdf
