#include "batch/BatchPdf.h"

#include <QIODevice>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "model/Zones.h"
#include "print/SlipFormPicture.h"
#include "print/UReportBVR.h"
#include "report/AtomicFile.h"
#include "report/ExactMediaBox.h"
#include "report/QtFont.h"
#include "strings/BvrError.h"

namespace bvr {

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

  const QSizeF paperMm(BatchPageWidthMm(settings.page), BatchPageHeightMm(settings.page));
  const QPageLayout pageLayout = ExactPageLayout(paperMm);
  ExactMediaBox exactDevice(device, pageLayout, paperMm);
  QPdfWriter writer(&exactDevice);
  writer.setResolution(settings.dpi);
  writer.setPageLayout(pageLayout);
  writer.setTitle(QString::fromStdString(report.Caption));
  writer.setCreator(QStringLiteral("bvrslip"));

  QPainter painter(&writer);
  const std::size_t total = payments.size();
  for (std::size_t i = 0; i < total; ++i) {
    const Payment& payment = payments[i];
    if (i > 0) {
      writer.newPage();  // the page before goes out to the device here
      if (exactDevice.Refused()) {
        throw EWriteStopped(Fmt("stopped at page %d of %d")
                                .d(static_cast<long long>(i))
                                .d(static_cast<long long>(total)));
      }
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
  if (!exactDevice.Finish()) {
    throw EBvrError(std::string("Cannot write the PDF: the output refused data"));
  }
}

void WriteBatchPdfFile(const std::string& path, TBvrProperties& layout,
                       const std::vector<Payment>& payments, const BatchSettings& settings,
                       const BatchProgress& progress) {
  WriteFileAtomically(QString::fromStdString(path), [&](QIODevice& file) {
    WriteBatchPdf(file, layout, payments, settings, progress);
  });
}

}  // namespace bvr
