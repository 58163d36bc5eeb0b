#include "preview/QRPreview.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <exception>

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

void PrintReport(TQuickRep& report, QPrinter& printer) {
  // The slip sits on the sheet's bottom edge: another paper size (chosen in a print dialog)
  // would move it off the page, so the report's own paper is always asked for.
  printer.setPageSize(QPageSize(QSizeF(report.PaperWidth / 10.0, report.PaperLength / 10.0),
                                QPageSize::Millimeter));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setFullPage(true);
  QPainter painter(&printer);
  report.PaintPage(painter);
}

void PreviewReport(TQuickRep& report, QWidget* parent) {
  report.DryRun();
  TQRPreview preview(report, parent);
  preview.Exec();
}

}  // namespace bvr
