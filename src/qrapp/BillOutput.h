// The window's bill on paper: exported to a file (PDF, PNG, SVG, by the file's ending) or
// printed on a queue at full size with the queue's stored offset, through the bill's report
// (the page writer), as `bvrslip qr render` does.
#pragma once

#include <QString>
#include <string>

#include "print/QrBillReport.h"
#include "qrbill/Bill.h"

namespace bvr {

struct BillPrinting {
  QrBillPage page = QrBillPage::A4;
  bool separators = true;
};

// Written whole or not at all. EBvrError for an ending other than .pdf, .png or .svg.
void ExportBill(const qr::Bill& bill, const BillPrinting& printing, const QString& path);

// The job's name ("office-3") on the queue, printed with the queue's stored offset.
std::string PrintBill(const qr::Bill& bill, const BillPrinting& printing, const std::string& queue);

}  // namespace bvr
