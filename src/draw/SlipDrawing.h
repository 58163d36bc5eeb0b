// What the slip control draws: the slip's variable content, and the calibration overlay.
#pragma once

#include <string>
#include <vector>

#include "model/Payment.h"

namespace bvr {

class TBvrProperties;
class TMontant;
class TSlipCanvas;

// The francs and centimes as printed.
struct AmountTexts {
  std::string Francs;
  std::string Centimes;
};

// Printed francs and centimes are the digits the coding line's amount code carries (the
// amount cut to the centime, never rounded up), with a minus sign kept for negative amounts;
// a zero or negative amount that is not shown prints the replacement character.
AmountTexts AmountTextsFor(const TMontant& settings, double amount);

// The texts, reference, account, amount and coding line. Number errors leave it; what was
// drawn before the failing step stays drawn.
void DrawSlip(TSlipCanvas& slip, const TBvrProperties& layout, const PaymentValues& payment);

// The overlay's measuring mark: a 3 cm line with a tick at each end, in the slip's own
// coordinates (tenths of a millimetre from its top-left corner). A ruler on the printed mark
// tells where the printer puts the ink and whether it scales the page.
inline constexpr double kMeasureMarkLeft = 1400;
inline constexpr double kMeasureMarkRight = 1700;
inline constexpr double kMeasureMarkY = 150;
inline constexpr double kMeasureMarkTick = 10;  // each tick reaches this far above and below

// The calibration overlay over a control of that size: shading, guide lines, zone frames,
// a sample coding line and a 3 cm mark. Computes no number.
void DrawSettingOverlay(TSlipCanvas& slip, const TBvrProperties& layout, double width,
                        double height);

}  // namespace bvr
