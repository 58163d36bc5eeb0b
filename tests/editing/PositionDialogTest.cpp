// The position, size, text and amount dialogs, driven through their edits and buttons.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "DialogTestSupport.h"
#include "editing/VYKBVRAmountDecimalPartDialog.h"
#include "editing/VYKBVRClientBvrDialog.h"
#include "editing/VYKBVRCodeBVRcoordDialog.h"
#include "editing/VYKBVRCoordDialog.h"
#include "editing/VYKBVRReferenceDialog.h"
#include "editing/VYKBVRTexteDialog.h"

namespace bvr::test {
namespace {

TEST(EditingLocales, PointAndCommaLocalesReallyDiffer) {
  EXPECT_EQ(PointLocale().decimalPoint(), u".");
  EXPECT_EQ(CommaLocale().decimalPoint(), u",");
}

using PositionDialog = InLocale;

// Typed into ediX after clearing it, then Enter: the X read back.
struct Typed {
  const char* keys;  // '.' = the locale's separator, '#' = the other locale's one
  const char* shown;
  std::int32_t tenths;
};

TEST_P(PositionDialog, TypedTextIsFilteredAndReadBackInTenths) {
  const Typed rows[] = {
      {"55", "55", 550},   {"2.6", "2.6", 26},    {"1.25", "1.25", 12},    {"1.75", "1.75", 18},
      {"0.25", "0.25", 2}, {"0.75", "0.75", 8},   {"12.34", "12.34", 123}, {"", "", 0},
      {".", ".", 0},       {"1a-+ 5", "15", 150}, {"1.2.5", "1.25", 12},   {"1#5", "1.5", 15},
  };
  for (const Typed& row : rows) {
    QString keys = Dec(row.keys);
    keys.replace(u'#', Other());
    TVYKCoordoDialog dialog;
    dialog.SetX(999);
    QString shown;
    WhenModal([&](QDialog& d) {
      auto* edit = Child<QLineEdit>(d, "ediX");
      ClearByKeys(edit);
      QTest::keyClicks(edit, keys);
      shown = edit->text();
      PressEnter(edit);
    });
    ASSERT_TRUE(dialog.Execute()) << row.keys;
    EXPECT_EQ(shown, Dec(row.shown)) << row.keys;
    EXPECT_EQ(dialog.X(), row.tenths) << row.keys;
  }
}

TEST_P(PositionDialog, ProgramValuesShowInMillimetresAndReadBackUnchanged) {
  const std::pair<std::int32_t, const char*> rows[] = {
      {26, "2.6"},  {550, "55"},       {0, "0"},
      {-5, "-0.5"}, {-1234, "-123.4"}, {2147483647, "214748364.7"}};
  for (const auto& [tenths, shown] : rows) {
    TVYKCoordoDialog coord;
    coord.SetX(tenths);
    coord.SetY(tenths);
    coord.SetZoneWidth(tenths);
    coord.SetZoneHeight(tenths);
    for (const char* name : {"ediX", "ediY", "ediWidth", "ediHeight"}) {
      EXPECT_EQ(Child<QLineEdit>(coord, name)->text(), Dec(shown)) << name;
    }
    EXPECT_EQ(coord.X(), tenths);
    EXPECT_EQ(coord.Y(), tenths);
    EXPECT_EQ(coord.ZoneWidth(), tenths);
    EXPECT_EQ(coord.ZoneHeight(), tenths);

    TVYKCodeBVRCoordoDialog coding;
    coding.SetX(tenths);
    coding.SetY(tenths);
    EXPECT_EQ(Child<QLineEdit>(coding, "ediY")->text(), Dec(shown));
    EXPECT_EQ(coding.X(), tenths);
    EXPECT_EQ(coding.Y(), tenths);

    TVYKAmountDecimalPartDialog amount;
    amount.SetdecimalWidth(tenths);
    amount.SetCommaWidth(tenths);
    amount.SetCharWidth(tenths);
    EXPECT_EQ(Child<QLineEdit>(amount, "ediCommaWidth")->text(), Dec(shown));
    EXPECT_EQ(amount.decimalWidth(), tenths);
    EXPECT_EQ(amount.CommaWidth(), tenths);
    EXPECT_EQ(amount.CharWidth(), tenths);
  }
}

// Typed (keys), or pasted when it starts with '|', into ediY over the value 12.5 mm, literally:
// both separators mean the same in every locale; no sign can be typed; what would pass 9999.9 mm
// (99999.5 tenths rounds up past it) is refused where it is typed, and a refused paste leaves
// the old text. Shown: '.' stands for the locale's separator.
TEST_P(PositionDialog, EitherSeparatorAndNoValueBeyondTheRange) {
  const Typed rows[] = {
      {"9.5", "9.5", 95},
      {"9,5", "9.5", 95},
      {"9,5.", "9.5", 95},
      {"9999.9", "9999.9", 99999},
      {"9999.95", "9999.9", 99999},
      {"1000000000", "1000", 10000},
      {"-5", "5", 50},
      {"|3,25", "3.25", 32},
      {"|-0.5", "-0.5", -5},
      {"|99999", "12.5", 125},
      {"|1e3", "12.5", 125},
      {"|1,2.5", "12.5", 125},
  };
  for (const Typed& row : rows) {
    TVYKCoordoDialog dialog;
    dialog.SetY(125);
    auto* edit = Child<QLineEdit>(dialog, "ediY");
    const QString text = QString::fromLatin1(row.keys);
    if (text.startsWith(u'|')) {
      edit->selectAll();
      QApplication::clipboard()->setText(text.mid(1));
      edit->paste();
    } else {
      ClearByKeys(edit);
      QTest::keyClicks(edit, text);
    }
    EXPECT_EQ(edit->text(), Dec(row.shown)) << row.keys;
    EXPECT_EQ(dialog.Y(), row.tenths) << row.keys;
  }
}

TEST_P(PositionDialog, AValueGivenBeyondTheRangeStaysAndCanOnlyShrink) {
  TVYKCodeBVRCoordoDialog dialog;
  dialog.SetX(2147483647);
  auto* edit = Child<QLineEdit>(dialog, "ediX");
  EXPECT_EQ(dialog.X(), 2147483647);
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClicks(edit, "9\b\b\b");
  EXPECT_EQ(dialog.X(), 214748360);
}

TEST_P(PositionDialog, SecondSeparatorRefusedEvenOverASelectedOneButMovable) {
  TVYKCodeBVRCoordoDialog dialog;
  dialog.SetX(125);
  auto* edit = Child<QLineEdit>(dialog, "ediX");
  edit->selectAll();
  QTest::keyClicks(edit, Dec("."));
  EXPECT_EQ(edit->text(), Dec("12.5"));  // the selected text was not replaced
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClick(edit, Qt::Key_Left);
  QTest::keyClick(edit, Qt::Key_Backspace);  // deletes the separator
  QTest::keyClick(edit, Qt::Key_Left);
  QTest::keyClicks(edit, Dec("."));
  EXPECT_EQ(edit->text(), Dec("1.25"));
  EXPECT_EQ(dialog.X(), 12);
}

TEST_P(PositionDialog, AmountWidthsTypedAndNegativeCharacter) {
  TVYKAmountDecimalPartDialog dialog;
  dialog.SetdecimalWidth(65);
  dialog.SetCommaWidth(-15);
  dialog.SetCharWidth(0);
  dialog.SetNegativeAmountChar('*');
  dialog.SetShowNegativeAmount(true);
  EXPECT_EQ(Child<QLineEdit>(dialog, "ediDecimalWidth")->text(), Dec("6.5"));
  EXPECT_EQ(Child<QLineEdit>(dialog, "ediCommaWidth")->text(), Dec("-1.5"));
  EXPECT_EQ(Child<QLineEdit>(dialog, "ediNegativeChar")->text(), "*");
  WhenModal([](QDialog& d) {
    auto* charWidth = Child<QLineEdit>(d, "ediCharWidth");
    ClearByKeys(charWidth);
    QTest::keyClicks(charWidth, "3x-");
    QTest::mouseClick(Child<QCheckBox>(d, "CheckBoxDisplayNegativeAmount"), Qt::LeftButton);
    ClickButton(d, "butOk");
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.decimalWidth(), 65);
  EXPECT_EQ(dialog.CommaWidth(), -15);  // negative, untouched
  EXPECT_EQ(dialog.CharWidth(), 30);
  EXPECT_FALSE(dialog.ShowNegativeAmount());
  EXPECT_EQ(dialog.NegativeAmountChar(), '*');
}

INSTANTIATE_TEST_SUITE_P(Locales, PositionDialog, ::testing::Values(PointLocale(), CommaLocale()),
                         LocaleName);

TEST(AmountDialog, NegativeCharacterReadBack) {
  // Put over the preset '#' as a paste would. Windows-1252 has no Omega: the preset stays.
  const struct {
    const char16_t* text;
    std::uint8_t code;
  } rows[] = {
      {u"*", '*'},       {u"", 0},          {u" ", 0},        {u"\t", 0},
      {u"\u20AC", 0x80}, {u"\u00E9", 0xE9}, {u"\u03A9", '#'},
  };
  for (const auto& row : rows) {
    TVYKAmountDecimalPartDialog dialog;
    dialog.SetNegativeAmountChar('#');
    auto* edit = Child<QLineEdit>(dialog, "ediNegativeChar");
    edit->selectAll();
    edit->insert(QString::fromUtf16(row.text));
    EXPECT_EQ(dialog.NegativeAmountChar(), row.code) << QString::fromUtf16(row.text).toStdString();
  }
  TVYKAmountDecimalPartDialog dialog;
  dialog.SetNegativeAmountChar(0x80);
  EXPECT_EQ(Child<QLineEdit>(dialog, "ediNegativeChar")->text(), u"\u20AC");
  EXPECT_EQ(dialog.NegativeAmountChar(), 0x80);
  dialog.SetNegativeAmountChar(0);
  EXPECT_EQ(Child<QLineEdit>(dialog, "ediNegativeChar")->text(), u"");
  auto* edit = Child<QLineEdit>(dialog, "ediNegativeChar");
  QTest::keyClicks(edit, "ab");
  EXPECT_EQ(edit->text(), "a");  // one character typed at most
}

// Every dialog: Enter in its first edit confirms; Escape does nothing; Cancel and the close
// box return false.
struct DialogKind {
  const char* name;
  std::function<std::unique_ptr<QDialog>()> make;
  const char* firstEdit;
};

bool Execute(QDialog& dialog) {
  return static_cast<TVYKDialog&>(dialog).Execute();
}

class EveryDialog : public ::testing::TestWithParam<DialogKind> {};

TEST_P(EveryDialog, EnterConfirmsEscapeDoesNothingCancelAndCloseBoxDont) {
  const std::unique_ptr<QDialog> dialog = GetParam().make();
  const char* firstEdit = GetParam().firstEdit;
  EXPECT_EQ(Child<QPushButton>(*dialog, "butOk")->text(), "&OK");
  EXPECT_EQ(Child<QPushButton>(*dialog, "butCancel")->text(), "&Annuler");
  EXPECT_TRUE(Child<QPushButton>(*dialog, "butOk")->isDefault());
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());  // fixed size

  WhenModal([firstEdit](QDialog& d) { PressEnter(Child<QLineEdit>(d, firstEdit)); });
  EXPECT_TRUE(Execute(*dialog));

  bool openAfterEscape = false;
  WhenModal([&](QDialog& d) {
    QTest::keyClick(Child<QLineEdit>(d, firstEdit), Qt::Key_Escape);
    QTest::keyClick(&d, Qt::Key_Escape);
    QTest::keyClick(Child<QPushButton>(d, "butCancel"), Qt::Key_Escape);
    openAfterEscape = d.isVisible();
    ClickButton(d, "butCancel");
  });
  EXPECT_FALSE(Execute(*dialog));
  EXPECT_TRUE(openAfterEscape);

  WhenModal([](QDialog& d) { d.close(); });
  EXPECT_FALSE(Execute(*dialog));
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, EveryDialog,
    ::testing::Values(
        DialogKind{"Coord", [] { return std::make_unique<TVYKCoordoDialog>(); }, "ediX"},
        DialogKind{"Coding", [] { return std::make_unique<TVYKCodeBVRCoordoDialog>(); }, "ediY"},
        DialogKind{"Account", [] { return std::make_unique<TVYKCliBvrDialog>(); },
                   "ediNumeroOrdre"},
        DialogKind{"Reference", [] { return std::make_unique<TVYKRefDialog>(); },
                   "ediInternalNumberLength"},
        DialogKind{"Amount", [] { return std::make_unique<TVYKAmountDecimalPartDialog>(); },
                   "ediNegativeChar"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(TextDialog, EnterStartsALineAndLinesComeBackAsTheyWere) {
  const std::vector<std::string> lines = {"Société Réunie", "", "1204 Genève"};
  TVYKTextDialog dialog;
  dialog.SetZoneText(LinesToText(lines));
  bool openAfterEnter = false;
  WhenModal([&](QDialog& d) {
    auto* memo = Child<QPlainTextEdit>(d, "mainMemo");
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "CH");
    openAfterEnter = d.isVisible();
    ClickButton(d, "butOk");
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(openAfterEnter);
  EXPECT_EQ(dialog.ZoneText(), "Société Réunie\r\n\r\n1204 Genève\r\n\r\nCH");
  EXPECT_EQ(TextToLines(dialog.ZoneText()),
            (std::vector<std::string>{"Société Réunie", "", "1204 Genève", "", "CH"}));

  TVYKTextDialog again;
  again.SetZoneText(
      "a\rb\nc\r\nd\xC2\xA0"
      "e");  // every line break form; a no-break space
  EXPECT_EQ(again.ZoneText(),
            "a\r\nb\r\nc\r\nd\xC2\xA0"
            "e");
  again.SetZoneText(LinesToText(lines));
  EXPECT_EQ(TextToLines(again.ZoneText()), lines);
}

}  // namespace
}  // namespace bvr::test

namespace bvr::test {
namespace {

// The help texts fit the dialog's own client size in the substitute face.
TEST(CodingLinePositionDialog, KeepsItsSizeWithTheHelpTextsWhole) {
  TVYKCodeBVRCoordoDialog dialog(nullptr);
  EXPECT_EQ(dialog.size(), QSize(190, 204));
  for (const char* name : {"labXHelp", "labYHelp"}) {
    const QLabel* help = Child<QLabel>(dialog, name);
    ASSERT_NE(help, nullptr);
    EXPECT_LE(help->heightForWidth(help->width()), help->height()) << name;
    EXPECT_GE(help->font().pixelSize(), 9) << name;
  }
}

}  // namespace
}  // namespace bvr::test
