// The QR-bill on a page: a report control that draws the payment part through the canvas,
// and the two pages it goes on, at the foot of an A4 invoice (like the slip invoice, with the
// sample heading in the detail band) or alone on a page of its own size (210 × 105 mm).
#pragma once

#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <string>

#include "qrbill/Bill.h"
#include "qrprint/PaymentPart.h"
#include "report/QtTextMeasure.h"
#include "report/QuickRep.h"

class QIODevice;

namespace bvr {

class TQRQrBill : public TQRPrintable {
 public:
  qr::Bill Bill;
  qr::PaymentPartOptions Options;

  // The bill with its top-left corner at the control's position. An invalid bill fails with
  // EBillInvalid before anything is drawn.
  void Print(double offsetX, double offsetY) override;
  // The bill at the canvas's origin.
  void Paint(ICanvas& canvas) override;

 private:
  // Options with the faces' own advances, so that every device gets the same layout.
  qr::PaymentPartOptions Laid() const;

  QtTextMeasure measure_;
  qr::TextFitter fitter_{measure_, "Arial"};
};

enum class QrBillPage { A4, Bill };

class TQrBillReport {
 public:
  explicit TQrBillReport(QrBillPage page);
  TQrBillReport(const TQrBillReport&) = delete;
  TQrBillReport& operator=(const TQrBillReport&) = delete;

  TQuickRep QuickRep{"QuickRepQrBill"};
  TQRBand QRBandPageHeader{"QRBandPageHeader", TQRBandType::rbPageHeader, 396.875};
  TQRBand QRBandDetail{"QRBandDetail", TQRBandType::rbDetail, 105.833};
  TQRLabel QRLabelSample;
  TQRBand PageFooterBandQrBill{"PageFooterBandQrBill", TQRBandType::rbPageFooter, qr::kBillHeight};
  TQRQrBill QrBill;
  // Off for a bill printed on an office's own invoice paper, where "Exemple de document A4…"
  // would print over the letter.
  bool SampleHeading = true;

  // The sample heading in the bill's language (or none, see SampleHeading); the Render and Write
  // calls do it themselves, a caller painting pages of its own calls it for each bill.
  void MatchBill();

  // The bill's top-left corner on the page, tenths of a millimetre.
  double BillLeft() const;
  double BillTop() const;

  // The page checked first on a canvas that draws nothing, so that a bill's problems leave
  // before anything is opened. The PDF and SVG are written whole or not at all.
  void RenderToPdf(const QString& path);
  // The page as a PDF onto a device (a print job), its content moved by pageOffset (tenths
  // of a millimetre). Errors of the bill leave before anything is written.
  void WritePdf(QIODevice& device, QPointF pageOffset = {});
  // The page's paper, millimetres.
  QSizeF PaperMm() const;
  QImage RenderToImage(int dpi);
  void RenderToSvg(const QString& path);

 private:
  // The page as it stands, with no check first.
  void WritePage(QIODevice& device, QPointF pageOffset);
};

}  // namespace bvr
