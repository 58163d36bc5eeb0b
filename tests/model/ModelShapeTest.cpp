#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "FakeZoneShape.h"
#include "model/BvrProperties.h"

namespace bvr {
namespace {

using test::FakeZoneShape;
using Calls = std::vector<std::string>;

TEST(ZoneShape, UpdateShapePlacesTheRectangleAtTheViewScale) {
  TFontBaseZone zone(nullptr);
  FakeZoneShape shape;
  zone.SetShape(&shape);
  zone.SetViewWidth(411);
  zone.SetLeft(10);
  zone.SetTop(80);
  zone.SetWidth(550);
  zone.Setheight(300);
  EXPECT_TRUE(shape.calls.empty()) << "setters must not push to the shape";

  zone.UpdateShape();

  EXPECT_EQ(shape.modelRect, (ZoneRect{10, 80, 560, 380}));
  EXPECT_EQ(shape.viewWidth, 411.0);
  // left 2, top 16, width 108, height 59
  EXPECT_EQ(shape.bounds, (ZoneRect{2, 16, 110, 75}));
}

// What each zone class pushes besides its rectangle.
struct PushCase {
  const char* zoneClass;
  std::function<std::unique_ptr<TBaseZone>()> make;
  Calls calls;
};

void PrintTo(const PushCase& c, std::ostream* os) {
  *os << c.zoneClass;
}

class UpdateShapeTest : public ::testing::TestWithParam<PushCase> {};

TEST_P(UpdateShapeTest, PushesRectangleThenItsFontAndText) {
  std::unique_ptr<TBaseZone> zone = GetParam().make();
  FakeZoneShape shape;
  zone->SetShape(&shape);
  zone->UpdateShape();
  EXPECT_EQ(shape.calls, GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    ZoneClasses, UpdateShapeTest,
    ::testing::Values(PushCase{"TBaseZone", [] { return std::make_unique<TBaseZone>(nullptr); },
                               Calls{"bounds", "invalidate"}},
                      PushCase{"TZone", [] { return std::make_unique<TZone>(nullptr); },
                               Calls{"bounds", "invalidate", "font", "lines"}},
                      PushCase{"TFontBaseZone",
                               [] { return std::make_unique<TFontBaseZone>(nullptr); },
                               Calls{"bounds", "invalidate", "font"}},
                      PushCase{"TlineTextZone",
                               [] { return std::make_unique<TlineTextZone>(nullptr); },
                               Calls{"bounds", "invalidate", "font", "lineText"}}));

TEST(ZoneShape, UpdateShapeCopiesFontAndText) {
  TZone zone(nullptr);
  TFont font;
  font.SetName("OCR-B");
  font.SetStyle(fsBold);
  zone.SetFont(font);
  zone.SetText({"Plenwick", "1200 Genève"});
  TlineTextZone line(nullptr);
  line.SetLineText("01-987654-4");
  FakeZoneShape zoneShape, lineShape;
  zone.SetShape(&zoneShape);
  line.SetShape(&lineShape);
  zone.UpdateShape();
  line.UpdateShape();
  EXPECT_EQ(zoneShape.font.Name(), "OCR-B");
  EXPECT_EQ(zoneShape.font.Style(), fsBold);
  EXPECT_EQ(zoneShape.lines, (std::vector<std::string>{"Plenwick", "1200 Genève"}));
  EXPECT_EQ(lineShape.lineText, "01-987654-4");
}

TEST(ZoneShape, ShapeChangedTakesTheBoundsBackInTenthsOfAMillimetre) {
  struct Case {
    double viewWidth;
    ZoneRect pixels;
    std::int32_t left, top, width, height;
  };
  const Case cases[] = {
      // 10.22, 81.75, 551.82, 301.46
      {411, {2, 16, 110, 75}, 10, 82, 552, 301},
      // Scale 2: 2.5, 3.5, 4.5, 5.5 go to the even neighbour.
      {4200, {5, 7, 14, 18}, 2, 4, 4, 6},
      // Dragged above and left of the slip: stored as it is.
      {411, {-2, -1, 0, 3}, -10, -5, 10, 20},
  };
  for (const Case& c : cases) {
    TFontBaseZone zone(nullptr);
    FakeZoneShape shape;
    zone.SetShape(&shape);
    zone.SetViewWidth(c.viewWidth);
    shape.DragTo(c.pixels);
    EXPECT_EQ(zone.Left(), c.left);
    EXPECT_EQ(zone.Top(), c.top);
    EXPECT_EQ(zone.Width(), c.width);
    EXPECT_EQ(zone.height(), c.height);
    EXPECT_TRUE(shape.calls.empty()) << "the shape already shows its bounds";
  }
}

TEST(ZoneShape, ShapeChangedWithoutViewWidthLeavesTheZone) {
  TFontBaseZone zone(nullptr);
  zone.SetLeft(10);
  zone.SetTop(20);
  zone.SetWidth(30);
  zone.Setheight(40);
  FakeZoneShape shape;
  zone.SetShape(&shape);
  shape.DragTo({2, 16, 110, 75});
  EXPECT_EQ(zone.Left(), 10);
  EXPECT_EQ(zone.Top(), 20);
  EXPECT_EQ(zone.Width(), 30);
  EXPECT_EQ(zone.height(), 40);
}

TEST(ZoneShape, UnlinkingClearsTheLinkButNotTheShapesCallback) {
  TFontBaseZone zone(nullptr);
  FakeZoneShape shape;
  zone.SetShape(&shape);
  zone.SetShape(nullptr);
  EXPECT_EQ(zone.Shape(), nullptr);
  zone.UpdateShape();
  EXPECT_TRUE(shape.calls.empty());
  EXPECT_TRUE(static_cast<bool>(shape.onBoundsChanged));
}

TEST(ZoneShape, UpdateShapeSaturatesFarEdges) {
  TFontBaseZone zone(nullptr);
  FakeZoneShape shape;
  zone.SetShape(&shape);
  zone.SetLeft(2'000'000'000);
  zone.SetWidth(2'000'000'000);
  zone.SetTop(-2'000'000'000);
  zone.Setheight(-2'000'000'000);
  zone.UpdateShape();
  EXPECT_EQ(shape.modelRect, (ZoneRect{2'000'000'000, -2'000'000'000, INT32_MAX, INT32_MIN}));
}

TEST(SlipShapes, SetViewWidthMovesNothingUntilUpdateZones) {
  TBvrProperties p;
  std::array<FakeZoneShape, 10> shapes;
  std::vector<const FakeZoneShape*> journal;
  const std::array<TBaseZone*, 10> zones = p.Zones();
  for (std::size_t i = 0; i < zones.size(); ++i) {
    shapes[i].journal = &journal;
    zones[i]->SetShape(&shapes[i]);
  }

  p.SetViewWidth(411);
  for (std::size_t i = 0; i < zones.size(); ++i) {
    EXPECT_EQ(zones[i]->ViewWidth(), 411.0);
    EXPECT_TRUE(shapes[i].calls.empty());
  }

  p.UpdateZones();
  ASSERT_EQ(journal.size(), 10u);
  for (std::size_t i = 0; i < zones.size(); ++i) {
    EXPECT_EQ(journal[i], &shapes[i]) << "zone " << i << " out of order";
    EXPECT_EQ(shapes[i].viewWidth, 411.0);
  }
  // The creditor receipt zone (10, 80, 550, 300) and the account processing zone
  // (860, 400, 300, 85) in pixels.
  EXPECT_EQ(p.PaymentFor().Receipt().Shape(), &shapes[4]);
  EXPECT_EQ(shapes[4].bounds, (ZoneRect{2, 16, 110, 75}));
  EXPECT_EQ(shapes[1].bounds, (ZoneRect{168, 78, 227, 95}));
}

TEST(SlipShapes, UpdateZonesVisitsTheZonesInAFixedOrder) {
  TBvrProperties p;
  const std::array<TBaseZone*, 10> expected = {
      &p.Account().Receipt(),      &p.Account().Processing(), &p.PaymentBy().Receipt(),
      &p.PaymentBy().Processing(), &p.PaymentFor().Receipt(), &p.PaymentFor().Processing(),
      &p.Amount().Receipt(),       &p.Amount().Processing(),  &p.Reference().Receipt(),
      &p.Reference().Processing()};
  EXPECT_EQ(p.Zones(), expected);
}

}  // namespace
}  // namespace bvr
