// Rectangles filled as one shape: where two touch at a fractional position, an antialiased
// painter leaves a lighter seam between separate fills but none inside one.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "report/QPainterCanvas.h"

namespace bvr {
namespace {

// The lightest pixel along the row through the rectangles' shared edge (x = 10.5).
int LightestAtSeam(bool oneShape) {
  QImage image(30, 30, QImage::Format_Grayscale8);
  image.fill(255);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterCanvas canvas(painter);
    const std::vector<DeviceRect> rects{{2.5, 2.5, 10.5, 20.5}, {10.5, 2.5, 20.5, 20.5}};
    if (oneShape) {
      canvas.FillRects(rects, clBlack);
    } else {
      for (const DeviceRect& r : rects) {
        canvas.FillRect(r, clBlack);
      }
    }
  }
  int lightest = 0;
  for (int y = 4; y < 19; ++y) {
    lightest = std::max(lightest, static_cast<int>(image.constScanLine(y)[10]));
  }
  return lightest;
}

TEST(CanvasFill, OneShapeLeavesNoSeam) {
  EXPECT_EQ(LightestAtSeam(true), 0);
  EXPECT_GT(LightestAtSeam(false), 0) << "separate antialiased fills do leave one";
}

}  // namespace
}  // namespace bvr
