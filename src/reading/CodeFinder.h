// Every QR code in a grey raster, through ZXing (in-process): several per picture, any
// rotation, some skew.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "pdf/GreyImage.h"

namespace bvr::reading {

struct PointPx {
  double x = 0;
  double y = 0;
};

struct FoundCode {
  std::string bytes;  // the symbol's content as stored (our bills: UTF-8 without ECI)
  // The symbol's corners in the raster's pixels: its own top-left, top-right, bottom-right,
  // bottom-left (so a code upside down has its top-left at the raster's bottom-right).
  std::array<PointPx, 4> corners;
  int rotation = 0;  // degrees clockwise, as ZXing measures it
};

// Where the raster comes from: a page we rendered at a resolution of our choosing, or a
// picture of any resolution (a phone photo's code may span 2,000 pixels).
enum class RasterSource { RenderedPage, Picture };

// At most kMaxCodesPerPage codes. Pictures are also searched at halved resolutions, which
// costs a third more; rendered pages need not be.
std::vector<FoundCode> FindQrCodes(const pdf::GreyImage& image, RasterSource source);

}  // namespace bvr::reading
