// The account number and reference number dialogs: presets, live key and sample, corrections.
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "DialogTestSupport.h"
#include "editing/VYKBVRClientBvrDialog.h"
#include "editing/VYKBVRReferenceDialog.h"
#include "numbers/VYKBVRFunctions.h"

namespace bvr::test {
namespace {

struct AccountParts {
  QString code, order, key;
};

AccountParts PartsOf(const TVYKCliBvrDialog& dialog) {
  return {Child<QLineEdit>(dialog, "ediCodeBvr")->text(),
          Child<QLineEdit>(dialog, "ediNumeroOrdre")->text(),
          Child<QLineEdit>(dialog, "ediKey")->text()};
}

TEST(AccountDialog, PresetSplitsAndReadBackComposes) {
  const struct {
    const char* preset;
    const char* code;
    const char* order;
    const char* key;
    const char* readBack;
  } rows[] = {
      {"", "00", "000000", "0", "00-000000-0"},
      {"01-987654-4", "01", "987654", "4", "01-987654-4"},
      {"01-987654-9", "01", "987654", "9", "01-987654-9"},  // a wrong key is kept
      {"12345678", "12345678", "", "", "12345678-000000-0"},
      {"01x987654/4 and more", "01", "987654", "4", "01-987654-4"},
      {"1--5", "1", "", "5", "1-000000-5"},
  };
  for (const auto& row : rows) {
    TVYKCliBvrDialog dialog;
    dialog.SetAccountNumber(row.preset);
    const AccountParts parts = PartsOf(dialog);
    EXPECT_EQ(parts.code, row.code) << row.preset;
    EXPECT_EQ(parts.order, row.order) << row.preset;
    EXPECT_EQ(parts.key, row.key) << row.preset;
    EXPECT_EQ(dialog.AccountNumber(), row.readBack) << row.preset;
    EXPECT_EQ(PartsOf(dialog).order.isEmpty(), false);  // the filled-in parts show
  }
}

TEST(AccountDialog, KeyFollowsTypingInCodeAndOrder) {
  TVYKCliBvrDialog dialog;
  dialog.SetAccountNumber("01-987654-9");
  auto* code = Child<QLineEdit>(dialog, "ediCodeBvr");
  auto* order = Child<QLineEdit>(dialog, "ediNumeroOrdre");
  auto* key = Child<QLineEdit>(dialog, "ediKey");
  const QString right = QString::number(CheckDigit("01987654"));
  ASSERT_NE(right, "9");
  QTest::keyClick(key, Qt::Key_End);  // a key released in the key edit computes nothing
  EXPECT_EQ(key->text(), "9");
  QTest::keyClick(code, Qt::Key_End);  // any key released in the code edit does
  EXPECT_EQ(key->text(), right);

  ClearByKeys(order);
  QTest::keyClicks(order, "7a-");
  EXPECT_EQ(order->text(), "7");
  EXPECT_EQ(key->text(), QString::number(CheckDigit("01000007")));
  EXPECT_EQ(dialog.AccountNumber(), "01-7-" + key->text().toStdString());

  QTest::keyClicks(code, "9");  // the code holds two characters already
  EXPECT_EQ(code->text(), "01");
  ClearByKeys(key);
  EXPECT_EQ(dialog.AccountNumber(), "01-7-0");

  // Pasted text is not filtered: its non-digits count as absent for the key.
  order->selectAll();
  order->insert("12x4");
  QTest::keyClick(order, Qt::Key_End);
  EXPECT_EQ(key->text(), QString::number(CheckDigit("01000124")));
  EXPECT_EQ(dialog.AccountNumber(), "01-12x4-" + key->text().toStdString());
}

TEST(ReferenceDialog, SampleMarksEachPlace) {
  const struct {
    std::int32_t accountStart, accountLength, internalStart, internalLength;
    const char* sample;
  } rows[] = {
      {1, 6, 7, 20, "11111122222222222222222222"},   {1, 10, 5, 22, "1111!!!!!!2222222222222222"},
      {0, 0, 0, 0, "00000000000000000000000000"},    {0, 5, 27, 5, "11110000000000000000000000"},
      {20, 10, 3, -2, "00000000000000000001111111"},
  };
  for (const auto& row : rows) {
    TVYKRefDialog dialog;
    dialog.SetAccountNumberIndexStart(row.accountStart);
    dialog.SetAccountNumberLength(row.accountLength);
    dialog.SetInternalNumberIndexStart(row.internalStart);
    dialog.SetInternalNumberLength(row.internalLength);
    EXPECT_EQ(Child<QLabel>(dialog, "labReferenceSample")->text(), row.sample);
  }
}

TEST(ReferenceDialog, TypingUpdatesLengthAndSampleLettersIgnored) {
  TVYKRefDialog dialog;
  dialog.SetAccountNumberIndexStart(1);
  dialog.SetInternalNumberIndexStart(12);
  dialog.SetInternalNumberLength(5);
  auto* number = Child<QLineEdit>(dialog, "ediAccountNumber");
  auto* sample = Child<QLabel>(dialog, "labReferenceSample");
  QTest::keyClicks(number, "12a34-56789");
  EXPECT_EQ(number->text(), "123456789");
  EXPECT_EQ(Child<QLineEdit>(dialog, "ediAccountlength")->text(), "9");
  EXPECT_EQ(sample->text(), "11111111100222220000000000");

  // An emptied internal start counts as 0: the internal part covers places 1 to length - 1.
  ClearByKeys(Child<QLineEdit>(dialog, "ediInternalNumberIndex"));
  EXPECT_EQ(dialog.InternalNumberIndexStart(), 0);
  EXPECT_EQ(sample->text(), "!!!!1111100000000000000000");
}

TEST(ReferenceDialog, PresetLengthReplacesTheDerivedOneAndEqualWritesChangeNothing) {
  TVYKRefDialog dialog;
  auto* start = Child<QLineEdit>(dialog, "ediAccountIndex");
  QSignalSpy changes(start, &QLineEdit::textChanged);
  dialog.SetAccountNumber("123456789");
  dialog.SetAccountNumberIndexStart(0);  // equal to the initial text: no change event
  EXPECT_EQ(changes.count(), 0);
  dialog.SetAccountNumberLength(4);
  EXPECT_EQ(dialog.AccountNumberLength(), 4);
  EXPECT_EQ(dialog.AccountNumber(), "123456789");
}

TEST(ReferenceDialog, LengthsCutOnOkOnly) {
  const struct {
    std::int32_t accountStart, accountLength, internalStart, internalLength;
    std::int32_t accountOk, internalOk;
  } rows[] = {
      {20, 10, 1, 26, 7, 26},
      {1, 0, 27, 5, 0, 0},
      {7, 20, 30, 5, 20, -3},  // a start beyond 27 gives a negative length
      {0, 99, 1, 1, 27, 1},
  };
  for (const auto& row : rows) {
    for (const bool ok : {true, false}) {
      TVYKRefDialog dialog;
      dialog.SetAccountNumberIndexStart(row.accountStart);
      dialog.SetAccountNumberLength(row.accountLength);
      dialog.SetInternalNumberIndexStart(row.internalStart);
      dialog.SetInternalNumberLength(row.internalLength);
      WhenModal([ok](QDialog& d) { ClickButton(d, ok ? "butOk" : "butCancel"); });
      EXPECT_EQ(dialog.Execute(), ok);
      EXPECT_EQ(dialog.AccountNumberLength(), ok ? row.accountOk : row.accountLength);
      EXPECT_EQ(dialog.InternalNumberLength(), ok ? row.internalOk : row.internalLength);
    }
  }
}

TEST(ReferenceDialog, NegativeLengthFromTheDialogStillBuildsAReference) {
  TVYKRefDialog dialog;
  dialog.SetAccountNumber("123");
  dialog.SetAccountNumberIndexStart(1);
  dialog.SetInternalNumberIndexStart(30);
  dialog.SetInternalNumberLength(5);
  WhenModal([](QDialog& d) { PressEnter(Child<QLineEdit>(d, "ediAccountNumber")); });
  ASSERT_TRUE(dialog.Execute());
  ReferenceLayout layout;
  layout.AccountNumber = dialog.AccountNumber();
  layout.AccountNumberIndexStart = dialog.AccountNumberIndexStart();
  layout.AccountNumberLength = dialog.AccountNumberLength();
  layout.InternalNumberIndexStart = dialog.InternalNumberIndexStart();
  layout.InternalNumberLength = dialog.InternalNumberLength();
  ASSERT_EQ(layout.InternalNumberLength, -3);
  const std::string reference = BuildReferenceNumber(layout, "4711");
  ASSERT_EQ(reference.size(), 27u);
  EXPECT_EQ(reference.substr(0, 26), "12300000000000000000000000");
}

}  // namespace
}  // namespace bvr::test
