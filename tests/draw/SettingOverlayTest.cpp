#include <gtest/gtest.h>

#include "SlipTestSupport.h"

namespace bvr {
namespace {

using test::DemoLayout;
using test::Recorder;

using Kind = CanvasOp::Kind;

// The overlay as a list of what was drawn, in order, for exact comparison.
struct Expected {
  Kind kind;
  double x1, y1, x2, y2;
  BrushStyle brush;
  TColor brushColor;
};

TEST(SettingOverlay, DrawsShadingLinesFramesCrossAndMarkInOrder) {
  Recorder r;
  auto layout = DemoLayout();
  layout->Account().Setnumber("01-987654-5");     // fails its check digit: no matter here
  layout->PaymentBy().Receipt().Imprime = false;  // framed all the same
  DrawSettingOverlay(r.slip, *layout, 2100.792, 1087.4375);

  const auto solid = BrushStyle::Solid;
  const TColor shade = clInactiveCaptionText;
  std::vector<Expected> expected = {
      {Kind::Rectangle, 0, 0, 2100.792, 1087.4375, solid, shade},
      {Kind::Line, 0, 0, 2100.792, 1087.4375, solid, clWhite},
      {Kind::Line, 0, 0, 2100.792, 0, solid, clWhite},
      {Kind::Line, 600, 0, 600, 1087.4375, solid, clWhite},
  };
  const TBvrProperties& l = *layout;
  for (const TBaseZone* z : {static_cast<const TBaseZone*>(&l.PaymentFor().Receipt()),
                             static_cast<const TBaseZone*>(&l.PaymentFor().Processing()),
                             static_cast<const TBaseZone*>(&l.PaymentBy().Receipt()),
                             static_cast<const TBaseZone*>(&l.PaymentBy().Processing()),
                             static_cast<const TBaseZone*>(&l.Account().Receipt()),
                             static_cast<const TBaseZone*>(&l.Amount().Processing()),
                             static_cast<const TBaseZone*>(&l.Reference().Receipt()),
                             static_cast<const TBaseZone*>(&l.Reference().Processing()),
                             static_cast<const TBaseZone*>(&l.Account().Processing()),
                             static_cast<const TBaseZone*>(&l.Amount().Receipt())}) {
    expected.push_back({Kind::Rectangle, double(z->Left()), double(z->Top()),
                        double(z->Left() + z->Width()), double(z->Top() + z->height()), solid,
                        clWhite});
  }
  const TMontant& m = l.Amount();
  for (const TFontBaseZone* z : {&m.Receipt(), &m.Processing()}) {
    const double d = z->Left() + z->Width() - m.decimalWidth();
    const double top = z->Top(), bottom = z->Top() + z->height();
    expected.push_back({Kind::Line, d, top, d, bottom, solid, clWhite});
    expected.push_back(
        {Kind::Line, d - m.CommaWidth(), top, d - m.CommaWidth(), bottom, solid, clWhite});
  }
  expected.push_back({Kind::Line, 2024, 10, 2024, 1150, solid, clWhite});
  expected.push_back({Kind::Line, 600, 868, 2100, 868, solid, clWhite});
  expected.push_back({Kind::Line, 1400, 150, 1700, 150, solid, shade});
  expected.push_back({Kind::Line, 1400, 140, 1400, 160, solid, shade});
  expected.push_back({Kind::Line, 1700, 140, 1700, 160, solid, shade});

  std::vector<CanvasOp> shapes;
  for (const CanvasOp& op : r.canvas.Ops()) {
    if (op.kind == Kind::Rectangle || op.kind == Kind::Line) {
      shapes.push_back(op);
    }
  }
  ASSERT_EQ(shapes.size(), expected.size());
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(shapes[i].kind, expected[i].kind);
    EXPECT_DOUBLE_EQ(shapes[i].X1, expected[i].x1);
    EXPECT_DOUBLE_EQ(shapes[i].Y1, expected[i].y1);
    EXPECT_DOUBLE_EQ(shapes[i].X2, expected[i].x2);
    EXPECT_DOUBLE_EQ(shapes[i].Y2, expected[i].y2);
    EXPECT_EQ(shapes[i].Brush, expected[i].brush);
    EXPECT_EQ(shapes[i].BrushColor, expected[i].brushColor);
  }

  // The sample line sits where the payment's line would, on white, after the three lines.
  const auto chars = r.CodingChars();
  ASSERT_EQ(Recorder::Joined(chars), "042>123456789012345678901234567+ 019876544>");
  EXPECT_NEAR(chars.back().X1 + 25.4, 2024, 1e-9);
  EXPECT_EQ(chars.front().BrushColor, clWhite);

  const std::vector<std::string> labels = {" largeur : 3 cm", " x : 14 cm", " y : 1.5 cm"};
  std::vector<CanvasOp> texts;
  for (const CanvasOp& op : r.Texts()) {
    if (op.Font.Name == "Courrier New") {
      texts.push_back(op);
    }
  }
  ASSERT_EQ(texts.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(texts[i].Text, labels[i]);
    EXPECT_DOUBLE_EQ(texts[i].X1, 1450);
    EXPECT_DOUBLE_EQ(texts[i].Y1, 170 + 40.0 * static_cast<double>(i));
    EXPECT_DOUBLE_EQ(texts[i].Font.Size, 8);
    EXPECT_EQ(texts[i].Font.Style, fsBold);
    EXPECT_EQ(texts[i].BrushColor, shade);
  }
  // Labels come last.
  EXPECT_EQ(r.canvas.Ops().back().Text, " y : 1.5 cm");
}

TEST(SettingOverlay, CrossAndSampleFollowTheCodingLineOffsets) {
  Recorder r;
  auto layout = DemoLayout();
  layout->CodageZone().fromRight = 0;
  layout->CodageZone().fromBottom = 0;
  DrawSettingOverlay(r.slip, *layout, 2100, 1058);
  const auto chars = r.CodingChars();
  ASSERT_FALSE(chars.empty());
  EXPECT_NEAR(chars.back().X1 + 25.4, 2100, 1e-9);
  int crossLines = 0;
  for (const CanvasOp& op : r.canvas.Ops()) {
    if (op.kind == Kind::Line && op.X1 == 2100 && op.X2 == 2100 && op.Y1 == 10) {
      ++crossLines;
    }
    if (op.kind == Kind::Line && op.Y1 == 1058 && op.Y2 == 1058 && op.X1 == 600) {
      ++crossLines;
    }
  }
  EXPECT_EQ(crossLines, 2);
}

}  // namespace
}  // namespace bvr
