// The calibration arithmetic, the measures as typed, and the paper a job asks the spooler for.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "printing/Calibration.h"
#include "printing/CupsPrinting.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

struct OffsetCase {
  const char* what;
  PrinterOffset stored;
  PaperPoint nominal;
  PaperPoint measured;
  PrinterOffset expected;
};

TEST(CalibratedOffset, StoredPlusNominalMinusMeasuredInTenths) {
  const OffsetCase cases[] = {
      {"on the mark: nothing changes", {0, 0}, {139.95, 206.17}, {139.95, 206.17}, {0, 0}},
      {"on the mark keeps the stored", {25, -15}, {139.95, 206.17}, {139.95, 206.17}, {25, -15}},
      {"ink right and low: move left, up", {0, 0}, {139.95, 206.17}, {141.2, 207.0}, {-13, -8}},
      {"ink left and high: move right, down", {0, 0}, {139.95, 206.17}, {138.5, 205.0}, {15, 12}},
      {"the correction adds to the stored", {25, -15}, {139.95, 206.17}, {142.41, 204.68}, {0, 0}},
      {"x and y apart", {3, 4}, {140, 200}, {139, 200}, {13, 4}},
      {"half a tenth rounds away from zero", {0, 0}, {140, 200}, {139.85, 200.15}, {2, -2}},
      // 1.0 - 0.65 is 0.3499999... in binary.
      {"0.35 mm is not 3.4999 tenths", {0, 0}, {1.0, 1.0}, {0.65, 1.35}, {4, -4}},
      {"just below half a tenth", {0, 0}, {140, 200}, {139.86, 200.14}, {1, -1}},
      {"a whole 20 mm is still taken", {0, 0}, {140, 200}, {120, 220}, {200, -200}},
  };
  for (const OffsetCase& c : cases) {
    EXPECT_EQ(CalibratedOffset(c.stored, c.nominal, c.measured), c.expected)
        << c.what << ": got " << CalibratedOffset(c.stored, c.nominal, c.measured).dx << ","
        << CalibratedOffset(c.stored, c.nominal, c.measured).dy;
  }
}

// The result stays within the offsets' range, whatever was stored: computed wide, never
// wrapped round.
TEST(CalibratedOffset, RefusesAResultOutOfRange) {
  const struct {
    PrinterOffset stored;
    PaperPoint measured;
    bool taken;
  } cases[] = {
      {{490, 0}, {138.9, 200}, false},      // 490 + 11
      {{490, 0}, {140, 200}, true},         // 490 exactly
      {{-495, -495}, {140.6, 200}, false},  // -495 - 6
      {{-495, -495}, {140.5, 200.5}, true},
      {{2147483647, 0}, {130, 200}, false},
      {{0, -2147483647 - 1}, {140, 214.5}, false},
  };
  for (const auto& c : cases) {
    if (c.taken) {
      EXPECT_NO_THROW(CalibratedOffset(c.stored, {140, 200}, c.measured));
    } else {
      EXPECT_THROW(CalibratedOffset(c.stored, {140, 200}, c.measured), EBvrError)
          << c.stored.dx << "," << c.stored.dy;
    }
  }
}

TEST(CalibratedOffset, RefusesAMarkFarFromItsPlace) {
  // Measured from the wrong edge, or the coding line's cross taken for the mark.
  const PaperPoint far[] = {
      {160.1, 206.17}, {139.95, 186.0}, {0, 0}, {69.8, 206.17}, {139.95, NAN}};
  for (const PaperPoint& measured : far) {
    EXPECT_THROW(CalibratedOffset({0, 0}, {139.95, 206.17}, measured), EBvrError)
        << measured.xMm << "," << measured.yMm;
  }
  try {
    CalibratedOffset({0, 0}, {139.95, 206.17}, {139.95, 100.0});
    FAIL() << "no error";
  } catch (const EBvrError& e) {
    EXPECT_NE(std::string(e.what()).find("y : 100.00 mm mesuré pour 206.17 mm"), std::string::npos)
        << e.what();
  }
}

TEST(ScalingPercent, OnlyBeyondThreeTenthsOfAMillimetre) {
  const struct {
    double length;
    std::optional<double> percent;
  } cases[] = {
      {30.0, std::nullopt}, {30.3, std::nullopt}, {29.7, std::nullopt},
      {30.1, std::nullopt}, {30.31, 101.0333333}, {29.69, 98.9666667},
      {28.5, 95.0},         {31.5, 105.0},        {29.0, 96.6666667},
  };
  for (const auto& c : cases) {
    const std::optional<double> got = ScalingPercent(c.length);
    ASSERT_EQ(got.has_value(), c.percent.has_value()) << c.length;
    if (got) {
      EXPECT_NEAR(*got, *c.percent, 1e-6) << c.length;
    }
  }
}

TEST(ParsePaperPoint, TwoMillimetreValuesWithADecimalPoint) {
  const struct {
    const char* text;
    std::optional<PaperPoint> point;
  } cases[] = {
      {"140.5,26", PaperPoint{140.5, 26}},
      {"0,0", PaperPoint{0, 0}},
      {"-1.25,3", PaperPoint{-1.25, 3}},
      {"140,5", PaperPoint{140, 5}},
      {"", std::nullopt},
      {",", std::nullopt},
      {"140.5", std::nullopt},
      {"140.5,", std::nullopt},
      {",26", std::nullopt},
      {"140.5,26,1", std::nullopt},
      {" 140.5,26", std::nullopt},
      {"140.5 ,26", std::nullopt},
      {"1e2,26", std::nullopt},
      {"nan,26", std::nullopt},
      {"inf,26", std::nullopt},
      {"140.5.1,26", std::nullopt},
      {"140,5mm", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<PaperPoint> got = ParsePaperPoint(c.text);
    ASSERT_EQ(got.has_value(), c.point.has_value()) << "'" << c.text << "'";
    if (got) {
      EXPECT_DOUBLE_EQ(got->xMm, c.point->xMm) << c.text;
      EXPECT_DOUBLE_EQ(got->yMm, c.point->yMm) << c.text;
    }
  }
}

TEST(MediaOfPaper, A4ByNameOtherSizesInMillimetres) {
  const struct {
    double width;
    double height;
    const char* media;
  } cases[] = {
      {210, 297, "A4"},
      {210.04, 296.96, "A4"},
      {210, 105.8, "Custom.210x105.8mm"},
      {297, 210, "Custom.297x210mm"},
      {210.1, 297, "Custom.210.1x297mm"},
      {100.25, 50, "Custom.100.25x50mm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MediaOfPaper(QSizeF(c.width, c.height)), c.media) << c.width << " x " << c.height;
  }
}

}  // namespace
}  // namespace bvr
