#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "DialogTestSupport.h"
#include "FileSizeLimit.h"
#include "app/ErrorReporting.h"
#include "app/UConfigBVR.h"
#include "designer/VYKBVRComponents.h"
#include "designer/VYKBVRSelectZone.h"
#include "model/DemoLayout.h"
#include "preview/InvoicePreview.h"
#include "print/UReportBVR.h"

namespace bvr {
namespace {

struct ShownError {
  QString title;
  QString message;
};

// A main window whose file dialogs and preview need no person, and whose error boxes are
// recorded instead of shown.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetErrorPresenter([this](QWidget*, const QString& title, const QString& message) {
      errors.push_back({title, message});
    });
    window = std::make_unique<TFormConfigBVR>();
    window->SetFileDialogs({[this](QWidget*, const QString& d, const QString& f) {
                              askedDirectory = d, askedName = f;
                              return openAnswer;
                            },
                            [this](QWidget*, const QString& d, const QString& f) {
                              askedDirectory = d, askedName = f;
                              return saveAnswer;
                            }});
    window->SetPreviewRunner([this](TFormReportBVR& report, QWidget*) {
      ++previews;
      const TVYKqrBVR& slip = report.VYKqrBVR;
      amount = slip.Amount();
      invoice = slip.Reference().InternalNumber;
      payer = slip.PayedBy();
      settingMode = slip.SettingMode();
      linked = slip.BvrProperties() == &window->BVRPropertiesParams();
      page = report.RenderToImage(30);
    });
  }
  void TearDown() override { SetErrorPresenter(nullptr); }

  template <class T>
  T* Find(const char* name) {
    T* w = window->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
  std::string Layout() { return window->BVRPropertiesParams().SaveToText(); }

  std::unique_ptr<TFormConfigBVR> window;
  std::vector<ShownError> errors;
  QString openAnswer, saveAnswer, askedDirectory, askedName;
  int previews = 0;
  double amount = -1;
  std::string invoice;
  std::vector<std::string> payer;
  bool settingMode = false;
  bool linked = false;
  QImage page;
};

TEST_F(MainWindowTest, StartsWithTheDemonstrationLayoutAndSamplePayment) {
  EXPECT_EQ(window->windowTitle(), "Exemple BVR[*]");
  EXPECT_FALSE(window->isWindowModified());
  EXPECT_EQ(window->size(), QSize(442, 395));
  EXPECT_EQ(Layout(), std::string(DemonstrationLayoutText()));
  const struct {
    const char* name;
    QString caption;
    QRect geometry;
  } buttons[] = {
      {"ButtonOpen", "&Ouvrir...", {48, 360, 89, 25}},
      {"ButtonSave", "&Enregistrer...", {146, 360, 89, 25}},
      {"butReport", "&Aperçu...", {245, 360, 89, 25}},
      {"ButtonClose", "&Fermer", {344, 360, 89, 25}},
  };
  for (const auto& b : buttons) {
    QPushButton* button = Find<QPushButton>(b.name);
    EXPECT_EQ(button->text(), b.caption);
    EXPECT_EQ(button->geometry(), b.geometry) << b.name;
  }
  EXPECT_EQ(Find<QPlainTextEdit>("MemoPayedBy")->toPlainText(),
            "Monsieur\nJean Dupont\nChemin des Vignes 7\n2000 Neuchâtel");
  EXPECT_EQ(Find<QLineEdit>("EditInvoiceNo")->text(), "45687");
  EXPECT_EQ(Find<QLineEdit>("ediAmount")->text(), "1000");
  EXPECT_EQ(Find<QCheckBox>("chkMode")->text(), "Mode \"mise au point\"");
  EXPECT_EQ(window->OrangeBVR().geometry(), QRect(16, 43, 411, 209));
}

TEST_F(MainWindowTest, SavedLayoutOpensBackToTheSameDesigner) {
  QTemporaryDir dir;
  const QString path = dir.filePath("round.BVR");
  auto* shape = window->findChild<TShapeZone*>("PaymentForReceiptShape");
  ASSERT_NE(shape, nullptr);
  const QRect shown = shape->geometry();
  saveAnswer = path;
  Click("ButtonSave");
  EXPECT_EQ(askedName, "BVRParam");
  EXPECT_EQ(askedDirectory,
            DialogStartDirectory(QCoreApplication::applicationDirPath(), SystemProgramFolders()));
  window->BVRPropertiesParams().PaymentFor().Receipt().SetLeft(900);
  window->BVRPropertiesParams().UpdateZones();
  ASSERT_NE(shape->geometry(), shown);

  openAnswer = path;
  Click("ButtonOpen");
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(Layout(), std::string(DemonstrationLayoutText()));
  EXPECT_EQ(shape->geometry(), shown);
}

TEST_F(MainWindowTest, OpeningAFileIsOneUndoStep) {
  QTemporaryDir dir;
  const QString path = dir.filePath("moved.BVR");
  window->BVRPropertiesParams().PaymentFor().Receipt().SetLeft(900);
  saveAnswer = path;
  Click("ButtonSave");
  window->BVRPropertiesParams().PaymentFor().Receipt().SetLeft(120);
  window->BVRPropertiesParams().UpdateZones();
  const std::string before = Layout();
  auto* shape = window->findChild<TShapeZone*>("PaymentForReceiptShape");
  const QRect shown = shape->geometry();

  openAnswer = path;
  Click("ButtonOpen");
  ASSERT_EQ(window->BVRPropertiesParams().PaymentFor().Receipt().Left(), 900);
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Layout(), before);
  EXPECT_EQ(shape->geometry(), shown);
  QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(window->BVRPropertiesParams().PaymentFor().Receipt().Left(), 900);
}

TEST_F(MainWindowTest, CancelledDialogsChangeNothing) {
  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  const std::string before = Layout();
  Click("ButtonOpen");
  Click("ButtonSave");
  EXPECT_EQ(Layout(), before);
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowTest, ABadFileShowsItsMessageAndKeepsTheLayout) {
  QTemporaryDir dir;
  const QString path = dir.filePath("bad.BVR");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(
      "object X: TBvrProperties\n  PaymentFor.Receipt.Left = 1\n"
      "  PaymentFor.Receipt.Colour = 5\nend\n");
  f.close();
  window->BVRPropertiesParams().Amount().NegativeAmountChar = '-';
  const std::string before = Layout();
  openAnswer = path;
  Click("ButtonOpen");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].title, QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
  EXPECT_EQ(errors[0].message,
            "Error reading BVRPropertiesParams.PaymentFor.Receipt.Colour: Property Colour does "
            "not exist.");
  EXPECT_EQ(Layout(), before);
}

TEST_F(MainWindowTest, AMissingFileShowsTheSystemReason) {
  QTemporaryDir dir;
  openAnswer = dir.filePath("absent.BVR");
  Click("ButtonOpen");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].message,
            "Cannot open file \"" + openAnswer + "\". No such file or directory.");
}

TEST_F(MainWindowTest, PreviewHandsThePaymentToTheSlip) {
  Find<QLineEdit>("EditInvoiceNo")->setText("77");
  Find<QCheckBox>("chkMode")->setChecked(true);
  Click("butReport");
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(previews, 1);
  EXPECT_DOUBLE_EQ(amount, 1000.0);
  EXPECT_EQ(invoice, "77");
  EXPECT_EQ(payer, (std::vector<std::string>{"Monsieur", "Jean Dupont", "Chemin des Vignes 7",
                                             "2000 Neuchâtel"}));
  EXPECT_TRUE(settingMode);
  EXPECT_TRUE(linked);
  EXPECT_FALSE(page.isNull());
  // The check box is read again at every preview.
  Find<QCheckBox>("chkMode")->setChecked(false);
  Click("butReport");
  EXPECT_FALSE(settingMode);
}

TEST_F(MainWindowTest, UnreadableAmountsShowTheirMessageAndNoPreview) {
  const struct {
    QString text;
    QString message;
  } cases[] = {
      {"abc", "'abc' is not a valid floating point value."},
      {"", "'' is not a valid floating point value."},
      {"1 000", "'1 000' is not a valid floating point value."},
  };
  for (const auto& c : cases) {
    errors.clear();
    Find<QLineEdit>("ediAmount")->setText(c.text);
    Click("butReport");
    ASSERT_EQ(errors.size(), 1u) << c.text.toStdString();
    EXPECT_EQ(errors[0].message, c.message);
  }
  EXPECT_EQ(previews, 0);
}

TEST_F(MainWindowTest, AnAmountTooLargeReachesTheUserAsAMessage) {
  Find<QLineEdit>("ediAmount")->setText("123456789");
  Click("butReport");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].message, "123456789 : Montant trop grand.");
}

TEST_F(MainWindowTest, ClickingAZoneSelectsItAndScreenshotsCanBeTaken) {
  auto* zone = window->findChild<TShapeZone*>("PaymentForProcessingShape");
  ASSERT_NE(zone, nullptr);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QTest::mouseClick(zone, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_TRUE(zone->Selected());
  const QString out = qEnvironmentVariable("BVR_SCREENSHOT_DIR");
  if (!out.isEmpty()) {
    EXPECT_TRUE(window->grab().save(out + "/main-window.png"));
  }
}

TEST_F(MainWindowTest, ThePreviewWindowShowsThePageUntilClosed) {
  window->SetPreviewRunner(
      [](TFormReportBVR& report, QWidget* owner) { PreviewInvoice(report, owner); });
  QString seenTitle;
  QSize seenSize;
  test::WhenModal([&](QDialog& dialog) {
    auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog);
    ASSERT_NE(preview, nullptr);
    seenSize = preview->size();
    preview->close();
  });
  Click("butReport");
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(seenSize, QSize(800, 600));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, AFailedSaveShowsTheReasonAndKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("kept.BVR");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old layout");
  }
  saveAnswer = path;
  {
    const test::FileSizeLimit limit(64);
    Click("ButtonSave");
  }
  ASSERT_EQ(errors.size(), 1u);
  // The dialog ends every message with a full stop.
  EXPECT_EQ(errors[0].message.toStdString(),
            "Cannot write \"" + path.toStdString() + "\": " + std::strerror(EFBIG) + ".");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("old layout"));
}

// One arrow key on the selected zone: one change of the layout.
void ChangeTheLayout(TFormConfigBVR& window) {
  QTest::mouseClick(window.OrangeBVR().Shapes()[4], Qt::LeftButton, {}, QPoint(20, 20));
  QTest::keyClick(&window.OrangeBVR(), Qt::Key_Right);
}

struct CloseCase {
  const char* name;
  const char* answer;  // the button of the question; none: no change, no question
  const char* saveAs;  // what the save dialog returns; none: cancelled
  bool closes, saves;
};

class ClosingTest : public MainWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingTest, UnsavedChangesAreSavedDiscardedOrKeptOpen) {
  const CloseCase& c = GetParam();
  QTemporaryDir dir;
  saveAnswer = c.saveAs != nullptr ? dir.filePath(c.saveAs) : QString();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  if (c.answer != nullptr) {
    ChangeTheLayout(*window);
    test::WhenModal([&](QDialog& box) {
      EXPECT_EQ(box.findChild<QLabel*>("qt_msgbox_label")->text(),
                "Le BVR a été modifié. Voulez-vous enregistrer les modifications\u00a0?");
      test::ClickButton(box, c.answer);
    });
  }
  const std::string layout = Layout();
  Click("ButtonClose");
  EXPECT_EQ(window->isVisible(), !c.closes);
  QFile saved(dir.filePath("a.BVR"));
  EXPECT_EQ(saved.open(QIODevice::ReadOnly) ? saved.readAll().toStdString() : "none",
            c.saves ? layout : "none");
  EXPECT_EQ(errors.size(), c.saveAs != nullptr && c.saveAs[0] == 'x' ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ClosingTest,
    ::testing::Values(CloseCase{"Unchanged", nullptr, "a.BVR", true, false},
                      CloseCase{"Cancel", "butCancel", "a.BVR", false, false},
                      CloseCase{"Discard", "butDiscard", "a.BVR", true, false},
                      CloseCase{"Save", "butSave", "a.BVR", true, true},
                      CloseCase{"SaveDialogCancelled", "butSave", nullptr, false, false},
                      CloseCase{"SaveFails", "butSave", "x/a.BVR", false, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainWindowTest, UnsavedMeansChangedSinceStartOpenOrSave) {
  QTemporaryDir dir;
  saveAnswer = openAnswer = dir.filePath("a.BVR");
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
    QTest::keyClick(&window->OrangeBVR(), k, m);
    return window->isWindowModified();
  };
  ChangeTheLayout(*window);
  EXPECT_TRUE(window->isWindowModified());
  EXPECT_FALSE(key(Qt::Key_Z)) << "undone back to the start";
  EXPECT_TRUE(key(Qt::Key_Y));
  Click("ButtonSave");
  EXPECT_FALSE(window->isWindowModified());
  EXPECT_TRUE(key(Qt::Key_Right, Qt::NoModifier));
  EXPECT_FALSE(key(Qt::Key_Z)) << "undone back to the save";
  EXPECT_TRUE(key(Qt::Key_Z)) << "undone past the save";
  Click("ButtonOpen");
  EXPECT_FALSE(window->isWindowModified()) << "just opened";
  EXPECT_TRUE(key(Qt::Key_Z)) << "the opening undone";
}

// A dialog of the creditor zone's menu left without a change, between drags and undos. The
// keyboard comes back to the window, also where no window manager gives it back.
class DialogLeftAloneTest
    : public MainWindowTest,
      public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(DialogLeftAloneTest, RecordsNoStepAndKeepsUndoAndRedo) {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  TVYKOrangeBVR& view = window->OrangeBVR();
  std::vector<std::string> states{Layout()};
  for (const QPoint to : {QPoint(22, 25), QPoint(30, 21)}) {
    QTest::mousePress(view.Shapes()[4], Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(view.Shapes()[4], to);
    QTest::mouseRelease(view.Shapes()[4], Qt::LeftButton, {}, to);
    states.push_back(Layout());
  }
  auto leaveADialogThen = [&](Qt::Key key) {
    const auto [item, button] = GetParam();
    test::WhenModal(
        [button = button](QDialog& d) { button ? test::ClickButton(d, button) : void(d.close()); });
    view.Menus()[4]->findChild<QAction*>(item)->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }, 1000));
    QTest::keyClick(&view, key, Qt::ControlModifier);
  };
  leaveADialogThen(Qt::Key_Z);
  EXPECT_EQ(Layout(), states[1]) << "the first undo takes back the last drag";
  QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
  leaveADialogThen(Qt::Key_Y);
  QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Layout(), states[2]) << "the redo steps are still there";
}

INSTANTIATE_TEST_SUITE_P(Ways, DialogLeftAloneTest,
                         ::testing::Values(std::pair{"CoordinatesItem", "butCancel"},
                                           std::pair{"CoordinatesItem", nullptr},  // close box
                                           std::pair{"CoordinatesItem", "butOk"},
                                           std::pair{"TextItem", "butOk"}));

TEST_F(MainWindowTest, TabReachesTheZonesAfterThePaymentFieldsAndLeavesAfterTheLast) {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  TVYKOrangeBVR& view = window->OrangeBVR();
  auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), k, m);
    return QApplication::focusWidget()->objectName();
  };
  Find<QPlainTextEdit>("MemoPayedBy")->setFocus();
  EXPECT_EQ(key(Qt::Key_Tab), "EditInvoiceNo");
  EXPECT_EQ(key(Qt::Key_Tab), "ediAmount");
  EXPECT_EQ(key(Qt::Key_Tab), "OrangeBVR");
  EXPECT_EQ(view.SelectedShape(), view.Shapes()[0]);
  const std::int32_t left = window->BVRPropertiesParams().Zones()[0]->Left();
  key(Qt::Key_Right);
  EXPECT_EQ(window->BVRPropertiesParams().Zones()[0]->Left(), left + 1);
  for (std::size_t i = 1; i < view.Shapes().size(); ++i) {
    EXPECT_EQ(key(Qt::Key_Tab), "OrangeBVR");
    EXPECT_EQ(view.SelectedShape(), view.Shapes()[i]);
  }
  EXPECT_EQ(key(Qt::Key_Tab), "ButtonOpen");
  EXPECT_EQ(key(Qt::Key_Backtab, Qt::ShiftModifier), "OrangeBVR");
  EXPECT_EQ(view.SelectedShape(), view.Shapes()[9]);
  for (const auto& [k, m] :
       {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
    key(k, m);
    EXPECT_TRUE(view.Menus()[9]->isVisible()) << k;
    view.Menus()[9]->hide();
  }
}

TEST_F(MainWindowTest, FileDialogsStartInTheProgramFolderOnlyWhereTheUserMayWrite) {
  QTemporaryDir dir;
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  documents = QFileInfo(documents).isDir() ? documents : QDir::homePath();
  EXPECT_EQ(DialogStartDirectory(dir.path(), {}), dir.path());
  // A system folder, even where root may write; a folder that is not there.
  EXPECT_EQ(DialogStartDirectory(dir.path(), {dir.path()}), documents);
  EXPECT_EQ(DialogStartDirectory("/usr/bin", SystemProgramFolders()), documents);
  EXPECT_EQ(DialogStartDirectory(dir.filePath("gone"), {}), documents);
}

}  // namespace
}  // namespace bvr
