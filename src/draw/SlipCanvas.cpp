#include "draw/SlipCanvas.h"

#include <algorithm>

#include "draw/QRPrinter.h"
#include "model/Zones.h"
#include "numbers/Conversions.h"

namespace bvr {

ZoneBox BoxOf(const TBaseZone& zone) {
  return {static_cast<double>(zone.Left()), static_cast<double>(zone.Top()),
          static_cast<double>(zone.Width()), static_cast<double>(zone.height())};
}

TSlipCanvas::TSlipCanvas(const TQRPrinter& printer, double originX, double originY)
    : printer_(printer), canvas_(printer.Canvas()), originX_(originX), originY_(originY) {}

double TSlipCanvas::ToDeviceX(double x) const {
  return printer_.XPos(x + originX_);
}

double TSlipCanvas::ToDeviceY(double y) const {
  return printer_.YPos(y + originY_);
}

std::int32_t TSlipCanvas::ToModelWidth(double deviceWidth) const {
  return RoundHalfEven(deviceWidth * 254.0 / canvas_.PixelsPerInch());
}

double TSlipCanvas::LineHeight() const {
  return 4.0 * canvas_.Font().WholePoints() + 5;
}

double TSlipCanvas::LineTop(double top, int i) const {
  return ToDeviceY(top + i * LineHeight());
}

DeviceRect TSlipCanvas::LineRect(const ZoneBox& zone, int i) const {
  const double lineHeight = LineHeight();
  const double bottomEdge = ToDeviceY(zone.Top + zone.height);
  DeviceRect r;
  r.Left = ToDeviceX(zone.Left);
  r.Right = ToDeviceX(zone.Left + zone.Width);
  r.Top = std::min(ToDeviceY(zone.Top + i * lineHeight), bottomEdge);
  r.Bottom = std::min(ToDeviceY(zone.Top + (i + 1) * lineHeight - 2), bottomEdge);
  return r;
}

void TSlipCanvas::DrawZoneLine(const ZoneBox& zone, int i, const std::string& text) {
  canvas_.TextRect(LineRect(zone, i), ToDeviceX(zone.Left), LineTop(zone.Top, i), text);
}

void TSlipCanvas::DrawZoneFrame(const ZoneBox& zone) {
  canvas_.Rectangle(ToDeviceX(zone.Left), ToDeviceY(zone.Top), ToDeviceX(zone.Left + zone.Width),
                    ToDeviceY(zone.Top + zone.height));
}

void TSlipCanvas::ApplyZoneFont(const TFont& font) {
  canvas_.SetFont(ToCanvasFont(font));
}

void TSlipCanvas::Line(double x1, double y1, double x2, double y2) {
  canvas_.MoveTo(ToDeviceX(x1), ToDeviceY(y1));
  canvas_.LineTo(ToDeviceX(x2), ToDeviceY(y2));
}

void TSlipCanvas::DrawCodingLine(const std::string& line, double xEnd, double yMiddle) {
  // Colour and character set stay as the last zone font left them.
  CanvasFont font = canvas_.Font();
  font.Name = "OCR-B";
  font.Size = 12.0;
  font.Style = fsBold;
  canvas_.SetFont(font);
  const double pitch = printer_.XSize(kCodingLinePitch);
  // Advances do not scale exactly linearly on a hinted device: refine twice.
  for (int pass = 0; pass < 3; ++pass) {
    const double advance = canvas_.TextWidth("0");
    if (advance <= 0) {
      break;
    }
    font.Size *= pitch / advance;
    canvas_.SetFont(font);
  }
  const double right = ToDeviceX(xEnd);
  const double top = ToDeviceY(yMiddle) - canvas_.TextHeight("0") / 2.0;
  canvas_.TextCells(right, top, pitch, line);
}

}  // namespace bvr
