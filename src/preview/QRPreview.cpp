#include "preview/QRPreview.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintEngine>
#include <QPrintPreviewWidget>
#include <QStringList>
#include <exception>

#include "report/PrinterOffsets.h"
#include "report/QuickRep.h"
#include "strings/BvrError.h"

namespace bvr {

TQRPreview::TQRPreview(TQuickRep& report, QWidget* parent)
    : report_(report), printer_(QPrinter::HighResolution) {
  printer_.setFullPage(true);
  printer_.setPageSize(QPageSize(QSizeF(report.PaperWidth / 10.0, report.PaperLength / 10.0),
                                 QPageSize::Millimeter));
  printer_.setPageOrientation(QPageLayout::Portrait);
  printer_.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  printer_.setDocName(QString::fromStdString(report.ReportTitle));

  dialog_ = std::make_unique<QPrintPreviewDialog>(&printer_, parent);
  dialog_->setWindowState(Qt::WindowNoState);
  dialog_->resize(800, 600);
  QObject::connect(dialog_.get(), &QPrintPreviewDialog::paintRequested, dialog_.get(),
                   [this](QPrinter* printer) {
                     try {
                       PrintReport(report_, *printer);
                     } catch (const std::exception& e) {
                       error_ = e.what();
                     }
                   });
  if (auto* view = dialog_->findChild<QPrintPreviewWidget*>()) {
    view->setZoomMode(QPrintPreviewWidget::FitInView);
  }
}

TQRPreview::~TQRPreview() = default;

void TQRPreview::Exec() {
  dialog_->exec();
  if (!error_.empty()) {
    throw EBvrError(error_);
  }
}

namespace {

// Qt's CUPS print engine sends the job options kept under this key, name and value in turn
// (its own print dialog fills them so). Without these, a queue that fits pages to its
// printable area by default shrinks the slip off its form (to 91 % on a Letter queue).
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

void ForbidFitting(QPrinter& printer) {
  QPrintEngine* engine = printer.printEngine();
  if (engine == nullptr) {
    return;
  }
  QStringList options = engine->property(kCupsOptions).toStringList();
  const auto set = [&options](const QString& name, const QString& value) {
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
      if (options[i] == name) {
        options[i + 1] = value;
        return;
      }
    }
    options << name << value;
  };
  set(QStringLiteral("print-scaling"), QStringLiteral("none"));
  set(QStringLiteral("fit-to-page"), QStringLiteral("false"));
  set(QStringLiteral("scaling"), QStringLiteral("100"));
  engine->setProperty(kCupsOptions, options);
}

}  // namespace

void PrintReport(TQuickRep& report, QPrinter& printer) {
  // The slip sits on the sheet's bottom edge: another paper size (chosen in a print dialog)
  // would move it off the page, so the report's own paper is always asked for.
  printer.setPageSize(QPageSize(QSizeF(report.PaperWidth / 10.0, report.PaperLength / 10.0),
                                QPageSize::Millimeter));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setFullPage(true);
  if (printer.outputFormat() == QPrinter::NativeFormat) {
    ForbidFitting(printer);
  }
  // On a print queue, its stored offset moves the whole page, as in the tool's jobs; the
  // preview shows it so too. Read before the painter starts a job: an offsets file that cannot
  // be used stops the print.
  PrinterOffset offset;
  if (printer.outputFormat() == QPrinter::NativeFormat) {
    offset = StoredPrinterOffset(printer.printerName().toStdString());
  }
  QPainter painter(&printer);
  painter.translate(QPointF(offset.dx, offset.dy) * (printer.resolution() / 254.0));
  report.PaintPage(painter);
}

void PreviewReport(TQuickRep& report, QWidget* parent) {
  report.DryRun();
  TQRPreview preview(report, parent);
  preview.Exec();
}

}  // namespace bvr
