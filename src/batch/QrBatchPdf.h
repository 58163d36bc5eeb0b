// Many QR-bills into one PDF: one page per bill, at the foot of an A4 page or alone on a page
// of the bill's size, each streamed to the output before the next bill is drawn.
#pragma once

#include <QSizeF>
#include <cstddef>
#include <functional>

#include "batch/BatchPdf.h"
#include "print/QrBillReport.h"
#include "qrbill/Bill.h"

class QIODevice;

namespace bvr {

struct QrBatchSettings {
  QrBillPage page = QrBillPage::A4;
  bool separators = true;  // off for perforated paper
  SlipOffset pageOffset;   // shifts the whole page content, for a printer's paper path
  // No effect: the pages are vector, written in points. Kept for the callers that set it.
  int dpi = 1200;
  // The A4 page's sample heading; off where the pages go onto an office's own letters.
  bool sampleHeading = true;
  // The separation line above a bill page, with its scissors: for bill pages laid onto the
  // foot of larger sheets (an invoice's), where the bill's top edge is no paper edge. An A4
  // page always has it, a bill page printed on its own paper does not.
  bool lineAboveBillPage = false;
};

// The paper of the batch's pages, millimetres.
QSizeF QrBatchPaperMm(QrBillPage page);

// Gives the next bill to draw; false when there is none left.
using QrBillSource = std::function<bool(qr::Bill& bill)>;

// Writes total pages to device, taking each page's bill from next just before drawing it.
// The bills should have been checked (rules and fitting texts): a bill that fails leaves here
// with EBillInvalid and the page half written. next must give exactly total bills: fewer,
// or one more, fails (EBvrError) before the file is complete. Stops with EWriteStopped at
// the first page the device refused.
void WriteQrBatchPdf(QIODevice& device, std::size_t total, const QrBillSource& next,
                     const QrBatchSettings& settings, const BatchProgress& progress = {});

}  // namespace bvr
