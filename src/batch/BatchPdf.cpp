#include "batch/BatchPdf.h"

#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "designer/SlipFormPicture.h"
#include "model/Zones.h"
#include "print/UReportBVR.h"
#include "report/QtFont.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

[[noreturn]] void CannotCreate(const std::string& path, const QString& why) {
  throw EBvrError(Fmt("Cannot create file \"%s\". %s").s(path).s(why.toStdString()));
}

}  // namespace

double BatchPageWidthMm(BatchPage page) {
  return page == BatchPage::Invoice ? 210.0 : kSlipWidth / 10.0;
}

double BatchPageHeightMm(BatchPage page) {
  return page == BatchPage::Invoice ? 297.0 : kSlipHeight / 10.0;
}

void WriteBatchPdf(QIODevice& device, TBvrProperties& layout, const std::vector<Payment>& payments,
                   const BatchSettings& settings, const BatchProgress& progress) {
  // Without it "OCR-B" silently falls back to a face no bank reader reads.
  InstallFontSubstitutions();
  // One report for the whole batch: fonts, metrics and the layout link are set up once and
  // only the payment changes from page to page.
  TFormReportBVR report;
  TVYKqrBVR& slip = report.VYKqrBVR;
  slip.SetBvrProperties(&layout);
  slip.SetSettingMode(settings.settingMode);
  slip.SlipOffsetX = settings.offset.dx;
  slip.SlipOffsetY = settings.offset.dy;
  if (settings.withForm) {
    // Vector drawing at the writer's resolution, never a scaled bitmap.
    report.SlipBackground = [](QPainter& painter, const QRectF& slipRect) {
      PaintSlipForm(painter, slipRect);
    };
  }

  QPdfWriter writer(&device);
  writer.setResolution(settings.dpi);
  // Exact: a fuzzy match would round the slip's odd size to some standard paper.
  writer.setPageSize(
      QPageSize(QSizeF(BatchPageWidthMm(settings.page), BatchPageHeightMm(settings.page)),
                QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setTitle(QString::fromStdString(report.Caption));
  writer.setCreator(QStringLiteral("bvrslip"));

  QPainter painter(&writer);
  const std::size_t total = payments.size();
  for (std::size_t i = 0; i < total; ++i) {
    const Payment& payment = payments[i];
    if (i > 0) {
      writer.newPage();
    }
    slip.SetAmount(payment.amount);
    slip.Reference().InternalNumber = payment.invoice;
    slip.SetPayedBy(payment.payer);
    if (settings.page == BatchPage::Invoice) {
      report.PaintPage(painter);
    } else {
      report.PaintSlipPage(painter);
    }
    if (progress) {
      progress(i + 1, total);
    }
  }
  painter.end();
}

void WriteBatchPdfFile(const std::string& path, TBvrProperties& layout,
                       const std::vector<Payment>& payments, const BatchSettings& settings,
                       const BatchProgress& progress) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) {
    CannotCreate(path, file.errorString());
  }
  // An exception leaves with the file uncommitted: QSaveFile drops its temporary file.
  WriteBatchPdf(file, layout, payments, settings, progress);
  // commit() would replace the target even after a failed write (disk full): look first.
  if (!file.flush() || file.error() != QFileDevice::NoError) {
    const QString why = file.errorString();
    file.cancelWriting();
    CannotCreate(path, why);
  }
  if (!file.commit()) {
    CannotCreate(path, file.errorString());
  }
}

}  // namespace bvr
