// The measures a checking desk takes on a printed QR-bill, taken on a PDF page: each with the
// value measured, the value required and whether it passes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bvr::reading {

struct Measure {
  std::string check;     // "code size", "quiet zone", …
  std::string measured;  // "46.01 x 46.00 mm"
  std::string required;  // "46 x 46 mm ± 0.2 mm"
  bool pass = false;
};

struct BillPrint {
  int page = 0;  // from 1
  std::vector<Measure> measures;

  bool Pass() const;
};

// Tolerances, in mm.
inline constexpr double kCodeSideMm = 46;
inline constexpr double kCodeSideToleranceMm = 0.2;
inline constexpr double kQuietZoneMm = 5;
inline constexpr double kCrossMm = 7;  // the black square with its white border
inline constexpr double kCrossToleranceMm = 0.2;
inline constexpr double kCrossBorderMinMm = 0.3;
inline constexpr double kPlaceToleranceMm = 0.5;
inline constexpr double kPageToleranceMm = 1;
// The resolution the code's region is measured at: 0.02 mm a pixel.
inline constexpr double kMeasureDpi = 1200;

// Every Swiss QR Code of every page, measured. Fails with EBvrError for what is no PDF or
// beyond the limits.
std::vector<BillPrint> CheckPrint(std::string_view pdfBytes);

}  // namespace bvr::reading
