// The slip's coordinates on the report's canvas: slip lengths (tenths of a millimetre from the
// slip's top-left corner) to device units, zone lines and frames, and the coding line.
#pragma once

#include <cstdint>
#include <string>

#include "draw/Canvas.h"
#include "model/Font.h"

namespace bvr {

class TBaseZone;
class TQRPrinter;

// A zone's rectangle, or a cell of one (the amount's digits).
// Tenths of a millimetre. Kept in double so that sums of values read from a hand-edited file
// (Left + Width, Top + i * line height) cannot overflow.
struct ZoneBox {
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double height = 0;
};

ZoneBox BoxOf(const TBaseZone& zone);

// Bank readers expect the coding line at ten characters per inch.
inline constexpr double kCodingLinePitch = 25.4;  // tenths of a millimetre per character

class TSlipCanvas {
 public:
  // originX, originY: where the slip's top-left corner lies on the page, tenths of a mm.
  TSlipCanvas(const TQRPrinter& printer, double originX, double originY);

  ICanvas& Canvas() const { return canvas_; }

  double ToDeviceX(double x) const;
  double ToDeviceY(double y) const;
  std::int32_t ToModelWidth(double deviceWidth) const;
  // 4 x the canvas font's whole points + 5: 45 for 10 points.
  double LineHeight() const;
  double LineTop(double top, int i) const;
  // Line i of the zone, cut at the zone's bottom edge.
  DeviceRect LineRect(const ZoneBox& zone, int i) const;
  void DrawZoneLine(const ZoneBox& zone, int i, const std::string& text);
  void DrawZoneFrame(const ZoneBox& zone);
  void ApplyZoneFont(const TFont& font);
  void Line(double x1, double y1, double x2, double y2);

  // Draws an OCR-B line with its right end at xEnd and the middle of its height at yMiddle
  // (slip lengths), each character in its own 2.54 mm cell whatever the face's advance: the
  // font is scaled until a digit advances exactly one cell on this device.
  void DrawCodingLine(const std::string& line, double xEnd, double yMiddle);

 private:
  const TQRPrinter& printer_;
  ICanvas& canvas_;
  double originX_;
  double originY_;
};

}  // namespace bvr
