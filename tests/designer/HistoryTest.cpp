// Undo and redo in the designer view, and editing the selected zone from the keyboard.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "DialogTestSupport.h"
#include "MouseSupport.h"
#include "designer/VYKBVRComponents.h"
#include "model/DemoLayout.h"

namespace bvr {
namespace {

using test::MoveTo;
using test::PressAt;
using test::ReleaseAt;

struct Rect {
  std::int32_t left, top, width, height;
  bool operator==(const Rect&) const = default;
};

class HistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadDemonstrationLayout(properties);
    view = std::make_unique<TVYKOrangeBVR>();
    view->SetBvrProperties(&properties);
    view->show();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    view->setFocus();
  }

  TBaseZone& Model(std::size_t i) { return *properties.Zones()[i]; }
  Rect Values(std::size_t i) {
    TBaseZone& z = Model(i);
    return {z.Left(), z.Top(), z.Width(), z.height()};
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(view.get(), key, modifiers);
  }
  void Drag(TShapeZone* zone, QPoint by) {
    const QPoint start = zone->geometry().center();
    PressAt(zone, start);
    MoveTo(zone, start + by / 2);
    MoveTo(zone, start + by);
    ReleaseAt(zone, start + by);
  }

  TBvrProperties properties;
  std::unique_ptr<TVYKOrangeBVR> view;
};

TEST_F(HistoryTest, OneDragIsOneStepAndUndoRestoresTheExactValues) {
  const std::string before = properties.SaveToText();
  const Rect values = Values(4);
  TShapeZone* shape = view->Shapes()[4];
  const QRect shown = shape->geometry();
  Drag(shape, {7, 3});
  const Rect dragged = Values(4);
  ASSERT_NE(dragged, values);
  EXPECT_EQ(view->History().Stack().count(), 1);

  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Values(4), values);
  EXPECT_EQ(properties.SaveToText(), before);
  EXPECT_EQ(shape->geometry(), shown);
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Values(4), dragged);
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Values(4), dragged);
}

TEST_F(HistoryTest, AClickWithoutMovementRecordsNothing) {
  TShapeZone* shape = view->Shapes()[2];
  const QPoint center = shape->geometry().center();
  PressAt(shape, center);
  ReleaseAt(shape, center);
  EXPECT_EQ(view->History().Stack().count(), 0);
}

TEST_F(HistoryTest, ConfirmedDialogIsOneStepCancelledIsNone) {
  const Rect values = Values(0);
  auto answer = [](const char* button, const char* left) {
    test::WhenModal([=](QDialog& dialog) {
      dialog.findChild<QLineEdit*>("ediX")->setText(left);
      dialog.findChild<QPushButton*>(button)->click();
    });
  };
  QAction* item = view->Menus()[0]->findChild<QAction*>("CoordinatesItem");
  ASSERT_NE(item, nullptr);
  answer("butCancel", "50");
  item->trigger();
  EXPECT_EQ(view->History().Stack().count(), 0);
  answer("butOk", "50");
  item->trigger();
  EXPECT_EQ(Model(0).Left(), 500);
  ASSERT_EQ(view->History().Stack().count(), 1);
  view->History().Undo();
  EXPECT_EQ(Values(0), values);
}

TEST_F(HistoryTest, PrintItemAndCodingLineAreUndone) {
  const bool printed = Model(6).Imprime;
  view->Menus()[6]->MenuPopup();
  view->Menus()[6]->PrintItem()->trigger();
  ASSERT_NE(Model(6).Imprime, printed);
  const std::int32_t fromRight = properties.CodageZone().fromRight;
  test::WhenModal([](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("ediX")->setText("3");
    dialog.findChild<QPushButton*>("butOk")->click();
  });
  view->CodingLineItemClick();
  ASSERT_EQ(properties.CodageZone().fromRight, 30);
  view->History().Undo();
  EXPECT_EQ(properties.CodageZone().fromRight, fromRight);
  view->History().Undo();
  EXPECT_EQ(Model(6).Imprime, printed);
}

struct KeyCase {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  Rect change;
};

class KeyEditTest : public HistoryTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyEditTest, EachPressChangesTheSelectedZoneByItsStep) {
  const KeyCase& c = GetParam();
  view->SelectNeighbour(true);
  ASSERT_EQ(view->SelectedShape(), view->Shapes()[0]);
  const Rect start = Values(0);
  const Rect neighbour = Values(1);
  Key(c.key, c.modifiers);
  const Rect now = Values(0);
  EXPECT_EQ((Rect{now.left - start.left, now.top - start.top, now.width - start.width,
                  now.height - start.height}),
            c.change);
  EXPECT_EQ(Values(1), neighbour);
  EXPECT_EQ(view->History().Stack().count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyEditTest,
    ::testing::Values(KeyCase{"Right", Qt::Key_Right, Qt::NoModifier, {1, 0, 0, 0}},
                      KeyCase{"Up", Qt::Key_Up, Qt::NoModifier, {0, -1, 0, 0}},
                      KeyCase{"ShiftLeft", Qt::Key_Left, Qt::ShiftModifier, {-10, 0, 0, 0}},
                      KeyCase{"ShiftDown", Qt::Key_Down, Qt::ShiftModifier, {0, 10, 0, 0}},
                      KeyCase{"CtrlRight", Qt::Key_Right, Qt::ControlModifier, {0, 0, 1, 0}},
                      KeyCase{"CtrlUp", Qt::Key_Up, Qt::ControlModifier, {0, 0, 0, -1}},
                      KeyCase{"CtrlShiftDown",
                              Qt::Key_Down,
                              Qt::ControlModifier | Qt::ShiftModifier,
                              {0, 0, 0, 10}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(HistoryTest, TenShiftRightsTenUndosTenRedos) {
  view->SelectNeighbour(true);
  const std::int32_t left = Model(0).Left();
  const QRect shown = view->Shapes()[0]->geometry();
  for (int i = 0; i < 10; ++i) {
    Key(Qt::Key_Right, Qt::ShiftModifier);
  }
  EXPECT_EQ(Model(0).Left(), left + 100);
  EXPECT_EQ(view->History().Stack().count(), 10);
  for (int i = 1; i <= 10; ++i) {
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Model(0).Left(), left + 100 - 10 * i);
  }
  EXPECT_EQ(view->Shapes()[0]->geometry(), shown);
  for (int i = 1; i <= 10; ++i) {
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Model(0).Left(), left + 10 * i);
  }
  EXPECT_NE(view->Shapes()[0]->geometry(), shown);
}

TEST_F(HistoryTest, TabWalksThroughTheZonesInTableOrder) {
  const auto& shapes = view->Shapes();
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    Key(Qt::Key_Tab);
    EXPECT_EQ(view->SelectedShape(), shapes[i]) << i;
    EXPECT_TRUE(shapes[i]->Selected());
  }
  Key(Qt::Key_Tab);
  EXPECT_EQ(view->SelectedShape(), shapes[0]);
  EXPECT_FALSE(shapes[9]->Selected());
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(view->SelectedShape(), shapes[9]);
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(view->SelectedShape(), shapes[8]);
}

TEST_F(HistoryTest, AZoneOutOfSightIsReachedByTabAndBroughtBack) {
  Model(3).SetLeft(-5000);
  properties.UpdateZones();
  ASSERT_LT(view->Shapes()[3]->geometry().right(), 0);
  for (int i = 0; i < 4; ++i) {
    Key(Qt::Key_Tab);
  }
  ASSERT_EQ(view->SelectedShape(), view->Shapes()[3]);
  for (int i = 0; i < 500; ++i) {
    Key(Qt::Key_Right, Qt::ShiftModifier);
  }
  EXPECT_EQ(Model(3).Left(), 0);
  EXPECT_GE(view->Shapes()[3]->geometry().left(), 0);
}

TEST_F(HistoryTest, RebindingForgetsTheSteps) {
  view->SelectNeighbour(true);
  Key(Qt::Key_Right);
  ASSERT_EQ(view->History().Stack().count(), 1);
  TBvrProperties other;
  view->SetBvrProperties(&other);
  EXPECT_EQ(view->History().Stack().count(), 0);
  view->SetBvrProperties(nullptr);
}

}  // namespace
}  // namespace bvr
