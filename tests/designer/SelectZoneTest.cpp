// The selection zone: handle table and hit tests, drag steps and their limits, the link to a
// model zone, font scaling and painting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QScreen>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "MouseSupport.h"
#include "designer/ShapeHandles.h"
#include "designer/VYKBVRSelectZone.h"
#include "model/BvrProperties.h"

namespace bvr {
namespace {

using test::HoverTo;
using test::MoveTo;
using test::PressAt;
using test::ReleaseAt;

// ---- handles as data --------------------------------------------------------------------------

TEST(ShapeHandles, PositionsInAZoneOf108By59) {
  // Client area 106 x 57 inside the one-pixel frame.
  const QSize client(106, 57);
  const struct {
    GrabHandle handle;
    QPoint topLeft;
  } cases[] = {
      {GrabHandle::TopLeft, {0, 0}},        {GrabHandle::TopMiddle, {51, 0}},
      {GrabHandle::TopRight, {102, 0}},     {GrabHandle::RightMiddle, {102, 26}},
      {GrabHandle::BottomRight, {102, 53}}, {GrabHandle::BottomMiddle, {51, 53}},
      {GrabHandle::BottomLeft, {0, 53}},    {GrabHandle::LeftMiddle, {0, 26}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HandleRect(c.handle, client), QRect(c.topLeft, QSize(4, 4)))
        << static_cast<int>(c.handle);
  }
}

TEST(ShapeHandles, HitTestOrderSensitiveSquareAndCursors) {
  const struct {
    QSize client;
    QPoint point;
    std::optional<TDragMode> mode;
    Qt::CursorShape cursor;
  } cases[] = {
      // 11 x 11 zone: top-left and top-middle overlap; top-left is tested first.
      {{9, 9}, {3, 1}, dmTopLeft, Qt::SizeFDiagCursor},
      // Sensitive one pixel beyond the painted square, edges included.
      {{9, 9}, {4, 4}, dmTopLeft, Qt::SizeFDiagCursor},
      {{9, 9}, {6, 1}, dmTop, Qt::SizeVerCursor},
      {{9, 9}, {7, 1}, dmTopRight, Qt::SizeBDiagCursor},
      {{9, 9}, {2, 7}, dmBottom, Qt::SizeVerCursor},
      {{106, 57}, {5, 0}, std::nullopt, Qt::ArrowCursor},
      {{106, 57}, {106, 4}, dmTopRight, Qt::SizeBDiagCursor},
      {{106, 57}, {104, 30}, dmRight, Qt::SizeHorCursor},
      {{106, 57}, {106, 57}, dmBottomRight, Qt::SizeFDiagCursor},
      {{106, 57}, {51, 57}, dmBottom, Qt::SizeVerCursor},
      {{106, 57}, {4, 53}, dmBottomLeft, Qt::SizeBDiagCursor},
      {{106, 57}, {0, 26}, dmLeft, Qt::SizeHorCursor},
      {{106, 57}, {0, 31}, std::nullopt, Qt::ArrowCursor},
      {{106, 57}, {50, 28}, std::nullopt, Qt::ArrowCursor},
  };
  for (const auto& c : cases) {
    const std::optional<HandleInfo> hit = HitHandle(c.point, c.client);
    ASSERT_EQ(hit.has_value(), c.mode.has_value()) << c.point.x() << "," << c.point.y();
    if (hit) {
      EXPECT_EQ(hit->mode, *c.mode) << c.point.x() << "," << c.point.y();
      EXPECT_EQ(hit->cursor, c.cursor) << c.point.x() << "," << c.point.y();
    }
  }
}

TEST(ShapeHandles, DragStepPerMode) {
  // From bounds (100, 50, 40, 30) with the anchor at (10, 10), the mouse moves by (+3, -5).
  const DragState from{QRect(100, 50, 40, 30), QPoint(10, 10)};
  const QPoint mouse(13, 5);
  const struct {
    TDragMode mode;
    QRect bounds;
    QPoint anchor;
  } cases[] = {
      {dmMove, {103, 45, 40, 30}, {10, 10}},      {dmTop, {100, 45, 40, 35}, {10, 10}},
      {dmBottom, {100, 50, 40, 25}, {10, 5}},     {dmLeft, {103, 50, 37, 30}, {10, 10}},
      {dmRight, {100, 50, 43, 30}, {13, 10}},     {dmTopLeft, {103, 45, 37, 35}, {10, 10}},
      {dmTopRight, {100, 45, 43, 35}, {13, 10}},  {dmBottomRight, {100, 50, 43, 25}, {13, 5}},
      {dmBottomLeft, {103, 50, 37, 25}, {10, 5}},
  };
  for (const auto& c : cases) {
    const DragState to = DragStep(c.mode, from, mouse);
    EXPECT_EQ(to.bounds, c.bounds) << static_cast<int>(c.mode);
    EXPECT_EQ(to.anchor, c.anchor) << static_cast<int>(c.mode);
  }
}

// ---- the widget -------------------------------------------------------------------------------

// Stands in for the designer view: selects a zone on WM_SHAPESELECT, counts the messages.
class Host : public QWidget {
 public:
  bool selectOnRequest = true;
  int selectCount = 0;
  int changedCount = 0;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == WM_SHAPESELECT) {
      ++selectCount;
      if (selectOnRequest) {
        static_cast<ShapeEvent*>(e)->Zone()->SetSelected(true);
      }
      return true;
    }
    if (e->type() == WM_SHAPECHANGED) {
      ++changedCount;
      return true;
    }
    return QWidget::event(e);
  }
};

class ShapeZoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.resize(600, 400);
    zone = new TShapeZone(&host);
    zone->setGeometry(20, 20, 40, 30);  // client 38 x 28
    zone->SetOnBoundsChanged([this] { ++boundsChanged; });
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  }

  Host host;
  TShapeZone* zone = nullptr;
  int boundsChanged = 0;
};

TEST_F(ShapeZoneTest, PressSelectsThroughTheOwnerAndGrabsTheHandleAtOnce) {
  // Client (1, 13) is on the left-middle handle: parent = zone origin + frame + client.
  PressAt(zone, {22, 34});
  EXPECT_EQ(host.selectCount, 1);
  EXPECT_TRUE(zone->Selected());
  EXPECT_TRUE(zone->Dragging());
  EXPECT_EQ(zone->DragMode(), dmLeft);
  EXPECT_EQ(zone->cursor().shape(), Qt::SizeHorCursor);
  ReleaseAt(zone, {22, 34});
  EXPECT_FALSE(zone->Dragging());
  EXPECT_EQ(zone->DragMode(), dmMove);
  // Released while selected: no change message.
  EXPECT_EQ(host.changedCount, 0);

  // A press on an already selected zone sends nothing.
  PressAt(zone, {40, 35});
  EXPECT_EQ(host.selectCount, 1);
  EXPECT_EQ(zone->DragMode(), dmMove);
  ReleaseAt(zone, {40, 35});
}

TEST_F(ShapeZoneTest, UnselectedZoneIgnoresMovesAndReportsRelease) {
  host.selectOnRequest = false;
  zone->setCursor(Qt::CrossCursor);
  PressAt(zone, {40, 35});
  EXPECT_EQ(host.selectCount, 1);
  MoveTo(zone, {50, 45});
  HoverTo(zone, {21, 21});
  EXPECT_EQ(zone->geometry(), QRect(20, 20, 40, 30));
  EXPECT_EQ(boundsChanged, 0);
  ReleaseAt(zone, {50, 45});
  EXPECT_EQ(host.changedCount, 1);
  EXPECT_FALSE(zone->Dragging());
}

TEST_F(ShapeZoneTest, HoverOverHandlesOfSelectedZoneSetsCursor) {
  zone->SetSelected(true);
  HoverTo(zone, {58, 48});  // client (37, 27): bottom-right
  EXPECT_EQ(zone->cursor().shape(), Qt::SizeFDiagCursor);
  HoverTo(zone, {40, 35});
  EXPECT_EQ(zone->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(boundsChanged, 0);
}

TEST_F(ShapeZoneTest, SizesDownToElevenPixelsAndRefusesTen) {
  // Each row grabs one handle and drags so that the size ends at 11 (taken) then 10 (refused).
  const struct {
    const char* name;
    QPoint press;  // parent coordinates
    QPoint to11;
    QPoint to10;
    QRect at11;
  } cases[] = {
      {"right", {56, 34}, {27, 34}, {26, 34}, {20, 20, 11, 30}},
      {"left", {22, 34}, {51, 34}, {52, 34}, {49, 20, 11, 30}},
      {"bottom", {40, 48}, {40, 29}, {40, 28}, {20, 20, 40, 11}},
      {"top", {40, 22}, {40, 41}, {40, 42}, {20, 39, 40, 11}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    zone->setGeometry(20, 20, 40, 30);
    zone->SetSelected(true);
    boundsChanged = 0;
    host.changedCount = 0;
    PressAt(zone, c.press);
    MoveTo(zone, c.to11);
    EXPECT_EQ(zone->geometry(), c.at11);
    MoveTo(zone, c.to10);
    EXPECT_EQ(zone->geometry(), c.at11);
    ReleaseAt(zone, c.to10);
    EXPECT_EQ(boundsChanged, 1);
    EXPECT_EQ(host.changedCount, 1);
  }
}

TEST_F(ShapeZoneTest, RightEdgeResumesFromTheMouseAfterARefusal) {
  zone->SetSelected(true);
  PressAt(zone, {56, 34});  // client (35, 13): right-middle
  MoveTo(zone, {31, 34});   // dx -25: width 15
  EXPECT_EQ(zone->geometry(), QRect(20, 20, 15, 30));
  MoveTo(zone, {25, 34});  // dx -6: width 9, refused; the anchor follows anyway
  EXPECT_EQ(zone->geometry(), QRect(20, 20, 15, 30));
  EXPECT_EQ(zone->Anchor(), QPoint(4, 13));
  MoveTo(zone, {28, 34});  // dx +3 from where the mouse now is
  EXPECT_EQ(zone->geometry(), QRect(20, 20, 18, 30));
  ReleaseAt(zone, {28, 34});
  EXPECT_EQ(boundsChanged, 2);
}

TEST_F(ShapeZoneTest, LeftEdgeJumpsBackUnderTheMouse) {
  zone->SetSelected(true);
  PressAt(zone, {22, 34});  // client (1, 13): left-middle, two pixels right of the edge
  MoveTo(zone, {47, 34});
  EXPECT_EQ(zone->geometry(), QRect(45, 20, 15, 30));
  MoveTo(zone, {53, 34});  // width 9: refused
  EXPECT_EQ(zone->geometry(), QRect(45, 20, 15, 30));
  MoveTo(zone, {50, 34});  // the edge follows the mouse again, still two pixels to its left
  EXPECT_EQ(zone->geometry(), QRect(48, 20, 12, 30));
  ReleaseAt(zone, {50, 34});
}

TEST_F(ShapeZoneTest, MoveKeepsFourPixelsInsideTheView) {
  // The host is 600 x 400, the zone 40 x 30: it stops with 4 pixels left inside.
  const struct {
    const char* name;
    QPoint to;  // from the press at (40, 35)
    QPoint pos;
  } cases[] = {
      {"up and left", {40 - 600, 35 - 700}, {-36, -26}},
      {"right", {40 + 5000, 35}, {596, 20}},
      {"down", {40, 35 + 5000}, {20, 396}},
      {"partly out is fine", {40 - 50, 35 - 40}, {-30, -20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    zone->setGeometry(20, 20, 40, 30);
    zone->SetSelected(true);
    PressAt(zone, {40, 35});
    MoveTo(zone, c.to);
    EXPECT_EQ(zone->pos(), c.pos);
    ReleaseAt(zone, c.to);
  }
  // Back from the border as soon as the mouse returns to where it holds the zone.
  zone->setGeometry(20, 20, 40, 30);
  PressAt(zone, {40, 35});
  MoveTo(zone, {40 + 5000, 35});
  MoveTo(zone, {596 + 20 - 10, 35});
  EXPECT_EQ(zone->pos(), QPoint(586, 20));
  ReleaseAt(zone, {596 + 20 - 10, 35});
}

TEST_F(ShapeZoneTest, ResizeOutOfReachIsRefused) {
  zone->setGeometry(-20, 20, 40, 30);  // 20 pixels inside on the left
  zone->SetSelected(true);
  PressAt(zone, {-20 + 1 + 37, 34});  // right-middle handle
  MoveTo(zone, {-20 + 1 + 37 - 14, 34});
  EXPECT_EQ(zone->geometry(), QRect(-20, 20, 26, 30));  // right edge at 6: still in reach
  MoveTo(zone, {-20 + 1 + 37 - 17, 34});                // right edge at 3: refused
  EXPECT_EQ(zone->geometry(), QRect(-20, 20, 26, 30));
  ReleaseAt(zone, {-20 + 1 + 37 - 17, 34});
}

// However the left button's release is lost, the drag ends and the bare mouse moves nothing.
TEST_F(ShapeZoneTest, ADragEndsWhenTheReleaseIsSwallowed) {
  QMenu menu;
  menu.addAction(QStringLiteral("item"));
  zone->SetPopupMenu(&menu);
  int finished = 0;
  QObject::connect(zone, &TShapeZone::DragFinished, [&] { ++finished; });
  const struct {
    const char* name;
    std::function<void()> swallow;
  } cases[] = {
      {"right click opens the menu, which takes the release",
       [&] {
         // QTest's widget mouse does not raise the context menu; sent as the window does.
         PressAt(zone, {45, 35}, Qt::RightButton);
         QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(20, 15),
                                zone->mapToGlobal(QPoint(20, 15)));
         QApplication::sendEvent(zone, &open);
         ASSERT_TRUE(menu.isVisible());
         ReleaseAt(zone, {45, 35}, Qt::RightButton);
         ReleaseAt(zone, {45, 35});
         QTest::keyClick(&menu, Qt::Key_Escape);
         EXPECT_FALSE(menu.isVisible());
       }},
      {"release lost outside: the next move has no button", [] {}},
      {"zone hidden",
       [&] {
         zone->hide();
         zone->show();
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    zone->setGeometry(20, 20, 40, 30);
    zone->SetSelected(true);
    boundsChanged = 0;
    finished = 0;
    PressAt(zone, {40, 35});
    MoveTo(zone, {45, 35});
    ASSERT_EQ(zone->geometry(), QRect(25, 20, 40, 30));
    c.swallow();
    HoverTo(zone, {80, 60});
    HoverTo(zone, {120, 90});
    EXPECT_FALSE(zone->Dragging());
    EXPECT_EQ(zone->geometry(), QRect(25, 20, 40, 30));
    EXPECT_EQ(boundsChanged, 1);
    EXPECT_EQ(finished, 1);
    QTest::mouseRelease(zone, Qt::LeftButton);  // whatever QTest still holds
  }
}

TEST_F(ShapeZoneTest, RightButtonNeitherSelectsNorDrags) {
  PressAt(zone, {40, 35}, Qt::RightButton);
  EXPECT_EQ(host.selectCount, 0);
  EXPECT_FALSE(zone->Dragging());
  ReleaseAt(zone, {40, 35}, Qt::RightButton);
  EXPECT_EQ(host.changedCount, 0);
}

// A drag at a given view width, and what stays exact: Left, Top, Width, height, the Right and
// the Bottom edge.
struct ExactCase {
  const char* name;
  int viewWidth;
  std::optional<GrabHandle> handle;  // none: a move, pressed in the middle
  QPoint by;
  const char* exact;
};

class ExactDragTest : public ShapeZoneTest, public ::testing::WithParamInterface<ExactCase> {};

TEST_P(ExactDragTest, OnlyWhatTheMouseMovedIsReadBack) {
  const ExactCase& c = GetParam();
  host.resize(c.viewWidth, c.viewWidth / 2);
  TBvrProperties properties;
  TZone& model = properties.PaymentFor().Receipt();
  const std::int32_t l = 137, t = 263, w = 551, h = 301;  // no whole pixel at these scales
  model.SetLeft(l), model.SetTop(t), model.SetWidth(w), model.Setheight(h);
  model.SetShape(zone);
  model.SetViewWidth(c.viewWidth);
  model.UpdateShape();
  zone->SetSelected(true);
  const QPoint grab =
      c.handle ? zone->pos() + QPoint(1, 1) + HandleRect(*c.handle, zone->ClientSize()).center()
               : zone->geometry().center();
  PressAt(zone, grab);
  MoveTo(zone, grab + c.by / 2);
  MoveTo(zone, grab + c.by);
  ReleaseAt(zone, grab + c.by);
  std::string same;
  for (const auto& [letter, kept] : {std::pair{'L', model.Left() == l},
                                     {'T', model.Top() == t},
                                     {'W', model.Width() == w},
                                     {'H', model.height() == h},
                                     {'R', model.Left() + model.Width() == l + w},
                                     {'B', model.Top() + model.height() == t + h}}) {
    same += kept ? std::string(1, letter) : "";
  }
  EXPECT_EQ(same, c.exact);
  model.SetShape(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    ScalesAndModes, ExactDragTest,
    ::testing::Values(ExactCase{"MoveOrange", 411, std::nullopt, {1, 1}, "WH"},
                      ExactCase{"MoveAcross", 411, std::nullopt, {3, 0}, "TWHB"},
                      ExactCase{"MoveUp", 823, std::nullopt, {0, -2}, "LWHR"},
                      ExactCase{"MoveSmall", 300, std::nullopt, {2, 2}, "WH"},
                      ExactCase{"RightEdge", 411, GrabHandle::RightMiddle, {3, 0}, "LTHB"},
                      ExactCase{"LeftEdge", 411, GrabHandle::LeftMiddle, {2, 0}, "THRB"},
                      ExactCase{"TopEdge", 823, GrabHandle::TopMiddle, {0, -3}, "LWRB"},
                      ExactCase{"BottomLeft", 823, GrabHandle::BottomLeft, {-3, 2}, "TR"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ShapeZone, ScaledFontSize) {
  TShapeZone zone;
  zone.SetZoneBounds(ZoneRect{0, 0, 100, 100}, 411);
  const struct {
    int points;
    int scaled;
  } cases[] = {{11, 5}, {14, 7}, {20, 10}, {8, 4}};
  for (const auto& c : cases) {
    EXPECT_EQ(zone.ScaledFontSize(c.points), c.scaled) << c.points;
  }
  zone.SetZoneBounds(ZoneRect{0, 0, 100, 100}, 822);
  EXPECT_EQ(zone.ScaledFontSize(11), 11);  // 10.94
}

TEST(ShapeZone, SetZoneBoundsRoundsHalvesToEven) {
  TShapeZone zone;
  // A view of 1050 pixels: half a pixel per tenth, so odd values fall on halves.
  zone.SetZoneBounds(ZoneRect{5, 7, 5 + 41, 7 + 43}, 1050);
  // 2.5 -> 2, 3.5 -> 4, 20.5 -> 20, 21.5 -> 22
  EXPECT_EQ(zone.geometry(), QRect(2, 4, 20, 22));
  EXPECT_EQ(zone.BoundsRect(), (ZoneRect{2, 4, 22, 26}));
  EXPECT_DOUBLE_EQ(zone.ViewWidth(), 1050);
}

// ---- painting ---------------------------------------------------------------------------------

bool IsDark(QRgb c) {
  return qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128;
}

TEST(ShapeZonePaint, FrameHandlesAndBackground) {
  TShapeZone zone;
  zone.resize(108, 59);
  QImage plain = zone.grab().toImage();
  EXPECT_TRUE(IsDark(plain.pixel(0, 0)));                   // frame
  EXPECT_EQ(QColor(plain.pixel(1, 1)), QColor(Qt::white));  // client origin, no handle
  zone.SetSelected(true);
  QImage selected = zone.grab().toImage();
  // Handles are drawn 4 x 4 in client coordinates (one pixel inside the frame).
  EXPECT_TRUE(IsDark(selected.pixel(1 + 0, 1 + 0)));
  EXPECT_TRUE(IsDark(selected.pixel(1 + 3, 1 + 3)));
  EXPECT_EQ(QColor(selected.pixel(1 + 4, 1 + 4)), QColor(Qt::white));
  EXPECT_TRUE(IsDark(selected.pixel(1 + 102 + 3, 1 + 53 + 3)));
  EXPECT_TRUE(IsDark(selected.pixel(1 + 51, 1 + 53)));
  zone.setEnabled(false);
  EXPECT_EQ(zone.Color(), QColor(192, 192, 192));
  EXPECT_EQ(QColor(zone.grab().toImage().pixel(50, 30)), QColor(192, 192, 192));
  zone.setEnabled(true);
  EXPECT_EQ(zone.Color(), QColor(255, 255, 255));
}

// Dark pixels of the zone's picture in a client-coordinate rectangle.
int DarkPixels(const QImage& image, const QRect& client) {
  int n = 0;
  for (int y = client.top(); y <= client.bottom(); ++y) {
    for (int x = client.left(); x <= client.right(); ++x) {
      n += IsDark(image.pixel(x + 1, y + 1)) ? 1 : 0;
    }
  }
  return n;
}

TEST(ShapeZonePaint, TextIsClippedToTheTextArea) {
  TShapeZone zone;
  // At 827 pixels a model size in points is drawn at about the same size.
  zone.SetZoneBounds(ZoneRect{0, 0, 1016, 508}, 827);
  ASSERT_EQ(zone.size(), QSize(400, 200));
  TFont font;
  font.SetName("arial");
  font.SetSize(20);
  font.SetColor(clBlack);
  zone.SetTextFont(font);
  // Wider and, all together, higher than the text area.
  zone.SetLines(std::vector<std::string>(9, "WMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWM"));
  const QSize client = zone.ClientSize();
  const QRect margins[] = {QRect(0, 0, client.width(), 4), QRect(0, 0, 4, client.height()),
                           QRect(client.width() - 4, 0, 4, client.height()),
                           QRect(0, client.height() - 4, client.width(), 4)};

  zone.SetTextKind(stNone);
  EXPECT_EQ(DarkPixels(zone.grab().toImage(), QRect(QPoint(4, 4), client - QSize(8, 8))), 0);

  zone.SetTextKind(stLines);
  const QImage lines = zone.grab().toImage();
  EXPECT_GT(DarkPixels(lines, QRect(QPoint(4, 4), client - QSize(8, 8))), 500);
  // The second line starts one "Ab" height below the first: text reaches the lower half.
  EXPECT_GT(DarkPixels(lines, QRect(4, client.height() / 2, client.width() - 8, 90)), 100);
  for (const QRect& m : margins) {
    EXPECT_EQ(DarkPixels(lines, m), 0) << m.x() << "," << m.y();
  }

  zone.SetTextKind(stLine);
  zone.SetLineText("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  const QImage line = zone.grab().toImage();
  EXPECT_GT(DarkPixels(line, QRect(4, 4, client.width() - 8, 40)), 100);
  // One line only: nothing in the lower half.
  EXPECT_EQ(DarkPixels(line, QRect(4, client.height() / 2, client.width() - 8, 90)), 0);
  for (const QRect& m : margins) {
    EXPECT_EQ(DarkPixels(line, m), 0) << m.x() << "," << m.y();
  }
}

}  // namespace
}  // namespace bvr
