#include "app/UConfigBVR.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "app/ErrorReporting.h"
#include "app/LayoutFiles.h"
#include "designer/VYKBVRComponents.h"
#include "model/DemoLayout.h"
#include "numbers/Conversions.h"
#include "preview/InvoicePreview.h"
#include "print/UReportBVR.h"
#include "report/QtFont.h"

namespace bvr {

namespace {

const QString kFilter = QStringLiteral("BVR Properties (*.BVR)");
const QString kProposedName = QStringLiteral("BVRParam");

QString AskFile(QWidget* parent, const QString& directory, const QString& fileName, bool save) {
  QFileDialog dialog(parent, QString(), directory, kFilter);
  dialog.setObjectName(save ? "SaveDialog" : "OpenDialog");
  dialog.setDefaultSuffix(QStringLiteral("BVR"));
  dialog.selectFile(fileName);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Any typed name is handed on: opening a missing file reports why, and saving replaces an
  // existing file without asking.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return {};
  }
  return dialog.selectedFiles().constFirst();
}

// Save (true), discard (false) or cancel (none) the unsaved changes.
std::optional<bool> AskToSaveChanges(QWidget* parent) {
  QMessageBox box(
      QMessageBox::Question, parent->windowTitle().remove(QStringLiteral("[*]")),
      QStringLiteral("Le BVR a été modifié. Voulez-vous enregistrer les modifications\u00a0?"),
      QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("SaveChangesQuestion"));
  QPushButton* save = box.addButton(QStringLiteral("&Enregistrer..."), QMessageBox::AcceptRole);
  QPushButton* discard =
      box.addButton(QStringLiteral("&Ne pas enregistrer"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("&Annuler"), QMessageBox::RejectRole);
  save->setObjectName(QStringLiteral("butSave"));
  discard->setObjectName(QStringLiteral("butDiscard"));
  cancel->setObjectName(QStringLiteral("butCancel"));
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) {
    return true;
  }
  if (box.clickedButton() == discard) {
    return false;
  }
  return std::nullopt;
}

template <class W>
W* Place(W* widget, const char* name, int left, int top, int width = -1, int height = -1) {
  widget->setObjectName(name);
  if (width < 0) {
    widget->move(left, top);
    widget->adjustSize();
  } else {
    widget->setGeometry(left, top, width, height);
  }
  return widget;
}

}  // namespace

FileDialogs FileDialogs::Native() {
  return {[](QWidget* p, const QString& d, const QString& f) { return AskFile(p, d, f, false); },
          [](QWidget* p, const QString& d, const QString& f) { return AskFile(p, d, f, true); }};
}

TFormConfigBVR::TFormConfigBVR(QWidget* parent)
    : QWidget(parent), properties_(std::make_unique<TBvrProperties>()) {
  setObjectName("FormConfigBVR");
  // The marker shows while the layout has unsaved changes.
  setWindowTitle(QStringLiteral("Exemple BVR[*]"));
  InstallFontSubstitutions();
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  properties_->Name = "BVRPropertiesParams";
  LoadDemonstrationLayout(*properties_);
  CreateControls();
  setFixedSize(442, 395);
  // A fixed dialog frame with a system menu, centred on the screen.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
  previewRunner_ = [](TFormReportBVR& report, QWidget* owner) { PreviewInvoice(report, owner); };
  // Undoing back to the saved state counts as saved.
  connect(&orangeBVR_->History().Stack(), &QUndoStack::cleanChanged, this,
          [this](bool clean) { setWindowModified(!clean); });
  qApp->installEventFilter(this);
}

// The view goes first: it unlinks its zones from the layout while both still exist.
TFormConfigBVR::~TFormConfigBVR() {
  qApp->removeEventFilter(this);
  delete orangeBVR_;
}

void TFormConfigBVR::CreateControls() {
  labInfo_ = Place(
      new QLabel(QStringLiteral("Sélectionnez une zone du BVR puis Cliquez sur le bouton droit "
                                "de la souris pour modifier les paramètres..."),
                 this),
      "LabInfo", 17, 6, 407, 31);
  labInfo_->setWordWrap(true);
  labInfo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  orangeBVR_ = new TVYKOrangeBVR(this);
  orangeBVR_->setObjectName("OrangeBVR");
  orangeBVR_->move(16, 43);
  orangeBVR_->SetBvrProperties(properties_.get());

  Place(new QLabel(QStringLiteral("Adresse du débiteur"), this), "LabPayedBy", 16, 259);
  memoPayedBy_ = Place(new QPlainTextEdit(this), "MemoPayedBy", 16, 275, 161, 73);
  const PaymentValues demo = DemonstrationPayment();
  QStringList payer;
  for (const std::string& line : demo.PayerLines) {
    payer << QString::fromStdString(line);
  }
  memoPayedBy_->setPlainText(payer.join(QLatin1Char('\n')));
  memoPayedBy_->setTabChangesFocus(true);

  Place(new QLabel(QStringLiteral("Numéro de facture"), this), "LabInvoiceNo", 184, 259);
  editInvoiceNo_ = Place(new QLineEdit(QString::fromStdString(demo.InternalNumber), this),
                         "EditInvoiceNo", 184, 275, 121, 21);
  Place(new QLabel(QStringLiteral("Montant"), this), "LabAmount", 184, 309);
  ediAmount_ = Place(new QLineEdit(QString::number(demo.Amount, 'g', 15), this), "ediAmount", 184,
                     325, 121, 21);
  chkMode_ = Place(new QCheckBox(QStringLiteral("Mode \"mise au point\""), this), "chkMode", 311,
                   327, 130, 17);

  auto* open =
      Place(new QPushButton(QStringLiteral("&Ouvrir..."), this), "ButtonOpen", 48, 360, 89, 25);
  auto* save = Place(new QPushButton(QStringLiteral("&Enregistrer..."), this), "ButtonSave", 146,
                     360, 89, 25);
  auto* report =
      Place(new QPushButton(QStringLiteral("&Aperçu..."), this), "butReport", 245, 360, 89, 25);
  auto* close =
      Place(new QPushButton(QStringLiteral("&Fermer"), this), "ButtonClose", 344, 360, 89, 25);
  connect(open, &QPushButton::clicked, this, [this] { ButtonOpenClick(); });
  connect(save, &QPushButton::clicked, this, [this] { ButtonSaveClick(); });
  connect(report, &QPushButton::clicked, this, [this] { butReportClick(); });
  connect(close, &QPushButton::clicked, this, [this] { ButtonCloseClick(); });

  // Tab order: the payment fields, the slip picture, the four buttons, the check box.
  QWidget* order[] = {memoPayedBy_, editInvoiceNo_, ediAmount_, orangeBVR_, open,
                      save,         report,         close,      chkMode_};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    setTabOrder(order[i], order[i + 1]);
  }
}

QStringList SystemProgramFolders() {
  return {QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin"), QStringLiteral("/bin"),
          QStringLiteral(BVR_INSTALLED_PROGRAM_DIR)};
}

QString DialogStartDirectory(const QString& programDirectory, const QStringList& systemFolders) {
  const QFileInfo program(programDirectory);
  const QString canonical = program.canonicalFilePath();
  const bool system =
      std::any_of(systemFolders.begin(), systemFolders.end(), [&](const QString& f) {
        return !canonical.isEmpty() && QFileInfo(f).canonicalFilePath() == canonical;
      });
  if (program.isDir() && program.isWritable() && !system) {
    return programDirectory;
  }
  // The documents folder may not exist yet (a fresh account): then the home folder.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString TFormConfigBVR::DialogDirectory() const {
  return DialogStartDirectory(QCoreApplication::applicationDirPath(), SystemProgramFolders());
}

double TFormConfigBVR::AmountValue() const {
  const QString separator = QLocale().decimalPoint();
  const char sep = separator.size() == 1 && separator[0].unicode() < 128
                       ? static_cast<char>(separator[0].unicode())
                       : '.';
  return StrToFloat(ediAmount_->text().toStdString(), sep);
}

void TFormConfigBVR::ButtonOpenClick() {
  Guarded(this, [this] {
    const QString path = dialogs_.open(this, DialogDirectory(), kProposedName);
    if (path.isEmpty()) {
      return;
    }
    const std::string text = ReadLayoutFile(path);
    // One undo step brings back the layout as it was before the file.
    orangeBVR_->History().Record([&] { LoadLayoutAllOrNothing(*properties_, text); });
    orangeBVR_->History().Stack().setClean();
  });
}

void TFormConfigBVR::ButtonSaveClick() {
  SaveLayout();
}

bool TFormConfigBVR::SaveLayout() {
  bool saved = false;
  Guarded(this, [this, &saved] {
    const QString path = dialogs_.save(this, DialogDirectory(), kProposedName);
    if (path.isEmpty()) {
      return;
    }
    SaveLayoutFile(path, properties_->SaveToText());
    orangeBVR_->History().Stack().setClean();
    saved = true;
  });
  return saved;
}

bool TFormConfigBVR::LayoutModified() const {
  return !orangeBVR_->History().Stack().isClean();
}

bool TFormConfigBVR::MayClose() {
  if (!LayoutModified()) {
    return true;
  }
  const std::optional<bool> save = AskToSaveChanges(this);
  if (!save) {
    return false;
  }
  return !*save || SaveLayout();
}

bool TFormConfigBVR::eventFilter(QObject* watched, QEvent* event) {
  auto* dialog = qobject_cast<QDialog*>(watched);
  if (event->type() == QEvent::Hide && dialog != nullptr && dialog->isWindow()) {
    const QWidget* owner = dialog->parentWidget();
    while (owner != nullptr && owner != this) {
      owner = owner->parentWidget();
    }
    if (owner == this) {
      // Once the dialog is gone: a window manager may have given the focus on its own.
      QTimer::singleShot(0, this, [this] {
        if (isVisible() && QGuiApplication::focusWindow() == nullptr) {
          activateWindow();
        }
      });
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TFormConfigBVR::closeEvent(QCloseEvent* event) {
  if (MayClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TFormConfigBVR::butReportClick() {
  Guarded(this, [this] {
    // Freed when this handler ends, also when a step fails.
    auto report = std::make_unique<TFormReportBVR>();
    TVYKqrBVR& slip = report->VYKqrBVR;
    slip.SetSettingMode(chkMode_->isChecked());
    slip.SetBvrProperties(properties_.get());
    PaymentValues payment;
    payment.Amount = AmountValue();
    payment.InternalNumber = editInvoiceNo_->text().toStdString();
    for (const QString& line : memoPayedBy_->toPlainText().split('\n')) {
      payment.PayerLines.push_back(line.toStdString());
    }
    slip.SetPayment(payment);
    previewRunner_(*report, this);
  });
}

void TFormConfigBVR::ButtonCloseClick() {
  close();
}

}  // namespace bvr
