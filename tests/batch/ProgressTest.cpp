#include <gtest/gtest.h>

#include <string>

#include "batch/Progress.h"

namespace bvr {
namespace {

TEST(Progress, LineShowsPagesRateAndTimeLeft) {
  const struct {
    std::size_t done;
    std::size_t total;
    double elapsed;
    const char* line;
  } cases[] = {
      {0, 1000, 0.0, "  0/1000 pages"},
      {5, 1000, 0.0, "  5/1000 pages"},  // no rate yet
      {250, 1000, 0.5, "  250/1000 pages  500 pages/s  2 s left"},
      {300, 1000, 1.0, "  300/1000 pages  300 pages/s  3 s left"},  // 2.33 s rounded up
      {1000, 1000, 4.0, "  1000/1000 pages  250 pages/s  0 s left"},
      {3, 7, 3.0, "  3/7 pages  1 pages/s  4 s left"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressLine(c.done, c.total, c.elapsed), c.line);
  }
}

TEST(Progress, SlipOffsetReadsTwoIntegers) {
  const struct {
    const char* text;
    bool ok;
    int dx;
    int dy;
  } cases[] = {
      {"15,-5", true, 15, -5}, {"0,0", true, 0, 0},    {"-120,30", true, -120, 30},
      {"15", false, 0, 0},     {"15,", false, 0, 0},   {",5", false, 0, 0},
      {"1.5,2", false, 0, 0},  {"1,2,3", false, 0, 0}, {"+1,2", false, 0, 0},
      {" 1,2", false, 0, 0},   {"1;2", false, 0, 0},   {"99999999999,1", false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto offset = ParseSlipOffset(c.text);
    ASSERT_EQ(offset.has_value(), c.ok);
    if (c.ok) {
      EXPECT_EQ(offset->dx, c.dx);
      EXPECT_EQ(offset->dy, c.dy);
    }
  }
}

}  // namespace
}  // namespace bvr
