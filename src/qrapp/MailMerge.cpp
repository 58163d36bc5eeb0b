#include "qrapp/MailMerge.h"

#include <QFile>
#include <QFileInfo>

#include "batch/QrBatchPdf.h"
#include "batch/QrBillRows.h"
#include "printing/CupsPrinting.h"
#include "qrprint/PaymentPart.h"
#include "report/AtomicFile.h"
#include "report/PrinterOffsets.h"
#include "report/QtTextMeasure.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

constexpr qint64 kMaxCsvBytes = qint64{64} << 20;

std::string ReadCsvFile(const QString& path) {
  QFile file(path);
  const std::string full = QFileInfo(path).absoluteFilePath().toStdString();
  if (!file.open(QIODevice::ReadOnly)) {
    throw EBvrError(Fmt("Cannot open file \"%s\". %s").s(full).s(file.errorString().toStdString()));
  }
  if (file.size() > kMaxCsvBytes) {
    throw EBvrError(Fmt("Cannot open file \"%s\". %s").s(full).s("plus de 64 Mio"));
  }
  return file.readAll().toStdString();
}

void WriteBills(QIODevice& device, const std::vector<qr::Bill>& bills, const BillPrinting& printing,
                QPointF offset, const MergeProgress& progress) {
  QrBatchSettings settings;
  settings.page = printing.page;
  settings.separators = printing.separators;
  settings.sampleHeading = false;  // as the window's single bill
  settings.pageOffset = {static_cast<int>(offset.x()), static_cast<int>(offset.y())};
  std::size_t next = 0;
  const QrBillSource source = [&](qr::Bill& bill) {
    if (next == bills.size()) {
      return false;
    }
    bill = bills[next++];
    return true;
  };
  WriteQrBatchPdf(device, bills.size(), source, settings, [&](std::size_t done, std::size_t total) {
    if (progress && !progress(done, total)) {
      throw EMergeCancelled();
    }
  });
}

}  // namespace

MergeReading ReadMergeRows(const QString& csvPath, std::optional<csv::Encoding> encoding,
                           const qr::Bill& templateBill, const ReferenceLayout& scheme) {
  const std::string text = ReadCsvFile(csvPath);
  MergeReading reading;
  reading.encoding = encoding.value_or(
      csv::IsUtf8(csv::FromText(text)) ? csv::Encoding::Utf8 : csv::Encoding::Windows1252);
  QrBillRowReader reader(csv::FromText(text), reading.encoding, templateBill, scheme);
  for (QrBillRow row; reader.Next(row);) {
    for (const qr::Problem& p : row.problems) {
      reading.problems.push_back({row.row, p.field, p.message});
    }
    reading.bills.push_back(std::move(row.bill));
  }
  if (reading.bills.empty()) {
    throw EBvrError("CSV : aucune facture après la ligne d'en-tête");
  }
  return reading;
}

void WriteMergePdf(const std::vector<qr::Bill>& bills, const BillPrinting& printing,
                   const QString& path, const MergeProgress& progress) {
  WriteFileAtomically(path,
                      [&](QIODevice& file) { WriteBills(file, bills, printing, {}, progress); });
}

std::string PrintMerge(const std::vector<qr::Bill>& bills, const BillPrinting& printing,
                       const std::string& queue, const MergeProgress& progress) {
  const PrinterOffset offset = StoredPrinterOffset(queue);
  const int job =
      PrintPdf({queue, "QR-factures", QrBatchPaperMm(printing.page), 1}, [&](QIODevice& device) {
        WriteBills(device, bills, printing, QPointF(offset.dx, offset.dy), progress);
      });
  return queue + "-" + std::to_string(job);
}

}  // namespace bvr
