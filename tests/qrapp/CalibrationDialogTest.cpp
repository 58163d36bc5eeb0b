// "Calibrer l'imprimante...": the three ruler measures, typed with a decimal comma, correct
// and store the queue's offset as `bvrslip calibrate` does, and a short mark warns of scaling.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "printing/CalibrationPage.h"
#include "qrapp/CalibrationDialog.h"
#include "report/PrinterOffsets.h"

namespace bvr {
namespace {

TEST(CalibrationDialog, MeasuresCorrectAndStoreTheQueuesOffset) {
  QTemporaryDir dir;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
  StorePrinterOffset("office", {10, -5});
  CalibrationDialog dialog(nullptr, {"office"});
  EXPECT_TRUE(dialog.findChild<QLabel*>("lblStoredOffset")->text().startsWith("10,-5"));
  const PaperPoint nominal = CalibrationMarkNominal();
  const auto type = [&](const char* name, double mm) {
    QTest::keyClicks(dialog.findChild<QLineEdit*>(name),
                     QString::number(mm, 'f', 2).replace('.', ','));
  };
  type("ediMeasuredX", nominal.xMm + 1.2);  // the ink 1.2 mm right, 0.5 mm high
  type("ediMeasuredY", nominal.yMm - 0.5);
  type("ediMeasuredLength", 29.5);
  QTest::mouseClick(dialog.findChild<QPushButton*>("btnApply"), Qt::LeftButton);
  EXPECT_EQ(StoredPrinterOffset("office"), (PrinterOffset{-2, 0}));
  const QString result = dialog.findChild<QLabel*>("lblResult")->text();
  EXPECT_TRUE(result.contains("met la page à l'échelle")) << result.toStdString();
  EXPECT_TRUE(result.contains("10,-5 -> -2,0")) << result.toStdString();
  EXPECT_TRUE(dialog.findChild<QLabel*>("lblStoredOffset")->text().startsWith("-2,0"));
}

TEST(CalibrationDialog, MeasuresReadWithCommaOrPoint) {
  struct Case {
    const char* text;
    std::optional<double> mm;
  };
  const Case cases[] = {
      {"140,5", 140.5}, {"140.5", 140.5}, {" 26 mm", 26.0}, {"abc", {}}, {"", {}}};
  for (const Case& c : cases) {
    EXPECT_EQ(MeasureOf(c.text), c.mm) << c.text;
  }
}

}  // namespace
}  // namespace bvr
