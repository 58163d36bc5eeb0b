#include "print/QrBillReport.h"

#include "qrprint/PaymentPartTexts.h"
#include "report/AtomicFile.h"
#include "report/CanvasPdfWriter.h"
#include "report/SvgExport.h"

namespace bvr {

void TQRQrBill::Print(double offsetX, double offsetY) {
  TQRPrinter* printer = QRPrinter();
  if (printer == nullptr) {
    return;
  }
  qr::DrawPaymentPart(printer->Canvas(), Bill, offsetX + Size.Left, offsetY + Size.Top, Laid());
}

void TQRQrBill::Paint(ICanvas& canvas) {
  qr::DrawPaymentPart(canvas, Bill, 0, 0, Laid());
}

qr::PaymentPartOptions TQRQrBill::Laid() const {
  qr::PaymentPartOptions options = Options;
  if (options.fitter == nullptr) {
    options.fitter = &fitter_;
  }
  return options;
}

TQrBillReport::TQrBillReport(QrBillPage page) {
  QuickRep.ReportTitle = "QR-facture";
  QrBill.Name = "QrBill";
  QrBill.Size = {0, 0, qr::kBillWidth, qr::kBillHeight};
  if (page == QrBillPage::Bill) {
    QuickRep.PaperWidth = qr::kBillWidth;
    QuickRep.PaperLength = qr::kBillHeight;
    QuickRep.Margins = {0, 0, 0, 0};
    QrBill.Options.lineAbove = false;  // the paper's edge is the cut
  } else {
    QuickRep.AddBand(QRBandPageHeader);
    QuickRep.AddBand(QRBandDetail);
    QRLabelSample.Name = "QRLabelSample";
    QRLabelSample.Font.Name = "Arial";  // the bill's face
    QRLabelSample.Font.Size = 14;
    QRLabelSample.AutoSize = true;
    QRLabelSample.Transparent = false;
    QRLabelSample.Color = clWhite;
    QRLabelSample.Size = {21.17, 21.17, 730.25, 63.5};
    QRBandDetail.Add(QRLabelSample);
    // The band starts at the left margin; the bill spans the paper's whole width.
    QrBill.Size.Left = -QuickRep.Margins.Left;
  }
  QuickRep.AddBand(PageFooterBandQrBill);
  PageFooterBandQrBill.Add(QrBill);
}

double TQrBillReport::BillLeft() const {
  return QuickRep.BandLeft() + QrBill.Size.Left;
}

double TQrBillReport::BillTop() const {
  return QuickRep.BandTop(PageFooterBandQrBill) + QrBill.Size.Top;
}

void TQrBillReport::MatchBill() {
  QRLabelSample.Caption = SampleHeading ? qr::TextsFor(QrBill.Bill.language).sampleHeading : "";
  QRLabelSample.Transparent = !SampleHeading;
}

void TQrBillReport::RenderToPdf(const QString& path) {
  MatchBill();
  QuickRep.DryRun();
  WriteFileAtomically(path, [this](QIODevice& file) { WritePage(file, {}); });
}

void TQrBillReport::WritePdf(QIODevice& device, QPointF pageOffset) {
  MatchBill();
  QuickRep.DryRun();
  WritePage(device, pageOffset);
}

void TQrBillReport::WritePage(QIODevice& device, QPointF pageOffset) {
  CanvasPdfWriter writer(device, PaperMm(), QString::fromStdString(QuickRep.ReportTitle));
  writer.SetPageOffset(pageOffset.x(), pageOffset.y());
  QuickRep.PaintPage(writer.BeginPage());
  writer.Finish();
}

QSizeF TQrBillReport::PaperMm() const {
  return QSizeF(QuickRep.PaperWidth / 10.0, QuickRep.PaperLength / 10.0);
}

QImage TQrBillReport::RenderToImage(int dpi) {
  MatchBill();
  QuickRep.DryRun();
  return QuickRep.RenderToImage(dpi);
}

void TQrBillReport::RenderToSvg(const QString& path) {
  MatchBill();
  QuickRep.DryRun();
  WriteFileAtomically(path, [this](QIODevice& file) { ExportToSvg(QuickRep, file); });
}

}  // namespace bvr
