// The invoice page in the preview window and on a printer. Errors of the slip (numbers,
// amount, no layout) leave these calls before anything is shown or printed.
#pragma once

class QPrinter;
class QWidget;

namespace bvr {

class TFormReportBVR;

void PreviewInvoice(TFormReportBVR& invoice, QWidget* parent);
void PrintInvoice(TFormReportBVR& invoice, QPrinter& printer);

}  // namespace bvr
