// The printed symbol measured on a fine raster of its region: its extent, its clear margin,
// the Swiss cross at its centre. Dark is below half grey.
#pragma once

#include "pdf/GreyImage.h"

namespace bvr::reading {

struct BoxPx {
  int left = 0;
  int top = 0;
  int right = 0;  // inclusive
  int bottom = 0;

  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

// The dark extent around the point (cx, cy) inside the symbol: grown row by row and column by
// column until a white band of gapPx pixels, within the span hint (the code as detected,
// a little enlarged) on the other axis.
BoxPx SymbolExtent(const pdf::GreyImage& image, const BoxPx& hint, int gapPx);

// The distance in pixels from the box to the nearest dark pixel within reachPx around it;
// reachPx when there is none.
int Clearance(const pdf::GreyImage& image, const BoxPx& box, int reachPx);

struct CrossPx {
  bool found = false;   // a white centre inside a dark square
  double squarePx = 0;  // the dark square's side
  double borderPx = 0;  // the narrowest white border around it
};

// The Swiss cross at the box's centre, on scan lines beside the cross's arms.
CrossPx MeasureCross(const pdf::GreyImage& image, const BoxPx& symbol, double pxPerMm);

}  // namespace bvr::reading
