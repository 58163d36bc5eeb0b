#include "preview/InvoicePreview.h"

#include "preview/QRPreview.h"
#include "print/UReportBVR.h"

namespace bvr {

void PreviewInvoice(TFormReportBVR& invoice, QWidget* parent) {
  PreviewReport(invoice.QuickRepSample, parent);
}

void PrintInvoice(TFormReportBVR& invoice, QPrinter& printer) {
  invoice.QuickRepSample.DryRun();
  PrintReport(invoice.QuickRepSample, printer);
}

}  // namespace bvr
