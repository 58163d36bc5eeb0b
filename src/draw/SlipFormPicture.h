// The empty orange slip form: background, printed headings, field boxes and the white coding
// line band. Drawn in slip units (tenths of a millimetre, 2100 x 1058) and scaled to any
// target, so the same picture serves the designer on screen and a form printed on plain paper.
#pragma once

#include "draw/Canvas.h"

namespace bvr {

// Draws the whole form into target (device units). Lines stay at least one device unit wide.
// Leaves the canvas's pen, fill, font and clip as it found them.
void PaintSlipForm(ICanvas& canvas, const DeviceRect& target);

}  // namespace bvr
