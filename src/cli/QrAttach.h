// What qr attach and the attaching batch share: bills drawn by the page writer (one a page of
// 210 x 105 mm, many in one PDF so that faces are set up once) and the invoice opened,
// checked and its bill's place chosen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pdf/BillPlace.h"
#include "pdf/InvoicePdf.h"
#include "qrbill/Bill.h"

namespace bvr::cli {

inline constexpr const char* kWhereValues = "--where takes auto, last-page or new-page";

// The bills as pages, in order; needs the GUI application. The bills must be valid and
// their texts fit (EBillInvalid otherwise).
pdf::BillDocument DrawBills(std::vector<qr::Bill> bills, bool separators);

// An invoice read, checked and its bill's place chosen; fails (EBvrError) with the reason,
// without the file's name.
struct OpenedInvoice {
  pdf::InvoicePdf pdf;
  pdf::BillPlace place;
};
OpenedInvoice OpenInvoice(std::string_view bytes, pdf::BillWhere where);

// The file name of a path: its last part.
std::string FileNameOf(const std::string& path);

// The bytes written whole or not at all (WriteFileAtomically).
void WriteBytesAtomically(const std::string& path, const std::string& bytes);

}  // namespace bvr::cli
