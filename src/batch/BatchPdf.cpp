#include "batch/BatchPdf.h"

#include <QIODevice>
#include <QPainter>

#include "batch/PageLoop.h"
#include "draw/SlipFormPicture.h"
#include "model/Zones.h"
#include "print/UReportBVR.h"
#include "report/AtomicFile.h"
#include "report/PageWriter.h"

namespace bvr {

double BatchPageWidthMm(BatchPage page) {
  return page == BatchPage::Invoice ? 210.0 : kSlipWidth / 10.0;
}

double BatchPageHeightMm(BatchPage page) {
  return page == BatchPage::Invoice ? 297.0 : kSlipHeight / 10.0;
}

void WriteBatchPdf(QIODevice& device, TBvrProperties& layout, std::size_t total,
                   const PaymentSource& next, const BatchSettings& settings,
                   const BatchProgress& progress) {
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
    report.SlipBackground = [](ICanvas& canvas, const DeviceRect& slipRect) {
      PaintSlipForm(canvas, slipRect);
    };
  }

  PdfPageWriter writer(device,
                       QSizeF(BatchPageWidthMm(settings.page), BatchPageHeightMm(settings.page)),
                       settings.dpi, QString::fromStdString(report.Caption));
  writer.SetPageOffset(settings.pageOffset.dx, settings.pageOffset.dy);
  Payment payment;
  const auto paint = [&](QPainter& painter) {
    if (!next(payment)) {
      return false;
    }
    slip.SetPayment({payment.payer, payment.amount, payment.invoice});
    if (settings.page == BatchPage::Invoice) {
      report.PaintPage(painter);
    } else {
      report.PaintSlipPage(painter);
    }
    return true;
  };
  WritePages(
      writer, total, paint, [&] { return next(payment); }, progress);
}

void WriteBatchPdf(QIODevice& device, TBvrProperties& layout, const std::vector<Payment>& payments,
                   const BatchSettings& settings, const BatchProgress& progress) {
  std::size_t i = 0;
  const PaymentSource next = [&](Payment& p) {
    if (i == payments.size()) {
      return false;
    }
    p = payments[i++];
    return true;
  };
  WriteBatchPdf(device, layout, payments.size(), next, settings, progress);
}

void WriteBatchPdfFile(const std::string& path, TBvrProperties& layout, std::size_t total,
                       const PaymentSource& next, const BatchSettings& settings,
                       const BatchProgress& progress) {
  WriteFileAtomically(QString::fromStdString(path), [&](QIODevice& file) {
    WriteBatchPdf(file, layout, total, next, settings, progress);
  });
}

void WriteBatchPdfFile(const std::string& path, TBvrProperties& layout,
                       const std::vector<Payment>& payments, const BatchSettings& settings,
                       const BatchProgress& progress) {
  WriteFileAtomically(QString::fromStdString(path), [&](QIODevice& file) {
    WriteBatchPdf(file, layout, payments, settings, progress);
  });
}

}  // namespace bvr
