// The empty orange slip form: background, printed headings, field boxes and the white coding
// line band. Drawn in slip units (tenths of a millimetre, 2100 x 1058) and scaled to any
// target, so the same picture serves the designer on screen and a form printed on plain paper.
#pragma once

#include <QRectF>

class QPainter;

namespace bvr {

// Paints the whole form into target. Leaves the painter's state as it found it.
void PaintSlipForm(QPainter& painter, const QRectF& target);

}  // namespace bvr
