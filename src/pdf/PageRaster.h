// A page, or a part of it, as an 8-bit grey raster at a bounded resolution.
#pragma once

#include "pdf/GreyImage.h"
#include "pdf/PdfDocument.h"

namespace bvr::pdf {

// A rectangle on the page as shown, in mm from its top-left corner.
struct RectMm {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

// False for a page whose size is no paper's (none, or a side beyond kMaxPageSideMm): such
// pages are skipped, never rendered.
bool PageRenderable(const PdfDocument& pdf, int page);

// The whole page at dpi (at most kMaxDpi). When the raster would exceed kMaxRasterPixels
// the resolution is lowered to fit; the image's dpi says which one was used. Anti-aliased.
GreyImage RenderPage(const PdfDocument& pdf, int page, double dpi);

// Only region (clipped to the page) at dpi, bounded the same way. The image's top-left pixel
// is the region's top-left corner.
GreyImage RenderRegion(const PdfDocument& pdf, int page, const RectMm& region, double dpi);

}  // namespace bvr::pdf
