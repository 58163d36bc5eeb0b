#include "print/UReportBVR.h"

#include "model/Zones.h"
#include "report/AtomicFile.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {
// The background hook gets the slip's rectangle (tenths of a mm on the page) in device units.
void PaintBackground(
    const std::function<void(ICanvas& canvas, const DeviceRect& slipRectDevice)>& background,
    const TQRPrinter& printer, const QRectF& slip) {
  if (background) {
    background(printer.Canvas(), {printer.XPos(slip.left()), printer.YPos(slip.top()),
                                  printer.XPos(slip.right()), printer.YPos(slip.bottom())});
  }
}
}  // namespace

TFormReportBVR::TFormReportBVR() {
  QuickRepSample.ReportTitle = Caption;
  QuickRepSample.AddBand(QRBandPageHeader);
  QuickRepSample.AddBand(QRBandDetail);
  QuickRepSample.AddBand(PageFooterBandBVR);

  QRLabelSample.Name = "QRLabelSample";
  QRLabelSample.Caption = "Exemple de document A4 avec BVR";
  QRLabelSample.Font.Name = "Times New Roman";
  QRLabelSample.Font.Size = 14;
  QRLabelSample.Font.Charset = ANSI_CHARSET;
  QRLabelSample.AutoSize = true;
  QRLabelSample.WordWrap = true;
  QRLabelSample.Transparent = false;
  QRLabelSample.Color = clWhite;
  QRLabelSample.Size = {21.17, 21.17, 730.25, 63.5};
  QRBandDetail.Add(QRLabelSample);

  VYKqrBVR.Name = "VYKqrBVR";
  VYKqrBVR.Size = {-100.542, 50.271, 2100.792, 1087.4375};
  VYKqrBVR.SetSettingMode(false);
  PageFooterBandBVR.Add(VYKqrBVR);

  QuickRepSample.BeforePrintBands = [this](const TQRPrinter& printer) {
    PaintBackground(SlipBackground, printer, SlipRectOnPage());
  };
}

QRectF TFormReportBVR::SlipRectOnPage() const {
  return QRectF(VYKqrBVR.SlipOriginX(QuickRepSample.BandLeft()),
                VYKqrBVR.SlipOriginY(QuickRepSample.BandTop(PageFooterBandBVR)), kSlipWidth,
                kSlipHeight);
}

void TFormReportBVR::PaintPage(QPainter& painter) {
  QuickRepSample.PaintPage(painter);
}

QRectF TFormReportBVR::SlipRectOnSlipPage() const {
  return QRectF(VYKqrBVR.SlipOffsetX, VYKqrBVR.SlipOffsetY, kSlipWidth, kSlipHeight);
}

void TFormReportBVR::PaintSlipPage(QPainter& painter) {
  // The band placed so that the control's own position within it cancels out.
  QuickRepSample.PaintControl(painter, VYKqrBVR, -VYKqrBVR.Size.Left, -VYKqrBVR.Size.Top,
                              [this](const TQRPrinter& printer) {
                                PaintBackground(SlipBackground, printer, SlipRectOnSlipPage());
                              });
}

void TFormReportBVR::RenderToPdf(const QString& path) {
  QuickRepSample.DryRun();
  WriteFileAtomically(path, [this](QIODevice& file) { QuickRepSample.ExportToPdf(file); });
}

void TFormReportBVR::WritePdf(QIODevice& device, QPointF pageOffset) {
  QuickRepSample.DryRun();
  QuickRepSample.ExportToPdf(device, 1200, pageOffset);
}

QImage TFormReportBVR::RenderToImage(int dpi) {
  QuickRepSample.DryRun();
  return QuickRepSample.RenderToImage(dpi);
}

}  // namespace bvr
