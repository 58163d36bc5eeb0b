#include "qrapp/QrBillWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/ErrorReporting.h"
#include "printing/CupsPrinting.h"
#include "qrapp/BillForm.h"
#include "qrapp/BillPreview.h"
#include "qrapp/CalibrationDialog.h"
#include "qrapp/MailMergeDialog.h"
#include "qrapp/ScreenFit.h"
#include "qrbill/BillJson.h"
#include "qrbill/Validation.h"
#include "qrprint/PaymentPart.h"
#include "report/AtomicFile.h"
#include "report/QtTextMeasure.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

constexpr const char* kTitle = "Factures QR";
constexpr const char* kBillFilter = "Factures QR (*.json);;Tous les fichiers (*)";
constexpr qint64 kMaxBillBytes = qint64{1} << 20;  // as the tool reads bills

QString DefaultSettingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/bvrslip/factures-qr.conf";
}

std::string ReadBillFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EBvrError(Fmt("Cannot open file \"%s\". %s")
                        .s(QFileInfo(path).absoluteFilePath().toStdString())
                        .s(file.errorString().toStdString()));
  }
  if (file.size() > kMaxBillBytes) {
    throw EBvrError(Fmt("Cannot open file \"%s\". %s")
                        .s(QFileInfo(path).absoluteFilePath().toStdString())
                        .s("plus de 1 Mio : ce n'est pas une facture"));
  }
  return file.readAll().toStdString();
}

}  // namespace

QrBillWindow::QrBillWindow(const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent),
      settings_(std::make_unique<QSettings>(
          settingsPath.isEmpty() ? DefaultSettingsPath() : settingsPath, QSettings::IniFormat)),
      dialogs_(StandardDialogs()) {
  setObjectName("QrBillWindow");
  form_ = new BillForm;
  auto* scroll = new QScrollArea;
  scroll->setObjectName("formScroll");
  scroll->setWidget(form_);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int formWidth = form_->minimumSizeHint().width() +
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * scroll->frameWidth();
  scroll->setMinimumWidth(formWidth);
  preview_ = new BillPreview;
  auto* splitter = new QSplitter;
  splitter->setObjectName("splitter");
  splitter->addWidget(scroll);
  splitter->addWidget(preview_);
  splitter->setStretchFactor(1, 1);
  splitter->setChildrenCollapsible(false);
  // The form as narrow as its fields read well, the preview the rest.
  splitter->setSizes({formWidth + 40, 2000});
  setCentralWidget(splitter);
  // A field reached by its accelerator or by Tab scrolls into view in a small window.
  connect(qApp, &QApplication::focusChanged, scroll, [scroll, this](QWidget*, QWidget* now) {
    if (now != nullptr && form_->isAncestorOf(now)) {
      scroll->ensureWidgetVisible(now, 20, 40);
    }
  });
  status_ = new QLabel;
  status_->setObjectName("lblStatus");
  statusBar()->addWidget(status_, 1);

  MakeActions();
  MakeMenusAndToolBar();
  connect(form_, &BillForm::Changed, this, [this] {
    Refresh();
    if (!loading_) {
      setWindowModified(true);
    }
  });
  connect(form_, &BillForm::CreditorEdited, this, &QrBillWindow::StoreCreditor);
  connect(form_, &BillForm::LayoutRequested, this, &QrBillWindow::ChooseLayout);
  LoadSettings();
  SetFilePath({});
  resize(FitToScreen({1200, 760}));
}

QrBillWindow::~QrBillWindow() = default;

void QrBillWindow::MakeActions() {
  const auto action = [this](const QString& text, const char* name, QKeySequence keys,
                             const QString& icon, void (QrBillWindow::*slot)()) {
    auto* a = new QAction(QIcon::fromTheme(icon), text, this);
    a->setObjectName(name);
    a->setShortcut(keys);
    connect(a, &QAction::triggered, this,
            [this, slot] { Guarded(this, [&] { (this->*slot)(); }); });
    return a;
  };
  new_ =
      action("&Nouvelle facture", "actNew", QKeySequence::New, "document-new", &QrBillWindow::New);
  open_ = action("&Ouvrir...", "actOpen", QKeySequence::Open, "document-open", &QrBillWindow::Open);
  save_ = new QAction(QIcon::fromTheme("document-save"), "&Enregistrer", this);
  save_->setObjectName("actSave");
  save_->setShortcut(QKeySequence::Save);
  connect(save_, &QAction::triggered, this, [this] { Save(); });
  saveAs_ = new QAction("Enregistrer &sous...", this);
  saveAs_->setObjectName("actSaveAs");
  saveAs_->setShortcut(QKeySequence("Ctrl+Shift+S"));
  connect(saveAs_, &QAction::triggered, this, [this] { SaveAs(); });
  export_ = action("E&xporter PDF, PNG ou SVG...", "actExport", QKeySequence("Ctrl+E"),
                   "document-export", &QrBillWindow::Export);
  print_ = action("&Imprimer...", "actPrint", QKeySequence::Print, "document-print",
                  &QrBillWindow::Print);
  calibrate_ =
      action("&Calibrer l'imprimante...", "actCalibrate", {}, "", &QrBillWindow::Calibrate);
  mailMerge_ = action("&Publipostage...", "actMailMerge", QKeySequence("Ctrl+M"), "",
                      &QrBillWindow::MailMerge);
  quit_ = new QAction(QIcon::fromTheme("application-exit"), "&Quitter", this);
  quit_->setObjectName("actQuit");
  quit_->setShortcut(QKeySequence("Ctrl+Q"));
  connect(quit_, &QAction::triggered, this, &QWidget::close);
}

void QrBillWindow::MakeMenusAndToolBar() {
  QMenu* file = menuBar()->addMenu("&Fichier");
  file->addActions({new_, open_, save_, saveAs_});
  file->addSeparator();
  file->addActions({export_, print_});
  file->addSeparator();
  file->addAction(quit_);
  QMenu* tools = menuBar()->addMenu("&Outils");
  tools->addActions({mailMerge_, calibrate_});
  QToolBar* bar = addToolBar("Actions");
  bar->setObjectName("toolBar");
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  bar->setMovable(false);
  bar->addActions({new_, open_, save_});
  bar->addSeparator();
  bar->addActions({export_, print_, mailMerge_});
}

qr::Bill QrBillWindow::Bill() const {
  return form_->Bill();
}

BillPrinting QrBillWindow::Printing() const {
  return {form_->Page(), form_->Separators()};
}

void QrBillWindow::Refresh() {
  const qr::Bill bill = form_->Bill();
  problems_.clear();
  if (std::optional<qr::Problem> made = form_->ReferenceProblem()) {
    problems_.push_back(*made);
  }
  const qr::Problems rules = qr::ValidateBill(bill);
  problems_.insert(problems_.end(), rules.begin(), rules.end());
  form_->ShowProblems(problems_);

  qr::PaymentPartOptions options;
  options.separators = form_->Separators();
  options.lineAbove = form_->Page() == QrBillPage::A4;
  preview_->SetBill(bill, options, static_cast<int>(problems_.size()));

  const bool ready = problems_.empty();
  const QString why = ready ? QString()
                            : QString("Impression et export impossibles : %1 problème%2 (%3)")
                                  .arg(problems_.size())
                                  .arg(problems_.size() > 1 ? "s" : "")
                                  .arg(QString::fromStdString(problems_.front().Text()));
  for (QAction* a : {export_, print_}) {
    a->setEnabled(ready);
    a->setToolTip(ready ? a->text().remove('&').remove("...") : why);
  }
  status_->setText(ready ? "La facture est prête : imprimer (Ctrl+P) ou exporter (Ctrl+E)." : why);
}

void QrBillWindow::LoadSettings() {
  qr::Bill bill;
  settings_->beginGroup("creditor");
  bill.account = settings_->value("account").toString().toStdString();
  bill.creditor.name = settings_->value("name").toString().toStdString();
  bill.creditor.street = settings_->value("street").toString().toStdString();
  bill.creditor.number = settings_->value("number").toString().toStdString();
  bill.creditor.postcode = settings_->value("postcode").toString().toStdString();
  bill.creditor.town = settings_->value("town").toString().toStdString();
  bill.creditor.country = settings_->value("country", "CH").toString().toStdString();
  bill.currency = "CHF";
  settings_->endGroup();
  loading_ = true;
  form_->SetBill(bill);
  form_->SetPage(settings_->value("printing/page").toString() == "bill" ? QrBillPage::Bill
                                                                        : QrBillPage::A4);
  form_->SetSeparators(settings_->value("printing/separators", true).toBool());
  const QString layout = settings_->value("reference/layout").toString();
  if (!layout.isEmpty()) {
    try {
      form_->SetLayoutPath(layout);
    } catch (const std::exception&) {
      // A layout moved away since: the demonstration's scheme until another is chosen.
    }
  }
  loading_ = false;
  Refresh();
}

void QrBillWindow::StoreCreditor() {
  const qr::Bill bill = form_->Bill();
  settings_->beginGroup("creditor");
  settings_->setValue("account", QString::fromStdString(bill.account));
  settings_->setValue("name", QString::fromStdString(bill.creditor.name));
  settings_->setValue("street", QString::fromStdString(bill.creditor.street));
  settings_->setValue("number", QString::fromStdString(bill.creditor.number));
  settings_->setValue("postcode", QString::fromStdString(bill.creditor.postcode));
  settings_->setValue("town", QString::fromStdString(bill.creditor.town));
  settings_->setValue("country", QString::fromStdString(bill.creditor.country));
  settings_->endGroup();
}

void QrBillWindow::SetFilePath(const QString& path) {
  filePath_ = path;
  const QString name = path.isEmpty() ? "Nouvelle facture" : QFileInfo(path).fileName();
  setWindowTitle(name + "[*] — " + kTitle);
  setWindowModified(false);
}

bool QrBillWindow::MaySetAside() {
  if (!isWindowModified()) {
    return true;
  }
  switch (dialogs_.askSaveChanges(this)) {
    case QMessageBox::Save:
      return Save();
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

bool QrBillWindow::OpenFile(const QString& path) {
  return Guarded(this, [&] {
    const qr::BillReading reading = qr::ReadBillJson(ReadBillFile(path));
    loading_ = true;
    form_->SetBill(reading.bill);
    loading_ = false;
    SetFilePath(path);
    if (!reading.problems.empty()) {
      dialogs_.inform(this, "Lu avec des problèmes, les valeurs en cause laissées de côté :\n" +
                                QString::fromStdString(qr::JoinProblems(reading.problems)));
    }
  });
}

bool QrBillWindow::SaveFile(const QString& path) {
  return Guarded(this, [&] {
    const std::string json = qr::WriteBillJson(form_->Bill());
    WriteFileAtomically(
        path, [&](QIODevice& file) { file.write(json.data(), static_cast<qint64>(json.size())); });
    SetFilePath(path);
    statusBar()->showMessage("Enregistré : " + path, 5000);
  });
}

void QrBillWindow::New() {
  if (!MaySetAside()) {
    return;
  }
  loading_ = true;
  form_->ClearBill();
  loading_ = false;
  SetFilePath({});
}

void QrBillWindow::Open() {
  if (!MaySetAside()) {
    return;
  }
  const QString path = dialogs_.openFile(this, "Ouvrir une facture QR", kBillFilter);
  if (!path.isEmpty()) {
    OpenFile(path);
  }
}

bool QrBillWindow::Save() {
  return filePath_.isEmpty() ? SaveAs() : SaveFile(filePath_);
}

bool QrBillWindow::SaveAs() {
  QString path = dialogs_.saveFile(this, "Enregistrer la facture QR", kBillFilter);
  if (path.isEmpty()) {
    return false;
  }
  if (QFileInfo(path).suffix().isEmpty()) {
    path += ".json";
  }
  return SaveFile(path);
}

void QrBillWindow::Export() {
  if (!problems_.empty()) {
    return;  // the action is disabled; a shortcut pressed in between does nothing
  }
  const QString path =
      dialogs_.saveFile(this, "Exporter la facture QR",
                        "Document PDF (*.pdf);;Image PNG, 300 dpi (*.png);;Image SVG (*.svg)");
  if (path.isEmpty()) {
    return;
  }
  const QString target = QFileInfo(path).suffix().isEmpty() ? path + ".pdf" : path;
  ExportBill(form_->Bill(), Printing(), target);
  statusBar()->showMessage("Exporté : " + target, 5000);
}

void QrBillWindow::Print() {
  if (!problems_.empty()) {
    return;
  }
  QStringList names;
  int current = 0;
  for (const PrintQueue& queue : PrintQueues()) {
    if (queue.isDefault) {
      current = static_cast<int>(names.size());
    }
    names << QString::fromStdString(queue.name);
  }
  if (names.isEmpty()) {
    throw EBvrError("Aucune imprimante : ajoutez-en une dans les réglages du système");
  }
  const QString queue = dialogs_.chooseQueue(this, names, current);
  if (queue.isEmpty()) {
    return;
  }
  const std::string job = PrintBill(form_->Bill(), Printing(), queue.toStdString());
  statusBar()->showMessage(QString("Envoyé à %1 (travail %2).").arg(queue).arg(job.c_str()), 8000);
}

void QrBillWindow::Calibrate() {
  CalibrationDialog dialog(this);
  dialog.exec();
}

void QrBillWindow::MailMerge() {
  MailMergeDialog dialog(form_->Bill(), Printing(), form_->LayoutPath(), dialogs_, this);
  dialog.exec();
}

void QrBillWindow::ChooseLayout() {
  const QString path =
      dialogs_.openFile(this, "Mise en page du numéro de référence", "Mises en page (*.BVR *.bvr)");
  if (path.isEmpty()) {
    return;
  }
  form_->SetLayoutPath(path);
  settings_->setValue("reference/layout", path);
}

void QrBillWindow::closeEvent(QCloseEvent* event) {
  if (!MaySetAside()) {
    event->ignore();
    return;
  }
  settings_->setValue("printing/page", form_->Page() == QrBillPage::Bill ? "bill" : "a4");
  settings_->setValue("printing/separators", form_->Separators());
  event->accept();
}

}  // namespace bvr
