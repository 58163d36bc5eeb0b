// The arithmetic of a calibration with a ruler: the setting-mode page is printed with the
// queue's stored offset, the user measures where its 3 cm mark landed, and the difference to
// where the page puts it corrects the offset.
#pragma once

#include <optional>
#include <string_view>

#include "report/PrinterOffsets.h"

namespace bvr {

// A point on the paper, millimetres from its left and top edges.
struct PaperPoint {
  double xMm = 0;
  double yMm = 0;
};

// A larger correction is a mark measured from the wrong edge or the wrong mark.
inline constexpr double kMaxCorrectionMm = 20.0;
// Nominal length of the measuring mark and the difference that means the printer scales.
inline constexpr double kMarkLengthMm = 30.0;
inline constexpr double kScalingToleranceMm = 0.3;

// The offset that brings the mark from where it was measured to its nominal place, when the
// page was printed with stored: stored + (nominal - measured), in whole tenths of a
// millimetre (halves away from zero). EBvrError when a correction exceeds kMaxCorrectionMm
// or the result lies outside +-kMaxPrinterOffset.
PrinterOffset CalibratedOffset(PrinterOffset stored, PaperPoint nominal, PaperPoint measured);

// The printer's scale in percent when a mark of kMarkLengthMm measured lengthMm, or nullopt
// when the difference is within kScalingToleranceMm.
std::optional<double> ScalingPercent(double lengthMm);

// "X,Y" in millimetres, "." as the decimal separator: "140.5,26".
std::optional<PaperPoint> ParsePaperPoint(std::string_view text);
// One length in millimetres: "29.7".
std::optional<double> ParseMillimetres(std::string_view text);

}  // namespace bvr
