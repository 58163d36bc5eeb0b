#include "qrapp/MailMergeDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/ErrorReporting.h"
#include "printing/CupsPrinting.h"
#include "qrapp/BillPreview.h"
#include "qrapp/ReferenceMaking.h"
#include "qrapp/ScreenFit.h"

namespace bvr {

namespace {

// The rows give the debtors: a row's name beside the window's street would be a wrong
// address, and a row without debtor columns gives the blank box.
qr::Bill WithoutDebtor(qr::Bill bill) {
  bill.debtor.reset();
  return bill;
}

QPushButton* Button(const QString& text, const char* name) {
  auto* button = new QPushButton(text);
  button->setObjectName(name);
  return button;
}

}  // namespace

MailMergeDialog::MailMergeDialog(qr::Bill templateBill, BillPrinting printing,
                                 const QString& layoutPath, WindowDialogs dialogs, QWidget* parent)
    : QDialog(parent),
      template_(WithoutDebtor(std::move(templateBill))),
      printing_(printing),
      layoutPath_(layoutPath),
      dialogs_(std::move(dialogs)) {
  setObjectName("MailMergeDialog");
  setWindowTitle("Publipostage");
  csv_ = new QLineEdit;
  csv_->setObjectName("ediCsv");
  csv_->setReadOnly(true);
  auto* chooseCsv = Button("&Choisir le fichier CSV...", "btnCsv");
  encoding_ = new QComboBox;
  encoding_->setObjectName("cbxEncoding");
  encoding_->addItems({"automatique (UTF-8, sinon Windows-1252)", "UTF-8", "Windows-1252"});
  count_ = new QLabel(
      "Choisissez un fichier CSV : une ligne par facture, les colonnes amount, "
      "reference ou invoice, message, billing, debtor.name, debtor.street, "
      "debtor.number, debtor.postcode, debtor.town, debtor.country.");
  count_->setObjectName("lblCount");
  count_->setWordWrap(true);
  problems_ = new QTableWidget(0, 3);
  problems_->setObjectName("tblProblems");
  problems_->setHorizontalHeaderLabels({"Ligne", "Champ", "Problème"});
  problems_->horizontalHeader()->setStretchLastSection(true);
  problems_->verticalHeader()->hide();
  problems_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  row_ = new QSpinBox;
  row_->setObjectName("spnRow");
  row_->setEnabled(false);
  preview_ = new BillPreview;
  preview_->setMinimumSize(360, 200);
  writePdf_ = Button("Écrire le &PDF...", "btnWritePdf");
  print_ = Button("&Imprimer...", "btnPrint");

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(csv_, 1);
  fileRow->addWidget(chooseCsv);
  auto* form = new QFormLayout;
  form->addRow("Fichier", fileRow);
  auto* encodingLabel = new QLabel("&Encodage");
  encodingLabel->setBuddy(encoding_);
  form->addRow(encodingLabel, encoding_);
  auto* rowLabel = new QLabel("&Ligne affichée");
  rowLabel->setBuddy(row_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->addButton(writePdf_, QDialogButtonBox::ActionRole);
  buttons->addButton(print_, QDialogButtonBox::ActionRole);
  auto* rowLine = new QHBoxLayout;
  rowLine->addWidget(rowLabel);
  rowLine->addWidget(row_);
  rowLine->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(count_);
  layout->addWidget(problems_, 1);
  layout->addLayout(rowLine);
  layout->addWidget(preview_, 2);
  layout->addWidget(buttons);

  connect(chooseCsv, &QPushButton::clicked, this, &MailMergeDialog::ChooseCsv);
  connect(encoding_, &QComboBox::currentIndexChanged, this, [this] {
    if (!csvPath_.isEmpty()) {
      LoadCsv(csvPath_);
    }
  });
  connect(row_, &QSpinBox::valueChanged, this, &MailMergeDialog::ShowRow);
  connect(writePdf_, &QPushButton::clicked, this, &MailMergeDialog::ChoosePdf);
  connect(print_, &QPushButton::clicked, this, &MailMergeDialog::Print);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  writePdf_->setEnabled(false);
  print_->setEnabled(false);
  resize(FitToScreen({900, 760}));
}

bool MailMergeDialog::LoadCsv(const QString& path) {
  reading_ = {};
  problems_->setRowCount(0);
  csvPath_ = path;
  csv_->setText(path);
  const bool read = Guarded(this, [&] {
    std::optional<csv::Encoding> encoding;
    if (encoding_->currentIndex() > 0) {
      encoding = encoding_->currentIndex() == 1 ? csv::Encoding::Utf8 : csv::Encoding::Windows1252;
    }
    reading_ = ReadMergeRows(path, encoding, template_, LayoutScheme(layoutPath_));
  });
  for (const RowProblem& p : reading_.problems) {
    const int at = problems_->rowCount();
    problems_->insertRow(at);
    problems_->setItem(at, 0, new QTableWidgetItem(QString::number(p.row)));
    problems_->setItem(at, 1, new QTableWidgetItem(QString::fromStdString(p.field)));
    problems_->setItem(at, 2, new QTableWidgetItem(QString::fromStdString(p.message)));
  }
  problems_->resizeColumnsToContents();
  const auto bills = static_cast<int>(reading_.bills.size());
  const auto problems = static_cast<int>(reading_.problems.size());
  count_->setText(
      !read ? "Le fichier n'a pas pu être lu."
            : QString("%1 ligne%2 lue%2 (%3), %4")
                  .arg(bills)
                  .arg(bills > 1 ? "s" : "")
                  .arg(reading_.encoding == csv::Encoding::Utf8 ? "UTF-8" : "Windows-1252")
                  .arg(problems == 0 ? QString("aucun problème : prêt à écrire.")
                                     : QString("%1 problème%2 : rien ne sera écrit avant "
                                               "qu'ils soient corrigés dans le fichier.")
                                           .arg(problems)
                                           .arg(problems > 1 ? "s" : "")));
  const bool ready = read && problems == 0 && bills > 0;
  writePdf_->setEnabled(ready);
  print_->setEnabled(ready);
  row_->setEnabled(bills > 0);
  row_->setRange(bills > 0 ? 1 : 0, bills);
  row_->setSuffix(QString(" sur %1").arg(bills));
  ShowRow(row_->value());
  return read;
}

void MailMergeDialog::ShowRow(int row) {
  if (row < 1 || row > static_cast<int>(reading_.bills.size())) {
    preview_->SetBill({}, {}, 1);
    return;
  }
  int problems = 0;
  for (const RowProblem& p : reading_.problems) {
    problems += p.row == static_cast<std::size_t>(row) ? 1 : 0;
  }
  qr::PaymentPartOptions options;
  options.separators = printing_.separators;
  options.lineAbove = printing_.page == QrBillPage::A4;
  preview_->SetBill(reading_.bills[static_cast<std::size_t>(row) - 1], options, problems);
}

void MailMergeDialog::ChooseCsv() {
  const QString path = dialogs_.openFile(this, "Fichier CSV du publipostage",
                                         "Fichiers CSV (*.csv *.txt);;Tous les fichiers (*)");
  if (!path.isEmpty()) {
    LoadCsv(path);
  }
}

bool MailMergeDialog::Run(const std::function<void(const MergeProgress&)>& work) {
  QProgressDialog progress("Écriture des factures...", "&Annuler", 0,
                           static_cast<int>(reading_.bills.size()), this);
  progress.setObjectName("progress");
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(300);
  bool done = false;
  Guarded(this, [&] {
    try {
      work([&progress](std::size_t pages, std::size_t) {
        progress.setValue(static_cast<int>(pages));
        return !progress.wasCanceled();
      });
      done = true;
    } catch (const EMergeCancelled&) {
      count_->setText("Annulé : rien n'a été écrit.");
    }
  });
  return done;
}

bool MailMergeDialog::WritePdf(const QString& path) {
  if (reading_.bills.empty() || !reading_.problems.empty()) {
    return false;  // nothing is written while a row has a problem
  }
  const bool done = Run([&](const MergeProgress& progress) {
    WriteMergePdf(reading_.bills, printing_, path, progress);
  });
  if (done) {
    count_->setText(QString("%1 factures écrites dans %2.").arg(reading_.bills.size()).arg(path));
  }
  return done;
}

void MailMergeDialog::ChoosePdf() {
  QString path = dialogs_.saveFile(this, "Écrire les factures", "Document PDF (*.pdf)");
  if (path.isEmpty()) {
    return;
  }
  if (QFileInfo(path).suffix().isEmpty()) {
    path += ".pdf";
  }
  WritePdf(path);
}

void MailMergeDialog::Print() {
  if (reading_.bills.empty() || !reading_.problems.empty()) {
    return;
  }
  QStringList names;
  int current = 0;
  if (!Guarded(this, [&] {
        for (const PrintQueue& queue : PrintQueues()) {
          current = queue.isDefault ? static_cast<int>(names.size()) : current;
          names << QString::fromStdString(queue.name);
        }
      })) {
    return;
  }
  const QString queue = dialogs_.chooseQueue(this, names, current);
  if (queue.isEmpty()) {
    return;
  }
  std::string job;
  if (Run([&](const MergeProgress& progress) {
        job = PrintMerge(reading_.bills, printing_, queue.toStdString(), progress);
      })) {
    count_->setText(QString("%1 factures envoyées à %2 (travail %3).")
                        .arg(reading_.bills.size())
                        .arg(queue, QString::fromStdString(job)));
  }
}

}  // namespace bvr
