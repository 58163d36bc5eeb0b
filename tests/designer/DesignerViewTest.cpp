// The designer views: binding and rebinding a layout, selection, enabling, the view's menu,
// the coding line position, and the picture behind the zones.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "DialogTestSupport.h"
#include "MouseSupport.h"
#include "designer/VYKBVRComponents.h"
#include "draw/SlipFormPicture.h"
#include "model/DemoLayout.h"
#include "report/QPainterCanvas.h"
#include "strings/VYKBVRResources.h"

namespace bvr {
namespace {

using test::MoveTo;
using test::PressAt;
using test::ReleaseAt;

constexpr std::size_t kAccountReceipt = 0;
constexpr std::size_t kPaymentForReceipt = 4;
constexpr std::size_t kAmountProcessing = 7;
constexpr std::size_t kReferenceProcessing = 9;

class OrangeViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    properties = std::make_unique<TBvrProperties>();
    LoadDemonstrationLayout(*properties);
    view = std::make_unique<TVYKOrangeBVR>();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  }

  void TearDown() override {
    view.reset();
    properties.reset();
  }

  TShapeZone* Shape(std::size_t i) const { return view->Shapes()[i]; }
  TShapeZone* Named(const char* name) const { return view->findChild<TShapeZone*>(name); }

  void Click(TShapeZone* zone) {
    const QPoint center = zone->geometry().center();
    PressAt(zone, center);
    ReleaseAt(zone, center);
  }

  std::unique_ptr<TBvrProperties> properties;
  std::unique_ptr<TVYKOrangeBVR> view;
};

TEST_F(OrangeViewTest, BindingCreatesTheTenZonesInPlace) {
  EXPECT_EQ(view->findChildren<TShapeZone*>().size(), 0);
  view->SetBvrProperties(properties.get());
  const struct {
    const char* name;
    const char* hint;
    TShapeTextKind kind;
  } rows[] = {
      {"AccountReceiptShape", "N° d'adhérent : récépissé", stLine},
      {"AccountProcessingShape", "N° d'adhérent : traitement", stLine},
      {"PaymentByReceiptShape", "Versemennt par : récépissé", stLines},
      {"PaymentByProcessingShape", "Versement par : traitement", stLines},
      {"PaymentForReceiptShape", "Versement pour : récépissé", stLines},
      {"PaymentForProcessingShape", "Versement pour : traitement", stLines},
      {"AmountReceiptShape", "Montant : récépissé", stLine},
      {"AmountProcessingShape", "Montant : traitement", stLine},
      {"ReferenceReceiptShape", "Référence : récépissé", stLine},
      {"ReferenceProcessingShape", "Référence : traitement", stLine},
  };
  const auto zones = properties->Zones();
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].name);
    TShapeZone* shape = Named(rows[i].name);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape, Shape(i));
    EXPECT_EQ(shape->toolTip(), QString::fromUtf8(rows[i].hint));
    EXPECT_EQ(shape->TextKind(), rows[i].kind);
    EXPECT_EQ(shape->PopupMenu(), view->Menus()[i]);
    EXPECT_EQ(view->Menus()[i]->ZoneSide(), i % 2 == 0 ? zsReceipt : zsProcessing);
    EXPECT_EQ(view->Menus()[i]->Properties(), properties.get());
    EXPECT_EQ(zones[i]->Shape(), shape);
    EXPECT_DOUBLE_EQ(zones[i]->ViewWidth(), 411);
    EXPECT_TRUE(shape->isVisible());
  }
  // Creditor receipt zone at 26, 80, 550 x 300 tenths.
  EXPECT_EQ(Shape(kPaymentForReceipt)->geometry(), QRect(5, 16, 108, 59));
  EXPECT_EQ(Shape(kPaymentForReceipt)->Lines().size(), 3u);
  EXPECT_EQ(Shape(kAccountReceipt)->LineText(), "01-987654-4");
  EXPECT_EQ(view->SelectedShape(), nullptr);
}

TEST_F(OrangeViewTest, BindingTheSameObjectAgainChangesNothing) {
  view->SetBvrProperties(properties.get());
  const auto before = view->Shapes();
  Shape(kPaymentForReceipt)->move(50, 50);
  view->SetBvrProperties(properties.get());
  EXPECT_EQ(view->Shapes(), before);
  EXPECT_EQ(Shape(kPaymentForReceipt)->pos(), QPoint(50, 50));  // not laid out again
}

TEST_F(OrangeViewTest, RebindingKeepsTheZonesAndMovesTheLinks) {
  view->SetBvrProperties(properties.get());
  const auto shapes = view->Shapes();
  Click(Shape(kAmountProcessing));

  TBvrProperties second;  // the defaults: creditor receipt zone at 10, 80
  view->SetBvrProperties(&second);
  EXPECT_EQ(view->Shapes(), shapes);
  EXPECT_EQ(view->SelectedShape(), Shape(kAmountProcessing));
  EXPECT_EQ(Shape(kPaymentForReceipt)->geometry(), QRect(2, 16, 108, 59));
  const auto oldZones = properties->Zones();
  const auto newZones = second.Zones();
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    EXPECT_EQ(oldZones[i]->Shape(), nullptr) << i;
    EXPECT_EQ(newZones[i]->Shape(), shapes[i]) << i;
    EXPECT_EQ(view->Menus()[i]->Properties(), &second) << i;
  }

  // A drag now writes into the second layout only.
  TShapeZone* creditor = Shape(kPaymentForReceipt);
  Click(creditor);
  const QPoint c = creditor->geometry().center();
  PressAt(creditor, c);
  MoveTo(creditor, c + QPoint(10, 0));
  ReleaseAt(creditor, c + QPoint(10, 0));
  EXPECT_EQ(second.PaymentFor().Receipt().Left(), 61);  // 12 pixels / 0.19571
  EXPECT_EQ(properties->PaymentFor().Receipt().Left(), 26);

  // Back to the first: its layout is shown again.
  view->SetBvrProperties(properties.get());
  EXPECT_EQ(creditor->geometry(), QRect(5, 16, 108, 59));
  EXPECT_EQ(second.PaymentFor().Receipt().Shape(), nullptr);
}

TEST_F(OrangeViewTest, UnbindingFreesTheZonesAndUnlinksTheModel) {
  view->SetBvrProperties(properties.get());
  Click(Shape(kAccountReceipt));
  ASSERT_NE(view->SelectedShape(), nullptr);
  view->SetBvrProperties(nullptr);
  EXPECT_EQ(view->findChildren<TShapeZone*>().size(), 0);
  EXPECT_EQ(view->SelectedShape(), nullptr);
  for (TShapeZone* s : view->Shapes()) {
    EXPECT_EQ(s, nullptr);
  }
  for (TBaseZone* zone : properties->Zones()) {
    EXPECT_EQ(zone->Shape(), nullptr);
  }
  for (TGeneralPopupMenu* menu : view->Menus()) {
    EXPECT_EQ(menu->Properties(), nullptr);
  }
  properties->UpdateZones();  // reaches no freed rectangle
}

TEST_F(OrangeViewTest, DestroyingThePropertiesRemovesTheZones) {
  view->SetBvrProperties(properties.get());
  Click(Shape(kPaymentForReceipt));
  ASSERT_NE(view->SelectedShape(), nullptr);
  properties.reset();
  EXPECT_EQ(view->BvrProperties(), nullptr);
  EXPECT_EQ(view->findChildren<TShapeZone*>().size(), 0);
  EXPECT_EQ(view->SelectedShape(), nullptr);
  // A new layout can be bound afterwards.
  TBvrProperties next;
  view->SetBvrProperties(&next);
  EXPECT_EQ(view->findChildren<TShapeZone*>().size(), 10);
  view->SetBvrProperties(nullptr);
}

TEST_F(OrangeViewTest, DestroyingTheViewFirstUnlinksTheModel) {
  view->SetBvrProperties(properties.get());
  view.reset();
  for (TBaseZone* zone : properties->Zones()) {
    EXPECT_EQ(zone->Shape(), nullptr);
  }
  properties->UpdateZones();
}

TEST_F(OrangeViewTest, SelectionFollowsLeftClicks) {
  view->SetBvrProperties(properties.get());
  TShapeZone* first = Shape(kPaymentForReceipt);
  TShapeZone* second = Shape(kAmountProcessing);
  Click(first);
  EXPECT_EQ(view->SelectedShape(), first);
  EXPECT_TRUE(first->Selected());
  if (const QByteArray dir = qgetenv("BVR_SNAPSHOT_DIR"); !dir.isEmpty()) {
    view->grab().save(QString::fromUtf8(dir) + "/orange-view.png");
  }
  Click(second);
  EXPECT_EQ(view->SelectedShape(), second);
  EXPECT_FALSE(first->Selected());
  EXPECT_TRUE(second->Selected());
  // A right click neither selects nor deselects.
  PressAt(first, first->geometry().center(), Qt::RightButton);
  ReleaseAt(first, first->geometry().center(), Qt::RightButton);
  EXPECT_EQ(view->SelectedShape(), second);
  // The coding line band holds no zone: a click there deselects.
  QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
  EXPECT_EQ(view->SelectedShape(), nullptr);
  EXPECT_FALSE(second->Selected());
}

TEST_F(OrangeViewTest, DisablingTurnsTheZonesSilverAndBlocksTheMouse) {
  view->SetBvrProperties(properties.get());
  TShapeZone* creditor = Shape(kPaymentForReceipt);
  view->setEnabled(false);
  for (TShapeZone* s : view->Shapes()) {
    EXPECT_EQ(s->Color(), QColor(192, 192, 192)) << s->objectName().toStdString();
  }
  EXPECT_EQ(QColor(view->grab().toImage().pixel(creditor->geometry().center())),
            QColor(192, 192, 192));
  Click(creditor);
  EXPECT_EQ(view->SelectedShape(), nullptr);
  view->setEnabled(true);
  for (TShapeZone* s : view->Shapes()) {
    EXPECT_EQ(s->Color(), QColor(255, 255, 255)) << s->objectName().toStdString();
  }
  Click(creditor);
  EXPECT_EQ(view->SelectedShape(), creditor);
}

TEST_F(OrangeViewTest, SizeIsFixedAndWidthHasNoEffect) {
  view->SetBvrProperties(properties.get());
  view->Setwidth(600);
  EXPECT_EQ(view->size(), QSize(411, 209));
  EXPECT_DOUBLE_EQ(properties->PaymentFor().Receipt().ViewWidth(), 411);
  EXPECT_EQ(Shape(kPaymentForReceipt)->geometry(), QRect(5, 16, 108, 59));
}

TEST(PlainView, NewWidthRescalesEveryZone) {
  TBvrProperties properties;
  TVYKcompBVR view;
  view.Setwidth(411);
  view.SetBvrProperties(&properties);
  const QRect creditor = view.Shapes()[kPaymentForReceipt]->geometry();
  EXPECT_EQ(creditor, QRect(2, 16, 108, 59));
  view.Setwidth(822);
  EXPECT_EQ(view.width(), 822);
  EXPECT_DOUBLE_EQ(properties.Amount().Processing().ViewWidth(), 822);
  // 10, 80, 550 x 300 tenths at 822 / 2100.
  EXPECT_EQ(view.Shapes()[kPaymentForReceipt]->geometry(), QRect(4, 31, 215, 117));
  view.SetBvrProperties(nullptr);
}

TEST_F(OrangeViewTest, SetupItemShowsAndHidesTheZones) {
  QMenu* menu = view->ViewMenu();
  ASSERT_EQ(menu->objectName(), "ViewMenu");
  const auto actions = menu->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text(), QString::fromUtf8("Paramétrage"));
  EXPECT_TRUE(actions[0]->isCheckable());
  EXPECT_FALSE(actions[0]->isChecked());
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_EQ(actions[2]->text(), "Position code BVR");

  view->SetBvrProperties(properties.get());
  Click(Shape(kAccountReceipt));
  view->SetupItemClick();  // first click: checked, zones stay visible
  EXPECT_TRUE(actions[0]->isChecked());
  EXPECT_TRUE(Shape(kAccountReceipt)->isVisible());
  actions[0]->trigger();  // second: hidden, the selection stays
  EXPECT_FALSE(actions[0]->isChecked());
  for (TShapeZone* s : view->Shapes()) {
    EXPECT_FALSE(s->isVisible());
  }
  EXPECT_EQ(view->SelectedShape(), Shape(kAccountReceipt));
  view->SetupItemClick();
  EXPECT_TRUE(Shape(kReferenceProcessing)->isVisible());
}

TEST_F(OrangeViewTest, RightClickOpensTheZoneMenuOrTheViewMenu) {
  view->SetBvrProperties(properties.get());
  TShapeZone* amount = Shape(kAmountProcessing);
  const auto contextMenu = [](QWidget* w, QPoint local) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, local, w->mapToGlobal(local));
    QApplication::sendEvent(w, &event);
  };
  contextMenu(amount, QPoint(10, 5));
  QMenu* zoneMenu = view->Menus()[kAmountProcessing];
  EXPECT_TRUE(zoneMenu->isVisible());
  EXPECT_FALSE(view->ViewMenu()->isVisible());
  EXPECT_EQ(view->SelectedShape(), nullptr);  // a right click does not select
  zoneMenu->hide();
  contextMenu(view.get(), QPoint(300, 200));
  EXPECT_TRUE(view->ViewMenu()->isVisible());
  view->ViewMenu()->hide();
}

// Runs fill on the coding line dialog as soon as it is shown, then presses its OK button.
void AnswerCodingLineDialog(std::function<void(QWidget*)> fill) {
  test::WhenModal([fill = std::move(fill)](QDialog& dialog) {
    fill(&dialog);
    dialog.findChild<QPushButton*>("butOk")->click();
  });
}

TEST_F(OrangeViewTest, CodingLinePositionWritesTheOffsets) {
  view->SetBvrProperties(properties.get());
  properties->CodageZone().fromRight = 76;
  properties->CodageZone().fromBottom = 190;
  QString shownX;
  QString shownY;
  AnswerCodingLineDialog([&](QWidget* dialog) {
    auto* x = dialog->findChild<QLineEdit*>("ediX");
    auto* y = dialog->findChild<QLineEdit*>("ediY");
    shownX = x->text();
    shownY = y->text();
    x->setText(QString::number(12));
    y->setText(QString());  // unreadable: stored as 0
  });
  view->CodingLineItemClick();
  EXPECT_EQ(shownX.size(), 3);  // 7.6 or 7,6 depending on the user's separator
  EXPECT_TRUE(shownX.startsWith('7') && shownX.endsWith('6'));
  EXPECT_TRUE(shownY == "19");
  EXPECT_EQ(properties->CodageZone().fromRight, 120);
  EXPECT_EQ(properties->CodageZone().fromBottom, 0);
}

TEST_F(OrangeViewTest, CodingLinePositionCancelledOrUnboundWritesNothing) {
  view->SetBvrProperties(properties.get());
  test::WhenModal([](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("ediX")->setText("99");
    dialog.findChild<QPushButton*>("butCancel")->click();
  });
  view->CodingLineItemClick();
  EXPECT_EQ(properties->CodageZone().fromRight, 76);

  view->SetBvrProperties(nullptr);
  bool shown = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      shown = true;
      dialog->close();
    }
  });
  view->CodingLineItemClick();
  QApplication::processEvents();
  EXPECT_FALSE(shown);
}

// ---- the picture ------------------------------------------------------------------------------

TEST(SlipFormPicture, OrangeFormWithWhiteCodingLineBand) {
  QImage image(411, 209, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  {
    QPainterCanvas canvas(painter);
    PaintSlipForm(canvas, {0, 0, 411, 209});
  }
  painter.end();
  const auto isOrange = [](QColor c) {
    return c.red() > 230 && c.green() < c.red() && c.blue() < c.green();
  };
  // Background: orange in the receipt part, between fields of the payment part.
  EXPECT_TRUE(isOrange(image.pixel(60, 130))) << QColor(image.pixel(60, 130)).name().toStdString();
  EXPECT_TRUE(isOrange(image.pixel(230, 150)));
  // The coding line band, bottom right, is white; the receipt part's bottom is not.
  EXPECT_EQ(QColor(image.pixel(350, 200)), QColor(Qt::white));
  EXPECT_EQ(QColor(image.pixel(300, 180)), QColor(Qt::white));
  EXPECT_NE(QColor(image.pixel(60, 205)), QColor(Qt::white));
  // Nothing left unpainted.
  for (int y = 0; y < image.height(); y += 7) {
    for (int x = 0; x < image.width(); x += 7) {
      ASSERT_NE(QColor(image.pixel(x, y)), QColor(Qt::black)) << x << "," << y;
    }
  }
  if (const QByteArray dir = qgetenv("BVR_SNAPSHOT_DIR"); !dir.isEmpty()) {
    image.save(QString::fromUtf8(dir) + "/slip-form.png");
  }
}

TEST(SlipFormPicture, ScalesIntoAnyTargetAndStaysInside) {
  QImage image(1000, 600, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  {
    QPainterCanvas canvas(painter);
    PaintSlipForm(canvas, {100, 50, 922, 468});
  }
  painter.end();
  EXPECT_EQ(QColor(image.pixel(99, 200)), QColor(Qt::black));
  EXPECT_EQ(QColor(image.pixel(923, 200)), QColor(Qt::black));
  EXPECT_EQ(QColor(image.pixel(500, 469)), QColor(Qt::black));
  // The white band keeps its place relative to the slip: 700 / 822 of the width, near the foot.
  EXPECT_EQ(QColor(image.pixel(100 + 700, 50 + 400)), QColor(Qt::white));
  EXPECT_NE(QColor(image.pixel(100 + 100, 50 + 400)), QColor(Qt::white));
  if (const QByteArray dir = qgetenv("BVR_SNAPSHOT_DIR"); !dir.isEmpty()) {
    image.save(QString::fromUtf8(dir) + "/slip-form-large.png");
  }
}

}  // namespace
}  // namespace bvr
