#include "printing/Calibration.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "strings/BvrError.h"

namespace bvr {

namespace {

int CorrectionTenths(double nominalMm, double measuredMm, const char* axis) {
  const double correction = nominalMm - measuredMm;
  if (!std::isfinite(correction) || std::fabs(correction) > kMaxCorrectionMm) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "%s : %.2f mm mesuré pour %.2f mm attendus, écart de plus de %.0f mm : "
                  "mesurez depuis le bord de la feuille jusqu'à la marque de 3 cm",
                  axis, measuredMm, nominalMm, kMaxCorrectionMm);
    throw EBvrError(std::string(text));
  }
  // Millimetres read off a ruler carry at most two decimals: rounding them first keeps
  // 0.15 mm from becoming 1.4999... tenths.
  const double hundredths = std::round(correction * 100.0);
  return static_cast<int>(std::lround(hundredths / 10.0));
}

}  // namespace

PrinterOffset CalibratedOffset(PrinterOffset stored, PaperPoint nominal, PaperPoint measured) {
  const long long dx =
      static_cast<long long>(stored.dx) + CorrectionTenths(nominal.xMm, measured.xMm, "x");
  const long long dy =
      static_cast<long long>(stored.dy) + CorrectionTenths(nominal.yMm, measured.yMm, "y");
  if (!InPrinterOffsetRange(dx, dy)) {
    throw EBvrError(Fmt("Le décalage corrigé %s,%s sort des limites de -%d à %d dixièmes de mm : "
                        "vérifiez le décalage enregistré (%s,%s) et les mesures")
                        .s(std::to_string(dx))
                        .s(std::to_string(dy))
                        .d(kMaxPrinterOffset)
                        .d(kMaxPrinterOffset)
                        .s(std::to_string(stored.dx))
                        .s(std::to_string(stored.dy)));
  }
  return {static_cast<int>(dx), static_cast<int>(dy)};
}

std::optional<double> ScalingPercent(double lengthMm) {
  // A length read as 30.3 is within the tolerance, whatever 30.3 - 30 comes to in binary.
  if (!(std::fabs(lengthMm - kMarkLengthMm) > kScalingToleranceMm + 1e-9)) {
    return std::nullopt;
  }
  return lengthMm / kMarkLengthMm * 100.0;
}

std::optional<double> ParseMillimetres(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<PaperPoint> ParsePaperPoint(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) {
    return std::nullopt;
  }
  const auto x = ParseMillimetres(text.substr(0, comma));
  const auto y = ParseMillimetres(text.substr(comma + 1));
  if (!x || !y) {
    return std::nullopt;
  }
  return PaperPoint{*x, *y};
}

}  // namespace bvr
