#include "printing/CalibrationPage.h"

#include <QIODevice>
#include <QPointF>
#include <QSizeF>

#include "draw/SlipDrawing.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"
#include "print/UReportBVR.h"
#include "printing/CupsPrinting.h"

namespace bvr {

PaperPoint CalibrationMarkNominal() {
  const TFormReportBVR report;
  const QRectF slip = report.SlipRectOnPage();
  return {(slip.left() + kMeasureMarkLeft) / 10.0, (slip.top() + kMeasureMarkY) / 10.0};
}

int PrintCalibrationPage(const std::string& queue, PrinterOffset offset) {
  TBvrProperties layout;
  layout.Name = "BVRPropertiesParams";
  LoadDemonstrationLayout(layout);
  TFormReportBVR report;
  report.VYKqrBVR.SetSettingMode(true);
  report.VYKqrBVR.SetBvrProperties(&layout);
  report.VYKqrBVR.SetPayment(DemonstrationPayment());
  report.QuickRepSample.DryRun();
  return PrintPdf({queue, "Page de réglage", QSizeF(210.0, 297.0), 1}, [&](QIODevice& device) {
    report.WritePdf(device, QPointF(offset.dx, offset.dy));
  });
}

}  // namespace bvr
