// Mail merge: every row checked before anything is written, one page per row, a cancelled
// run leaves no file.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <iostream>
#include <map>

#include "QrAppTestSupport.h"
#include "qrapp/BillPreview.h"
#include "qrapp/MailMerge.h"
#include "qrapp/MailMergeDialog.h"
#include "qrapp/ReferenceMaking.h"
#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"

namespace bvr::test {
namespace {

class MailMergeTest : public WindowTest {
 protected:
  std::unique_ptr<MailMergeDialog> Dialog() {
    qr::Bill bill =
        qr::ReadBillJson(ReadAll(QString(BVR_SOURCE_DIR) + "/tests/qrbill/data/example-03.json"))
            .bill;
    bill.debtor = qr::Address{"Window Debtor", "Rue du Temple", "7", "2000", "Neuchâtel", "CH"};
    WindowDialogs d;
    d.saveFile = [this](QWidget*, const QString&, const QString&) { return saveAnswer; };
    return std::make_unique<MailMergeDialog>(bill, BillPrinting{}, QString(), d);
  }
};

TEST_F(MailMergeTest, GoodRowsGiveOnePageEachWithTheirBill) {
  // Semicolons and Windows-1252, as a Swiss spreadsheet saves them.
  WriteText(Temp("rows.csv"),
            "amount;debtor.name;debtor.postcode;debtor.town;debtor.country\r\n"
            "12.50;M\xfcller AG;8000;Z\xfcrich;CH\r\n"
            "99;Dupont;1700;Fribourg;CH\r\n"
            ";Rossi;6900;Lugano;CH\r\n");
  auto dialog = Dialog();
  ASSERT_TRUE(dialog->LoadCsv(Temp("rows.csv")));
  EXPECT_TRUE(dialog->findChild<QLabel*>("lblCount")->text().startsWith("3 lignes lues"));
  EXPECT_EQ(dialog->findChild<QTableWidget*>("tblProblems")->rowCount(), 0);
  ASSERT_TRUE(dialog->findChild<QPushButton*>("btnWritePdf")->isEnabled());
  // The row's debtor alone: no street of the window's debtor beside its name.
  EXPECT_EQ(dialog->Reading().bills[0].debtor,
            (qr::Address{"Müller AG", "", "", "8000", "Zürich", "CH"}));

  dialog->findChild<QSpinBox*>("spnRow")->setValue(2);  // stepping through the rows
  EXPECT_FALSE(dialog->findChild<BillPreview*>()->Faded());

  saveAnswer = Temp("all.pdf");
  QTest::mouseClick(dialog->findChild<QPushButton*>("btnWritePdf"), Qt::LeftButton);
  ASSERT_EQ(PdfPages(Temp("all.pdf")), 3);
  std::vector<std::string> expected;
  for (const qr::Bill& bill : dialog->Reading().bills) {
    expected.push_back(qr::BuildQrPayload(bill));
  }
  EXPECT_EQ(PdfSymbols(Temp("all.pdf")), expected);
  QProcess text;  // A4 pages with the bill alone, as the window's export
  text.start("pdftotext", {Temp("all.pdf"), "-"});
  text.waitForFinished(30000);
  EXPECT_FALSE(QString::fromUtf8(text.readAllStandardOutput()).contains("Exemple"));
}

TEST_F(MailMergeTest, BadRowIsListedAndNothingIsWritten) {
  WriteText(Temp("rows.csv"),
            "amount,debtor.name,debtor.postcode,debtor.town,debtor.country\n"
            "12.50,Müller AG,8000,Zürich,CH\n"
            "-5,Dupont,1700,,CH\n"
            "7,Rossi,6900,Lugano,CH\n");
  auto dialog = Dialog();
  ASSERT_TRUE(dialog->LoadCsv(Temp("rows.csv")));
  auto* table = dialog->findChild<QTableWidget*>("tblProblems");
  ASSERT_EQ(table->rowCount(), 2);
  std::map<QString, QString> shown;  // field: message, all of row 2
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(table->item(i, 0)->text(), "2");
    shown[table->item(i, 1)->text()] = table->item(i, 2)->text();
  }
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown["debtor.town"], "obligatoire");
  EXPECT_FALSE(shown["amount"].isEmpty());
  EXPECT_TRUE(dialog->findChild<QLabel*>("lblCount")->text().contains("2 problèmes"));
  EXPECT_FALSE(dialog->findChild<QPushButton*>("btnWritePdf")->isEnabled());
  EXPECT_FALSE(dialog->WritePdf(Temp("none.pdf")));
  EXPECT_FALSE(QFile::exists(Temp("none.pdf")));
}

TEST_F(MailMergeTest, CancelledRunLeavesTheOldFileWhole) {
  std::vector<qr::Bill> bills(
      5, qr::ReadBillJson(ReadAll(QString(BVR_SOURCE_DIR) + "/tests/qrbill/data/example-01.json"))
             .bill);
  WriteText(Temp("old.pdf"), "older file");
  EXPECT_THROW(WriteMergePdf(bills, {}, Temp("old.pdf"),
                             [](std::size_t done, std::size_t) { return done < 2; }),
               EMergeCancelled);
  EXPECT_EQ(ReadAll(Temp("old.pdf")), "older file");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary left
}

// Run by tests/printing/cups-test on its private print server, which counts the job's pages;
// skipped elsewhere.
TEST_F(MailMergeTest, PrintsOneJobOnTheQueue) {
  const QString queue = qEnvironmentVariable("BVR_TEST_PRINT_QUEUE");
  if (queue.isEmpty()) {
    GTEST_SKIP() << "BVR_TEST_PRINT_QUEUE names no queue";
  }
  WriteText(Temp("rows.csv"),
            "amount,debtor.name,debtor.postcode,debtor.town,debtor.country\n"
            "1,A,8000,Zürich,CH\n2,B,1700,Fribourg,CH\n3,C,6900,Lugano,CH\n");
  qr::Bill bill =
      qr::ReadBillJson(ReadAll(QString(BVR_SOURCE_DIR) + "/tests/qrbill/data/example-03.json"))
          .bill;
  WindowDialogs d;
  d.chooseQueue = [](QWidget*, const QStringList& queues, int current) {
    return queues.value(current);
  };
  MailMergeDialog dialog(bill, BillPrinting{}, QString(), d);
  ASSERT_TRUE(dialog.LoadCsv(Temp("rows.csv")));
  QTest::mouseClick(dialog.findChild<QPushButton*>("btnPrint"), Qt::LeftButton);
  const QString sent = dialog.findChild<QLabel*>("lblCount")->text();
  EXPECT_TRUE(sent.startsWith("3 factures envoyées à " + queue)) << sent.toStdString();
  std::cout << sent.toStdString() << "\n";
}

}  // namespace
}  // namespace bvr::test
