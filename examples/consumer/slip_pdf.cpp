// The invoice page of the demonstration layout, with its slip, written as PDF: slip_pdf OUT.pdf
#include <bvrslip/model/DemoLayout.h>
#include <bvrslip/print/UReportBVR.h>
#include <bvrslip/report/QtFont.h>
#include <QGuiApplication>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  bvr::InstallFontSubstitutions();  // "OCR-B" to the installed face
  bvr::TBvrProperties layout;
  bvr::LoadDemonstrationLayout(layout);
  bvr::TFormReportBVR invoice;
  invoice.VYKqrBVR.SetBvrProperties(&layout);
  invoice.VYKqrBVR.SetAmount(1000.0);
  invoice.VYKqrBVR.Reference().InternalNumber = "45687";
  invoice.RenderToPdf(argc > 1 ? argv[1] : "invoice.pdf");
}
