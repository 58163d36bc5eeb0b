#include "qrapp/BillOutput.h"

#include "printing/CupsPrinting.h"
#include "report/PngFile.h"
#include "report/PrinterOffsets.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

void Prepare(TQrBillReport& report, const qr::Bill& bill, const BillPrinting& printing) {
  report.QrBill.Bill = bill;
  report.QrBill.Options.separators = printing.separators;
  // The A4 page's sample heading says where an invoice would go; on an office's own invoice
  // paper it would print over the letter.
  report.SampleHeading = false;
}

}  // namespace

void ExportBill(const qr::Bill& bill, const BillPrinting& printing, const QString& path) {
  TQrBillReport report(printing.page);
  Prepare(report, bill, printing);
  const QString suffix = path.section('.', -1).toLower();
  if (suffix == "pdf") {
    report.RenderToPdf(path);
  } else if (suffix == "svg") {
    report.RenderToSvg(path);
  } else if (suffix == "png") {
    // Black on white: grey levels lose nothing, as the tool writes them.
    WritePngFile(report.RenderToImage(300).convertToFormat(QImage::Format_Grayscale8),
                 path.toStdString());
  } else {
    throw EBvrError("Le fichier doit finir par .pdf, .png ou .svg : " + path.toStdString());
  }
}

std::string PrintBill(const qr::Bill& bill, const BillPrinting& printing,
                      const std::string& queue) {
  TQrBillReport report(printing.page);
  Prepare(report, bill, printing);
  const PrinterOffset offset = StoredPrinterOffset(queue);
  const int job = PrintPdf({queue, "QR-facture", report.PaperMm(), 1}, [&](QIODevice& device) {
    report.WritePdf(device, QPointF(offset.dx, offset.dy));
  });
  return queue + "-" + std::to_string(job);
}

}  // namespace bvr
