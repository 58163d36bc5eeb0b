// The zone menus on a real slip layout: items, print flag, and each dialog confirmed or
// cancelled as a user would, with the change hook and the designer refreshes counted.
#include <QAction>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "DialogTestSupport.h"
#include "editing/VykBvrPopupMenus.h"
#include "model/ZoneShape.h"
#include "numbers/VYKBVRFunctions.h"
#include "report/QtTranslations.h"

namespace bvr::test {
namespace {

class CountingProperties : public TBvrProperties {
 public:
  void Changed() override { ++changes; }
  int changes = 0;
};

// Counts how often the model pushed a zone to its designer rectangle.
class FakeShape : public IZoneShape {
 public:
  void SetZoneBounds(const ZoneRect& rect, double) override {
    ++updates;
    bounds = rect;
  }
  void Invalidate() override {}
  void SetTextFont(const TFont&) override {}
  void SetLines(const std::vector<std::string>& value) override { lines = value; }
  void SetLineText(const std::string& text) override { lineText = text; }
  ZoneRect BoundsRect() const override { return {}; }
  void SetOnBoundsChanged(std::function<void()>) override {}
  int updates = 0;
  ZoneRect bounds;
  std::vector<std::string> lines;
  std::string lineText;
};

class ZoneMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::size_t i = 0; i < shapes_.size(); ++i) {
      properties_.Zones()[i]->SetShape(&shapes_[i]);
    }
    properties_.SetViewWidth(2100);
    properties_.changes = 0;
  }
  void TearDown() override {
    for (TBaseZone* zone : properties_.Zones()) {
      zone->SetShape(nullptr);
    }
  }
  FakeShape& ShapeOf(const TBaseZone& zone) {
    const auto zones = properties_.Zones();
    for (std::size_t i = 0; i < zones.size(); ++i) {
      if (zones[i] == &zone) {
        return shapes_[i];
      }
    }
    throw std::logic_error("zone without shape");
  }
  int TotalUpdates() const {
    int total = 0;
    for (const FakeShape& shape : shapes_) {
      total += shape.updates;
    }
    return total;
  }
  template <class Menu>
  std::unique_ptr<Menu> Make(TZoneSide side) {
    auto menu = std::make_unique<Menu>();
    menu->SetZoneSide(side);
    menu->SetProperties(&properties_);
    return menu;
  }
  static void Trigger(QMenu& menu, const char* item) {
    QAction* action = Child<QAction>(menu, item);
    ASSERT_NE(action, nullptr);
    action->trigger();
  }

  CountingProperties properties_;
  std::array<FakeShape, 10> shapes_;
};

TEST_F(ZoneMenus, ItemsAndCaptions) {
  const QStringList common = {"A imprimer", "Coordonnées...", "Police..."};
  const auto captions = [](const QMenu& menu) {
    QStringList list;
    for (const QAction* action : menu.actions()) {
      list << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return list;
  };
  EXPECT_EQ(captions(TVersementParPopupMenu()), common);
  const auto with = [&common](const char* own) { return common + QStringList{"-", own}; };
  EXPECT_EQ(captions(TVersementPourPopupMenu()), with("Texte..."));
  EXPECT_EQ(captions(TComptePopupMenu()), with("N° d'adhérent..."));
  EXPECT_EQ(captions(TMontantPopupMenu()), with("Zone décimale/Impression..."));
  EXPECT_EQ(captions(TReferencePopupMenu()), with("N° de référence..."));
  TVersementParPopupMenu fresh;
  EXPECT_EQ(fresh.ZoneSide(), zsReceipt);
  EXPECT_EQ(fresh.Properties(), nullptr);
  EXPECT_TRUE(fresh.PrintItem()->isCheckable());
}

TEST_F(ZoneMenus, PrintItemTogglesTheFlagShownAtEachPopup) {
  auto menu = Make<TVersementParPopupMenu>(zsProcessing);
  TFontBaseZone& zone = properties_.PaymentBy().Processing();
  for (const bool expected : {false, true}) {
    menu->popup(QPoint(10, 10));  // aboutToShow: the mark shows the flag
    EXPECT_EQ(menu->PrintItem()->isChecked(), !expected);
    menu->hide();
    Trigger(*menu, "PrintItem");
    EXPECT_EQ(zone.Imprime, expected);
    EXPECT_TRUE(properties_.PaymentBy().Receipt().Imprime);
  }
  EXPECT_EQ(properties_.changes, 2);
  EXPECT_EQ(TotalUpdates(), 0);  // the print flag does not show in the designer

  TVersementParPopupMenu unbound;  // no properties: nothing happens
  unbound.popup(QPoint(10, 10));
  unbound.hide();
  Trigger(unbound, "PrintItem");
}

TEST_F(ZoneMenus, CoordinatesConfirmedUnchangedStillWriteAndRefresh) {
  auto menu = Make<TComptePopupMenu>(zsProcessing);
  TlineTextZone& zone = properties_.Account().Processing();
  zone.SetLeft(-5);
  properties_.changes = 0;
  WhenModal([](QDialog& d) { PressEnter(Child<QLineEdit>(d, "ediHeight")); });
  Trigger(*menu, "CoordinatesItem");
  EXPECT_EQ(properties_.changes, 5);  // the menu's own, then the four setters
  EXPECT_EQ(ShapeOf(zone).updates, 1);
  EXPECT_EQ(TotalUpdates(), 1);
  EXPECT_EQ(ShapeOf(zone).bounds, (ZoneRect{-5, 400, 295, 485}));

  WhenModal([](QDialog& d) {
    auto* x = Child<QLineEdit>(d, "ediX");
    ClearByKeys(x);
    QTest::keyClicks(x, "12");
    ClickButton(d, "butOk");
  });
  Trigger(*menu, "CoordinatesItem");
  EXPECT_EQ(zone.Left(), 120);
  EXPECT_EQ(properties_.Account().Receipt().Left(), 270);
}

TEST_F(ZoneMenus, CancellingAnyDialogLeavesEverythingAsItWas) {
  properties_.Account().Setnumber("01-987654-4");
  properties_.PaymentFor().Receipt().SetText({"A", "B"});
  properties_.changes = 0;
  const std::string before = properties_.SaveToText();
  const auto cancel = [](QDialog& d) {
    for (QLineEdit* edit : d.findChildren<QLineEdit*>()) {
      edit->setText(edit->text() + "7");
    }
    if (auto* memo = d.findChild<QPlainTextEdit*>()) {
      memo->setPlainText("changed");
    }
    d.close();
  };
  const std::vector<std::pair<std::unique_ptr<TGeneralPopupMenu>, const char*>> cases = [&] {
    std::vector<std::pair<std::unique_ptr<TGeneralPopupMenu>, const char*>> list;
    list.emplace_back(Make<TVersementPourPopupMenu>(zsReceipt), "TextItem");
    list.emplace_back(Make<TVersementPourPopupMenu>(zsReceipt), "CoordinatesItem");
    list.emplace_back(Make<TComptePopupMenu>(zsReceipt), "AccountNumberItem");
    list.emplace_back(Make<TMontantPopupMenu>(zsProcessing), "DecimalZoneItem");
    list.emplace_back(Make<TReferencePopupMenu>(zsReceipt), "ReferenceItem");
    list.emplace_back(Make<TVersementParPopupMenu>(zsReceipt), "FontItem");  // QFontDialog
    return list;
  }();
  for (const auto& [menu, item] : cases) {
    WhenModal(cancel);
    Trigger(*menu, item);
    EXPECT_EQ(properties_.changes, 0) << item;
    EXPECT_EQ(TotalUpdates(), 0) << item;
    EXPECT_EQ(properties_.SaveToText(), before) << item;
  }
}

TEST_F(ZoneMenus, FontOfOneZoneOnlyThroughTheSelector) {
  auto menu = Make<TMontantPopupMenu>(zsProcessing);
  QFont offered;
  menu->SetFontSelector([&offered](QWidget*, const QFont& initial, QFont* chosen) {
    offered = initial;
    *chosen = QFont(QStringLiteral("Liberation Serif"), 14);
    chosen->setBold(true);
    return true;
  });
  TFontBaseZone& zone = properties_.Amount().Processing();
  zone.Font().SetColor(clRed);
  Trigger(*menu, "FontItem");
  EXPECT_EQ(offered.pointSize(), 11);
  EXPECT_EQ(zone.Font().Name(), "Liberation Serif");
  EXPECT_EQ(zone.Font().Size(), 14);
  EXPECT_EQ(zone.Font().Style(), fsBold);
  EXPECT_EQ(zone.Font().Color(), clRed);  // the dialog shows no colour: it stays
  EXPECT_EQ(properties_.Amount().Receipt().Font().Name(), "arial");
  EXPECT_EQ(properties_.Amount().Receipt().Font().Size(), 11);
  EXPECT_EQ(properties_.changes, 2);  // the menu's own and the font setter
  EXPECT_EQ(ShapeOf(zone).updates, 1);

  // Confirming the face "arial" already resolves to keeps the layout's own name.
  TFontBaseZone& receipt = properties_.Amount().Receipt();
  auto receiptMenu = Make<TMontantPopupMenu>(zsReceipt);
  receiptMenu->SetFontSelector([](QWidget*, const QFont& initial, QFont* chosen) {
    *chosen = QFont(QFontInfo(initial).family(), 12);
    return true;
  });
  Trigger(*receiptMenu, "FontItem");
  EXPECT_EQ(receipt.Font().Name(), "arial");
  EXPECT_EQ(receipt.Font().Size(), 12);
}

// The real font dialog, confirmed with nothing changed, leaves every zone font as it was:
// the layout's own name stays even where the toolkit would guess another face for it.
TEST_F(ZoneMenus, UnchangedFontDialogKeepsTheFont) {
  ASSERT_TRUE(InstallToolkitTranslations());
  for (const char* name : {"arial", "Arial", "Courrier New", "OCR-B", "MS Sans Serif"}) {
    TFontBaseZone& zone = properties_.Amount().Processing();
    zone.Font().SetName(name);
    zone.Font().SetStyle(fsItalic);
    const std::string before = properties_.SaveToText();
    QString title;
    QString offered;
    WhenModal([&](QDialog& d) {
      title = d.windowTitle();
      auto* fontDialog = qobject_cast<QFontDialog*>(&d);
      ASSERT_NE(fontDialog, nullptr);
      offered = fontDialog->currentFont().family();
      auto* buttons = d.findChild<QDialogButtonBox*>();
      ASSERT_NE(buttons, nullptr);
      QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    auto menu = Make<TMontantPopupMenu>(zsProcessing);
    Trigger(*menu, "FontItem");
    EXPECT_EQ(properties_.SaveToText(), before) << name;
    EXPECT_EQ(offered, QFontInfo(QFont(QString::fromLatin1(name))).family()) << name;
    EXPECT_EQ(title, QStringLiteral("Choisir une police")) << name;
  }
}

TEST_F(ZoneMenus, TextOfTheMenusSideOnly) {
  TZone& processing = properties_.PaymentFor().Processing();
  processing.SetText({"Société", "Rue 1", "1204 Genève"});
  properties_.changes = 0;
  auto menu = Make<TVersementPourPopupMenu>(zsProcessing);
  WhenModal([](QDialog& d) { ClickButton(d, "butOk"); });
  Trigger(*menu, "TextItem");
  EXPECT_EQ(processing.Text(), (std::vector<std::string>{"Société", "Rue 1", "1204 Genève"}));
  EXPECT_EQ(ShapeOf(processing).lines, processing.Text());
  EXPECT_EQ(properties_.changes, 2);

  WhenModal([](QDialog& d) {
    auto* memo = Child<QPlainTextEdit>(d, "mainMemo");
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, "CH");
    ClickButton(d, "butOk");
  });
  Trigger(*menu, "TextItem");
  EXPECT_EQ(processing.Text().back(), "CH");
  EXPECT_TRUE(properties_.PaymentFor().Receipt().Text().empty());
}

TEST_F(ZoneMenus, AccountNumberRefreshesBothZones) {
  properties_.Account().Setnumber("01-987654-9");
  properties_.changes = 0;
  auto menu = Make<TComptePopupMenu>(zsReceipt);
  WhenModal([](QDialog& d) {
    QTest::keyClick(Child<QLineEdit>(d, "ediNumeroOrdre"), Qt::Key_End);  // recomputes the key
    ClickButton(d, "butOk");
  });
  Trigger(*menu, "AccountNumberItem");
  const std::string expected = "01-987654-" + std::to_string(CheckDigit("01987654"));
  EXPECT_EQ(properties_.Account().number(), expected);
  EXPECT_EQ(ShapeOf(properties_.Account().Receipt()).lineText, expected);
  EXPECT_EQ(ShapeOf(properties_.Account().Processing()).lineText, expected);
  EXPECT_EQ(ShapeOf(properties_.Account().Processing()).updates, 1);
  EXPECT_EQ(TotalUpdates(), 2);
  EXPECT_GE(properties_.changes, 1);
}

TEST_F(ZoneMenus, AmountLayoutWrittenAndBothZonesRefreshed) {
  properties_.Amount().NegativeAmountChar = '#';
  auto menu = Make<TMontantPopupMenu>(zsReceipt);
  WhenModal([](QDialog& d) {
    auto* decimals = Child<QLineEdit>(d, "ediDecimalWidth");
    ClearByKeys(decimals);
    QTest::keyClicks(decimals, "12");
    auto* negative = Child<QLineEdit>(d, "ediNegativeChar");
    ClearByKeys(negative);
    QTest::keyClicks(negative, "-");
    PressEnter(negative);
  });
  Trigger(*menu, "DecimalZoneItem");
  const TMontant& amount = properties_.Amount();
  EXPECT_EQ(amount.decimalWidth(), 120);
  EXPECT_EQ(amount.CommaWidth(), 100);
  EXPECT_EQ(amount.CharWidth(), 0);
  EXPECT_EQ(amount.NegativeAmountChar, '-');
  EXPECT_TRUE(amount.ShowNegativeAmount);
  EXPECT_EQ(ShapeOf(amount.Receipt()).updates, 1);
  EXPECT_EQ(ShapeOf(amount.Processing()).updates, 1);
  EXPECT_EQ(properties_.changes, 1);  // the amount's own setters notify nobody
}

TEST_F(ZoneMenus, ReferenceLayoutStoredAsReturned) {
  TNumberReference& number = properties_.Reference().number();
  number.AccountNumber = "123456789";
  number.AccountNumberIndexStart = 1;
  number.AccountNumberLength = 4;  // differs from the number's length
  number.InternalNumberIndexStart = 20;
  number.InternalNumberLength = 10;
  auto menu = Make<TReferencePopupMenu>(zsProcessing);
  QString sample;
  WhenModal([&sample](QDialog& d) {
    sample = Child<QLabel>(d, "labReferenceSample")->text();
    ClickButton(d, "butOk");
  });
  Trigger(*menu, "ReferenceItem");
  EXPECT_EQ(sample, "11110000000000000002222222");
  EXPECT_EQ(number.AccountNumber, "123456789");
  EXPECT_EQ(number.AccountNumberIndexStart, 1);
  EXPECT_EQ(number.AccountNumberLength, 4);
  EXPECT_EQ(number.InternalNumberIndexStart, 20);
  EXPECT_EQ(number.InternalNumberLength, 7);  // cut at place 26 on OK
  EXPECT_EQ(properties_.changes, 1);
  EXPECT_EQ(TotalUpdates(), 0);
}

}  // namespace
}  // namespace bvr::test
