// The page-to-device conversion of a report being produced, with the canvas it draws on.
#pragma once

#include "draw/Canvas.h"

namespace bvr {

// The printer of the report being produced: its canvas and the page-to-device conversion.
// Page coordinates are tenths of a millimetre from the paper's top-left corner.
class TQRPrinter {
 public:
  TQRPrinter(ICanvas& canvas, double xUnitsPerTenth, double yUnitsPerTenth)
      : canvas_(canvas), xScale_(xUnitsPerTenth), yScale_(yUnitsPerTenth) {}
  ICanvas& Canvas() const { return canvas_; }
  double XPos(double pageX) const { return pageX * xScale_; }
  double YPos(double pageY) const { return pageY * yScale_; }
  double XSize(double length) const { return length * xScale_; }
  double YSize(double length) const { return length * yScale_; }

 private:
  ICanvas& canvas_;
  double xScale_;
  double yScale_;
};

}  // namespace bvr
