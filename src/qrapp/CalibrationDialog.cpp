#include "qrapp/CalibrationDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ErrorReporting.h"
#include "printing/CalibrationPage.h"
#include "printing/CupsPrinting.h"
#include "report/PrinterOffsets.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

QString Mm(double mm) {
  return QLocale().toString(mm, 'f', 2) + " mm";
}

QString OffsetText(PrinterOffset offset) {
  return QString("%1,%2").arg(offset.dx).arg(offset.dy);
}

QLineEdit* MeasureEdit(const char* name, double expected) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setPlaceholderText("attendu " + Mm(expected));
  return edit;
}

}  // namespace

std::optional<double> MeasureOf(const QString& text) {
  QString t = text.trimmed();
  t.replace(QLocale().decimalPoint(), ".");
  t.replace(',', '.');
  if (t.endsWith("mm")) {
    t.chop(2);
  }
  return ParseMillimetres(t.trimmed().toStdString());
}

CalibrationDialog::CalibrationDialog(QWidget* parent, QStringList queues)
    : QDialog(parent), nominal_(CalibrationMarkNominal()) {
  setObjectName("CalibrationDialog");
  setWindowTitle("Calibrer l'imprimante");
  queue_ = new QComboBox;
  queue_->setObjectName("cbxQueue");
  if (queues.isEmpty()) {
    Guarded(this, [&] {
      for (const PrintQueue& q : PrintQueues()) {
        queue_->addItem(QString::fromStdString(q.name));
        if (q.isDefault) {
          queue_->setCurrentIndex(queue_->count() - 1);
        }
      }
    });
  } else {
    queue_->addItems(queues);
  }
  stored_ = new QLabel;
  stored_->setObjectName("lblStoredOffset");
  auto* print = new QPushButton("&Imprimer la page de réglage");
  print->setObjectName("btnPrintPage");
  auto* how = new QLabel(
      "Sur la feuille imprimée, mesurez à la règle la marque « largeur : 3 cm » :\n"
      "X : du bord gauche de la feuille au trait gauche de la marque ;\n"
      "Y : du bord haut de la feuille à la ligne de la marque ;\n"
      "L : la longueur de la marque, d'un trait à l'autre.");
  how->setWordWrap(true);
  x_ = MeasureEdit("ediMeasuredX", nominal_.xMm);
  y_ = MeasureEdit("ediMeasuredY", nominal_.yMm);
  length_ = MeasureEdit("ediMeasuredLength", kMarkLengthMm);
  result_ = new QLabel;
  result_->setObjectName("lblResult");
  result_->setWordWrap(true);
  result_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* form = new QFormLayout;
  form->addRow("Im&primante", queue_);
  form->addRow("Décalage enregistré", stored_);
  form->addRow(QString(), print);
  form->addRow(how);
  form->addRow("&X (mm)", x_);
  form->addRow("&Y (mm)", y_);
  form->addRow("&L (mm)", length_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  auto* apply = buttons->addButton("&Enregistrer le décalage", QDialogButtonBox::ApplyRole);
  apply->setObjectName("btnApply");
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(result_);
  layout->addWidget(buttons);

  connect(queue_, &QComboBox::currentIndexChanged, this, &CalibrationDialog::ShowStored);
  connect(print, &QPushButton::clicked, this, [this] { Guarded(this, [this] { PrintPage(); }); });
  connect(apply, &QPushButton::clicked, this, [this] { Guarded(this, [this] { Apply(); }); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  ShowStored();
}

std::string CalibrationDialog::Queue() const {
  if (queue_->currentText().isEmpty()) {
    throw EBvrError("Aucune imprimante : ajoutez-en une dans les réglages du système");
  }
  return queue_->currentText().toStdString();
}

void CalibrationDialog::ShowStored() {
  if (queue_->currentText().isEmpty()) {
    stored_->setText("aucune imprimante");
    return;
  }
  stored_->setText(OffsetText(StoredPrinterOffset(Queue())) +
                   " (dixièmes de mm, vers la droite et vers le bas)");
}

void CalibrationDialog::PrintPage() {
  const std::string queue = Queue();
  const int job = PrintCalibrationPage(queue, StoredPrinterOffset(queue));
  result_->setText(QString("Page de réglage envoyée à %1 (travail %1-%2). Mesurez-la, puis "
                           "saisissez X, Y et L.")
                       .arg(QString::fromStdString(queue))
                       .arg(job));
}

void CalibrationDialog::Apply() {
  const std::string queue = Queue();
  QString text;
  if (!length_->text().trimmed().isEmpty()) {
    const std::optional<double> length = MeasureOf(length_->text());
    if (!length || *length <= 0) {
      throw EBvrError("L : la longueur de la marque en millimètres, par exemple 29,8");
    }
    if (const std::optional<double> percent = ScalingPercent(*length)) {
      text += QString(
                  "Attention : la marque mesure %1 au lieu de %2, l'imprimante met la page "
                  "à l'échelle (%3 %). Choisissez « Taille réelle » ou « Aucune mise à "
                  "l'échelle » dans le pilote, puis imprimez à nouveau la page de réglage.\n")
                  .arg(Mm(*length), Mm(kMarkLengthMm), QLocale().toString(*percent, 'f', 2));
    } else {
      text += "Longueur : " + Mm(*length) + ", l'imprimante ne met pas la page à l'échelle.\n";
    }
  }
  if (!x_->text().trimmed().isEmpty() || !y_->text().trimmed().isEmpty()) {
    const std::optional<double> x = MeasureOf(x_->text());
    const std::optional<double> y = MeasureOf(y_->text());
    if (!x || !y) {
      throw EBvrError("X et Y : deux mesures en millimètres, par exemple 140,5 et 26");
    }
    const PrinterOffset stored = StoredPrinterOffset(queue);
    const PrinterOffset corrected = CalibratedOffset(stored, nominal_, {*x, *y});
    StorePrinterOffset(queue, corrected);
    text += QString("Décalage de %1 : %2 -> %3 (dixièmes de mm), enregistré.")
                .arg(QString::fromStdString(queue), OffsetText(stored), OffsetText(corrected));
    ShowStored();
  }
  result_->setText(text.isEmpty() ? "Saisissez les mesures X et Y, ou L." : text.trimmed());
}

}  // namespace bvr
