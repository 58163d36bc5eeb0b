#include "cli/QrAttach.h"

#include <QBuffer>

#include "batch/QrBatchPdf.h"
#include "report/AtomicFile.h"

namespace bvr::cli {

pdf::BillDocument DrawBills(std::vector<qr::Bill> bills, bool separators) {
  QrBatchSettings settings;
  settings.page = QrBillPage::Bill;
  settings.separators = separators;
  settings.lineAboveBillPage = true;  // laid onto an invoice's foot: plain paper above it
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  std::size_t next = 0;
  WriteQrBatchPdf(
      buffer, bills.size(),
      [&](qr::Bill& bill) {
        if (next == bills.size()) {
          return false;
        }
        bill = std::move(bills[next++]);
        return true;
      },
      settings);
  return pdf::BillDocument::FromBytes(std::string_view(bytes.constData(), bytes.size()));
}

OpenedInvoice OpenInvoice(std::string_view bytes, pdf::BillWhere where) {
  pdf::InvoicePdf invoice = pdf::InvoicePdf::FromBytes(bytes);
  pdf::BillPlace place = pdf::ChooseBillPlace(where, invoice, bytes);
  return {std::move(invoice), std::move(place)};
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void WriteBytesAtomically(const std::string& path, const std::string& bytes) {
  WriteFileAtomically(QString::fromStdString(path), [&](QIODevice& device) {
    if (device.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
      throw EWriteStopped("the PDF");
    }
  });
}

}  // namespace bvr::cli
