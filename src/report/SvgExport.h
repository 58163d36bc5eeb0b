// The report's page as SVG (Qt's SVG generator): vector paths and text, the page's size in
// millimetres.
#pragma once

class QIODevice;

namespace bvr {

class TQuickRep;

// Paints the page onto an SVG generator writing to the device; its user units are dots of
// the resolution (dpi; 1270 makes the page's tenths of a millimetre whole dots, so that the
// size in millimetres is exact). Errors of the controls leave the call.
void ExportToSvg(TQuickRep& report, QIODevice& device, int dpi = 1270);

}  // namespace bvr
