// The QR-bills in a file of any kind (PDF, PNG, JPEG, TIFF): every code found on every page,
// told apart (a bill, a broken bill, a code of another kind), with its place on the page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qrbill/Bill.h"
#include "qrbill/Problem.h"

namespace bvr::reading {

// Where a code lies on its page: its bounding box's top-left corner and its side, in mm.
struct CodePlace {
  double x = 0;
  double y = 0;
  double size = 0;
  int rotation = 0;         // degrees clockwise
  double dpi = 0;           // of the raster it was found on
  bool dpiAssumed = false;  // a picture that gives no resolution: kAssumedDpi
};

struct ScannedCode {
  int page = 0;  // from 1
  CodePlace place;
  std::string text;              // the code's content
  bool swiss = false;            // a Swiss QR Code (first line "SPC")
  std::optional<qr::Bill> bill;  // when its text could be read as a bill
  qr::Problems problems;         // of the text's frame and of the bill's rules

  bool Valid() const { return swiss && bill && problems.empty(); }
};

// A picture without a resolution is taken as a scan at this one for the places in mm.
inline constexpr double kAssumedDpi = 300;
// Pages are rendered at the first resolution, and at the second where nothing was found.
inline constexpr double kPageDpi = 200;
inline constexpr double kRetryDpi = 300;

// Fails with EBvrError for bytes that are no PDF, PNG, JPEG or TIFF, or beyond the limits.
std::vector<ScannedCode> ScanBills(std::string_view bytes);

// One code's content told apart and checked, for ScanBills and the tests.
ScannedCode ReadCodeText(std::string text);

}  // namespace bvr::reading
