// The invoice page: an A4 report whose page footer carries the printed slip, so that the slip
// lands on the bottom of the sheet.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <string>

#include "print/VYKBVRQr.h"
#include "report/QuickRep.h"

class QIODevice;
class QPainter;

namespace bvr {

class TFormReportBVR {
 public:
  TFormReportBVR();
  TFormReportBVR(const TFormReportBVR&) = delete;
  TFormReportBVR& operator=(const TFormReportBVR&) = delete;

  std::string Name = "FormReportBVR";
  std::string Caption = "Facture avec BVR";

  TQuickRep QuickRepSample{"QuickRepSample"};
  TQRBand QRBandPageHeader{"QRBandPageHeader", TQRBandType::rbPageHeader, 396.875};
  TQRBand QRBandDetail{"QRBandDetail", TQRBandType::rbDetail, 105.833};
  TQRLabel QRLabelSample;
  TQRBand PageFooterBandBVR{"PageFooterBandBVR", TQRBandType::rbPageFooter, 1108.604};
  TVYKqrBVR VYKqrBVR;

  // Painted before the page's content, with the slip's rectangle in device units: a picture
  // of the empty form, for instance. Null by default.
  std::function<void(ICanvas& canvas, const DeviceRect& slipRectDevice)> SlipBackground;

  // Where the slip lies on the page, tenths of a millimetre (2100 x 1058).
  QRectF SlipRectOnPage() const;

  // Outputs of the one page renderer (the preview window and the printer are in
  // preview/InvoicePreview.h). Errors of the slip (numbers, amount, no layout) leave them
  // before anything is written.
  void PaintPage(QPainter& painter);
  // The slip alone, for a page the size of the slip form: the slip's top-left corner at the
  // page's, shifted by the slip offset. SlipBackground paints first, as on the invoice page.
  void PaintSlipPage(QPainter& painter);
  QRectF SlipRectOnSlipPage() const;
  // Written whole or not at all: a failure leaves no file behind and an older one untouched.
  void RenderToPdf(const QString& path);
  // The same PDF onto a device (a print job), the whole page content moved by pageOffset
  // (tenths of a millimetre, right and down).
  void WritePdf(QIODevice& device, QPointF pageOffset = {});
  QImage RenderToImage(int dpi);
};

}  // namespace bvr
