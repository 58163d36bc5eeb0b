#include "cli/QrAttach.h"

#include <QBuffer>

namespace bvr::cli {

BillPages::BillPages(bool separators) : report_(std::make_unique<TQrBillReport>(QrBillPage::Bill)) {
  report_->QrBill.Options.separators = separators;
}

std::string BillPages::Pdf(qr::Bill bill) {
  report_->QrBill.Bill = std::move(bill);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  report_->WritePdf(buffer);
  return bytes.toStdString();
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

}  // namespace bvr::cli
