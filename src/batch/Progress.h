// The text of the batch's progress line and the option values of the batch command: plain
// functions, so that they are tested without a terminal or a PDF.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bvr {

// "  250/1000 pages  812 pages/s  1 s left": done and total pages, the rate so far and the
// time the remaining pages take at that rate (rounded up to whole seconds). Before the first
// page or in the first instant there is no rate yet: "  0/1000 pages".
std::string ProgressLine(std::size_t done, std::size_t total, double elapsedSeconds);

// A slip offset "DX,DY" in tenths of a millimetre: two integers, either may be negative.
struct SlipOffset {
  int dx = 0;
  int dy = 0;
};
std::optional<SlipOffset> ParseSlipOffset(std::string_view text);

}  // namespace bvr
