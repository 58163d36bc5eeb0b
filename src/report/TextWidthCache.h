// Widths of texts already measured, per font and device: a batch measures the same headings,
// creditor and account lines on every page, and shaping them again costs more than the rest
// of the page. Per thread, since Qt's font engines are; emptied when full, so memory stays
// bounded however many different texts a run measures.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>

#include "draw/Canvas.h"

namespace bvr {

class TextWidthCache {
 public:
  static constexpr std::size_t kMaxEntries = 20000;

  static TextWidthCache& ForThisThread();

  // The width of text in font on a device of that kind and resolution, measured by measure
  // the first time.
  double Width(const CanvasFont& font, int deviceType, int dpiX, const std::string& text,
               const std::function<double()>& measure);

 private:
  std::unordered_map<std::string, double> widths_;
  std::string key_;
};

}  // namespace bvr
