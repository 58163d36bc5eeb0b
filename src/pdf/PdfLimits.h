// What a PDF from anywhere may cost us. A file beyond these limits is refused with a message,
// never half read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bvr::pdf {

// A few hundred bills are a few MB; scans embedded as pictures reach tens of MB.
inline constexpr std::size_t kMaxPdfBytes = std::size_t{64} << 20;
// More pages than any batch of bills we expect in one file.
inline constexpr int kMaxPdfPages = 2000;
// One rendered raster: an A4 page at 600 dpi is 35 million pixels, a 60 mm square at
// 1200 dpi 8 million. Beyond this the resolution is lowered, never the memory raised.
inline constexpr std::int64_t kMaxRasterPixels = 40'000'000;
// The finest rendering asked for (a region measured for printing checks).
inline constexpr double kMaxDpi = 1200;
// A page side beyond this (in mm) is no paper; such pages are skipped.
inline constexpr double kMaxPageSideMm = 5000;

}  // namespace bvr::pdf
