#include "batch/QrBatchPdf.h"

#include <QIODevice>
#include <QString>

#include "report/AtomicFile.h"
#include "report/PageWriter.h"
#include "strings/BvrError.h"

namespace bvr {

QSizeF QrBatchPaperMm(QrBillPage page) {
  return TQrBillReport(page).PaperMm();
}

void WriteQrBatchPdf(QIODevice& device, std::size_t total, const QrBillSource& next,
                     const QrBatchSettings& settings, const BatchProgress& progress) {
  // One report for the whole batch: only the bill changes from page to page.
  TQrBillReport report(settings.page);
  report.QrBill.Options.separators = settings.separators;
  PdfPageWriter writer(device, report.PaperMm(), settings.dpi, "QR-factures");
  writer.SetPageOffset(settings.pageOffset.dx, settings.pageOffset.dy);
  const auto changed = [] {
    throw EBvrError(std::string("CSV: the file changed while it was printed"));
  };
  for (std::size_t i = 0; i < total; ++i) {
    QPainter& painter = writer.BeginPage();
    if (i > 0 && writer.Refused()) {
      throw EWriteStopped(Fmt("stopped at page %d of %d")
                              .d(static_cast<long long>(i))
                              .d(static_cast<long long>(total)));
    }
    if (!next(report.QrBill.Bill)) {
      changed();
    }
    report.QuickRep.PaintPage(painter);
    if (progress) {
      progress(i + 1, total);
    }
  }
  qr::Bill extra;
  if (next(extra)) {
    changed();
  }
  writer.Finish();
}

void WriteQrBatchPdfFile(const std::string& path, std::size_t total, const QrBillSource& next,
                         const QrBatchSettings& settings, const BatchProgress& progress) {
  WriteFileAtomically(QString::fromStdString(path), [&](QIODevice& file) {
    WriteQrBatchPdf(file, total, next, settings, progress);
  });
}

}  // namespace bvr
