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

// At most kMaxCodesPerPage codes.
std::vector<FoundCode> FindQrCodes(const pdf::GreyImage& image);

}  // namespace bvr::reading
