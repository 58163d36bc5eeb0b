// What qr attach and the attaching batch share: the bill drawn as a PDF page of its own
// (210 x 105 mm, by the page writer) and the invoice opened and checked.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "pdf/BillPlace.h"
#include "pdf/InvoicePdf.h"
#include "print/QrBillReport.h"
#include "qrbill/Bill.h"

namespace bvr::cli {

inline constexpr const char* kWhereValues = "--where takes auto, last-page or new-page";

// The page writer for one bill after another; needs the GUI application.
class BillPages {
 public:
  explicit BillPages(bool separators);
  // The bill's page as PDF bytes. A bill that breaks a rule fails with EBillInvalid.
  std::string Pdf(qr::Bill bill);

 private:
  std::unique_ptr<TQrBillReport> report_;
};

// An invoice read, checked and its bill's place chosen; fails (EBvrError) with the reason,
// without the file's name.
struct OpenedInvoice {
  pdf::InvoicePdf pdf;
  pdf::BillPlace place;
};
OpenedInvoice OpenInvoice(std::string_view bytes, pdf::BillWhere where);

// "OUT.pdf" of the invoice it was made from: its file name.
std::string FileNameOf(const std::string& path);

}  // namespace bvr::cli
