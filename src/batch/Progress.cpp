#include "batch/Progress.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace bvr {

std::string ProgressLine(std::size_t done, std::size_t total, double elapsedSeconds) {
  char text[128];
  const int n = std::snprintf(text, sizeof text, "  %zu/%zu pages", done, total);
  std::string line(text, static_cast<std::size_t>(n));
  if (done == 0 || !(elapsedSeconds > 0)) {
    return line;
  }
  const double rate = static_cast<double>(done) / elapsedSeconds;
  const double left = static_cast<double>(total - std::min(done, total)) / rate;
  const int m =
      std::snprintf(text, sizeof text, "  %.0f pages/s  %.0f s left", rate, std::ceil(left));
  line.append(text, static_cast<std::size_t>(m));
  return line;
}

std::optional<SlipOffset> ParseSlipOffset(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) {
    return std::nullopt;
  }
  // Whole field or nothing: from_chars stops at the first non-digit.
  const auto number = [](std::string_view s) -> std::optional<int> {
    int value = 0;
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, value);
    if (s.empty() || ec != std::errc() || ptr != end) {
      return std::nullopt;
    }
    return value;
  };
  const auto dx = number(text.substr(0, comma));
  const auto dy = number(text.substr(comma + 1));
  if (!dx || !dy) {
    return std::nullopt;
  }
  return SlipOffset{*dx, *dy};
}

}  // namespace bvr
