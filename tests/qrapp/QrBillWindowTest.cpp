// The window driven as a person would: fields typed by object name, actions triggered, the
// tool run beside it on the same bill.
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <iostream>

#include "QrAppTestSupport.h"
#include "qrapp/BillForm.h"
#include "qrapp/BillPreview.h"
#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"

namespace bvr::test {
namespace {

const QString kExamples = QString(BVR_SOURCE_DIR) + "/tests/qrbill/data/";

qr::Bill ExampleBill(const char* name) {
  return qr::ReadBillJson(ReadAll(kExamples + name)).bill;
}

class QrBillWindowTest : public WindowTest {};

TEST_F(QrBillWindowTest, TypedBillGivesThePayloadOfTheTool) {
  qr::Bill withBilling = ExampleBill("example-03.json");
  withBilling.amount = "1949.75";
  withBilling.billing = "//S1/10/10201409/11/190512/20/1400.000-53";
  withBilling.message = "Facture n° 4711, merci !";
  withBilling.language = qr::Language::it;
  WriteText(Temp("billing.json"), qr::WriteBillJson(withBilling));
  for (const QString& file :
       {kExamples + "example-01.json", kExamples + "example-03.json", Temp("billing.json")}) {
    SCOPED_TRACE(file.toStdString());
    TypeBill(qr::ReadBillJson(ReadAll(file)).bill);
    const ToolResult tool = RunTool({"qr", "payload", "--bill", file});
    ASSERT_EQ(tool.code, 0) << tool.err;
    EXPECT_EQ(qr::BuildQrPayload(window->Bill()) + "\n", tool.out);
    EXPECT_TRUE(window->Problems().empty()) << qr::JoinProblems(window->Problems());
    EXPECT_TRUE(Action("actPrint")->isEnabled());
    EXPECT_FALSE(window->Preview().Faded());
  }
}

TEST_F(QrBillWindowTest, MadeReferencesAreTheToolsReferences) {
  TypeBill(ExampleBill("example-03.json"));
  Find<QComboBox>("cbxReferenceKind")->setCurrentIndex(1);
  Type("ediInvoice", "539007547034");
  EXPECT_EQ(window->Bill().reference + "\n",
            RunTool({"qr", "reference", "--scor", "539007547034"}).out);
  TypeBill(ExampleBill("example-01.json"));  // a QR-IBAN
  Find<QComboBox>("cbxReferenceKind")->setCurrentIndex(2);
  Type("ediInvoice", "45687");
  EXPECT_EQ(window->Bill().reference + "\n",
            RunTool({"qr", "reference", "--invoice", "45687"}).out);
  EXPECT_TRUE(window->Problems().empty()) << qr::JoinProblems(window->Problems());
}

TEST_F(QrBillWindowTest, ProblemsShowAtTheirFieldWithTheMessagesOfQrCheck) {
  struct Case {
    const char* what;
    std::function<void()> change;
    const char* field;    // the control marked
    const char* label;    // the line that shows the message
    const char* problem;  // as `bvrslip qr check` prints it
  };
  const Case cases[] = {
      {"wrong IBAN check digits", [&] { Type("ediAccount", "CH6531961000004421557"); },
       "ediAccount", "problem_account", "account"},
      {"QR-IBAN with a creditor reference",
       [&] {
         Find<QComboBox>("cbxReferenceKind")->setCurrentIndex(1);
         Type("ediInvoice", "4711");
       },
       "ediReference", "problem_reference", "reference"},
      {"name over 70 characters", [&] { Type("ediCreditorName", std::string(71, 'M')); },
       "ediCreditorName", "problem_creditor.name", "creditor.name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TypeBill(ExampleBill("example-01.json"));
    ASSERT_TRUE(Action("actPrint")->isEnabled());
    c.change();
    WriteText(Temp("wrong.json"), qr::WriteBillJson(window->Bill()));
    const ToolResult check = RunTool({"qr", "check", "--bill", Temp("wrong.json")});
    ASSERT_EQ(check.code, 1);
    const std::string prefix = std::string(c.problem) + " : ";
    ASSERT_EQ(check.err.rfind(prefix, 0), 0u) << check.err;
    const QString message = QString::fromStdString(
        check.err.substr(prefix.size(), check.err.find('\n') - prefix.size()));

    QLabel* label = Find<QLabel>(c.label);
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(label->text().split('\n').contains(message)) << label->text().toStdString();
    EXPECT_TRUE(Find<QWidget>(c.field)->property("problem").toBool());
    EXPECT_TRUE(Find<QWidget>(c.field)->toolTip().split('\n').contains(message));
    for (const char* action : {"actPrint", "actExport"}) {
      EXPECT_FALSE(Action(action)->isEnabled()) << action;
      EXPECT_TRUE(Action(action)->toolTip().contains(message)) << action;
    }
    EXPECT_TRUE(Find<QLabel>("lblStatus")->text().contains(message));
    EXPECT_TRUE(window->Preview().Faded());
  }
  TypeBill(ExampleBill("example-01.json"));  // mended: every mark goes
  EXPECT_FALSE(Find<QWidget>("ediCreditorName")->property("problem").toBool());
  EXPECT_FALSE(Find<QLabel>("problem_account")->isVisible());
  EXPECT_TRUE(Action("actExport")->isEnabled());
}

TEST_F(QrBillWindowTest, AmountsTypedTheSwissWayReadAsTheBillWritesThem) {
  struct Case {
    const char* locale;
    QString typed;
    std::string amount;
  };
  const Case cases[] = {
      {"en_US", "1949,75", "1949.75"},
      {"en_US", "1'949.75", "1949.75"},
      {"de_CH", "1’949.75", "1949.75"},
      {"fr_CH", "1 949,75", "1949.75"},
      {"fr_CH", "", ""},
      {"en_US", "12.5x", "12.5x"},  // left to the rules
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    QLocale::setDefault(QLocale(c.locale));
    Type("ediAmount", c.typed.toStdString());
    EXPECT_EQ(window->Bill().amount, c.amount);
  }
  QLocale::setDefault(QLocale::c());
  // A bill opened shows its amount with the user's separator, and reads back unchanged.
  QLocale::setDefault(QLocale("de_DE"));
  ASSERT_TRUE(window->OpenFile(kExamples + "example-01.json"));
  EXPECT_EQ(Find("ediAmount")->text(), "50,00");
  EXPECT_EQ(window->Bill().amount, "50.00");
  QLocale::setDefault(QLocale::c());
}

TEST_F(QrBillWindowTest, OpenSaveRoundTripKeepsTheBill) {
  qr::Bill bill = ExampleBill("example-01.json");
  bill.billing = "//S1/10/4711";
  bill.alternatives = {"eBill/B/41010560425610173", "Name AV2: Alternative"};
  bill.language = qr::Language::de;
  WriteText(Temp("in.json"), qr::WriteBillJson(bill));
  ASSERT_TRUE(window->OpenFile(Temp("in.json")));
  EXPECT_FALSE(window->isWindowModified());
  EXPECT_TRUE(window->windowTitle().startsWith("in.json"));
  EXPECT_EQ(window->Bill(), bill);
  saveAnswer = Temp("out");  // the ending is added
  Action("actSaveAs")->trigger();
  const qr::BillReading back = qr::ReadBillJson(ReadAll(Temp("out.json")));
  EXPECT_TRUE(back.problems.empty());
  EXPECT_EQ(back.bill, bill);
  Type("ediMessage", "Rappel");
  EXPECT_TRUE(window->isWindowModified());
  Action("actSave")->trigger();  // to the same file, without asking
  EXPECT_EQ(qr::ReadBillJson(ReadAll(Temp("out.json"))).bill.message, "Rappel");
  EXPECT_FALSE(window->isWindowModified());
}

TEST_F(QrBillWindowTest, ExportedPdfCarriesThePayload) {
  TypeBill(ExampleBill("example-01.json"));
  saveAnswer = Temp("bill.pdf");
  Action("actExport")->trigger();
  EXPECT_EQ(PdfSymbols(Temp("bill.pdf")),
            std::vector<std::string>{qr::BuildQrPayload(window->Bill())});
  // Only the bill: no sample heading printed over the office's own letter.
  QProcess text;
  text.start("pdftotext", {Temp("bill.pdf"), "-"});
  text.waitForFinished(30000);
  const QString words = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(words.contains("Récépissé"));
  EXPECT_FALSE(words.contains("Exemple")) << words.toStdString();
  saveAnswer = Temp("bill.svg");
  Action("actExport")->trigger();
  EXPECT_EQ(ReadAll(Temp("bill.svg")).substr(0, 5), "<?xml");
}

TEST_F(QrBillWindowTest, ClosingWithChangesAsks) {
  struct Case {
    bool changed;
    QMessageBox::StandardButton answer;
    int asked;
    bool closes;
  };
  const Case cases[] = {{false, QMessageBox::Cancel, 0, true},
                        {true, QMessageBox::Cancel, 1, false},
                        {true, QMessageBox::Discard, 1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    window->Form().ClearBill();
    window->setWindowModified(false);
    asked = 0;
    if (c.changed) {
      Type("ediAmount", "12.50");
    }
    closeAnswer = c.answer;
    EXPECT_EQ(window->close(), c.closes);
    EXPECT_EQ(asked, c.asked);
    window->show();
  }
}

TEST_F(QrBillWindowTest, CreditorIsTypedOnce) {
  Type("ediAccount", "CH44 3199 9123 0008 8901 2");
  Type("ediCreditorName", "Société de musique");
  Type("ediCreditorTown", "Neuchâtel");
  closeAnswer = QMessageBox::Discard;
  window.reset();
  window = std::make_unique<QrBillWindow>(Temp("settings.conf"));
  EXPECT_EQ(Find("ediAccount")->text(), "CH44 3199 9123 0008 8901 2");
  EXPECT_EQ(Find("ediCreditorName")->text(), "Société de musique");
  EXPECT_EQ(Find("ediCreditorTown")->text(), "Neuchâtel");
  EXPECT_FALSE(window->isWindowModified());
  Action("actNew")->trigger();  // a new bill keeps the creditor
  EXPECT_EQ(Find("ediCreditorName")->text(), "Société de musique");
}

// Run by tests/printing/cups-test on its private print server, which compares the job with
// the tool's; skipped elsewhere.
TEST_F(QrBillWindowTest, PrintsOnTheQueueWithItsStoredOffset) {
  const QString queue = qEnvironmentVariable("BVR_TEST_PRINT_QUEUE");
  if (queue.isEmpty()) {
    GTEST_SKIP() << "BVR_TEST_PRINT_QUEUE names no queue";
  }
  ASSERT_TRUE(window->OpenFile(kExamples + "example-01.json"));
  Find<QComboBox>("cbxPage")->setCurrentIndex(1);  // as the tool's --page bill
  Action("actPrint")->trigger();
  const QString sent = window->statusBar()->currentMessage();
  EXPECT_TRUE(sent.startsWith("Envoyé à " + queue + " (travail " + queue + "-"))
      << sent.toStdString();
  std::cout << sent.toStdString() << "\n";
}

// Without a window manager nothing shrinks a window to the screen: a first size larger than a
// small screen (the offscreen platform's is 800 x 600) would leave its right part unreachable.
TEST_F(QrBillWindowTest, FirstSizeFitsTheScreen) {
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  const QrBillWindow fresh(Temp("fresh.conf"));  // the fixture's is resized to 1024 x 700
  EXPECT_LE(fresh.width(), screen.width());
  EXPECT_LE(fresh.height(), screen.height());
}

}  // namespace
}  // namespace bvr::test
