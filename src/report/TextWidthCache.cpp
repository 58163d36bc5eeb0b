#include "report/TextWidthCache.h"

namespace bvr {

TextWidthCache& TextWidthCache::ForThisThread() {
  thread_local TextWidthCache cache;
  return cache;
}

double TextWidthCache::Width(const CanvasFont& font, int deviceType, int dpiX,
                             const std::string& text, const std::function<double()>& measure) {
  // Everything the width depends on; not the colour.
  key_.clear();
  key_ += font.Name;
  key_ += '\x1f';
  key_ += std::to_string(font.Size) + ' ' + std::to_string(font.Style) + ' ' +
          std::to_string(font.Charset) + ' ' + std::to_string(deviceType) + ' ' +
          std::to_string(dpiX);
  key_ += '\x1f';
  key_ += text;
  if (const auto found = widths_.find(key_); found != widths_.end()) {
    return found->second;
  }
  const double width = measure();
  if (widths_.size() >= kMaxEntries) {
    widths_.clear();
  }
  widths_.emplace(key_, width);
  return width;
}

}  // namespace bvr
