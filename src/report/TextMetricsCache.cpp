#include "report/TextMetricsCache.h"

#include <QPaintDevice>
#include <type_traits>

namespace bvr {

namespace {
// The value's bytes: exact, and far cheaper than formatting it.
template <typename T>
void AppendBytes(std::string& key, const T& value) {
  static_assert(std::is_arithmetic_v<T>);
  key.append(reinterpret_cast<const char*>(&value), sizeof value);
}
}  // namespace

TextMetricsCache::DeviceKind TextMetricsCache::DeviceKind::Of(const QPaintDevice& device) {
  return {device.devType(), device.logicalDpiX(), device.logicalDpiY()};
}

TextMetricsCache& TextMetricsCache::ForThisThread() {
  thread_local TextMetricsCache cache;
  return cache;
}

double TextMetricsCache::Width(const CanvasFont& font, const DeviceKind& device,
                               const std::string& text, const std::function<double()>& measure) {
  return Find(widths_, font, device, text, measure);
}

DeviceRect TextMetricsCache::Ink(const CanvasFont& font, const DeviceKind& device,
                                 const std::string& text,
                                 const std::function<DeviceRect()>& measure) {
  return Find(inks_, font, device, text, measure);
}

TextMetricsCache::LineMetrics TextMetricsCache::Line(const CanvasFont& font,
                                                     const DeviceKind& device,
                                                     const std::function<LineMetrics()>& measure) {
  return Find(lines_, font, device, std::string(), measure);
}

QList<QGlyphRun> TextMetricsCache::Glyphs(const CanvasFont& font, const DeviceKind& device,
                                          const std::string& text,
                                          const std::function<QList<QGlyphRun>()>& shape) {
  if (glyphs_.size() >= kMaxGlyphRuns) {
    glyphs_.clear();
  }
  return Find(glyphs_, font, device, text, shape);
}

template <typename Value>
Value TextMetricsCache::Find(std::unordered_map<std::string, Value>& known, const CanvasFont& font,
                             const DeviceKind& device, const std::string& text,
                             const std::function<Value()>& measure) {
  // Everything the metrics depend on; not the colour. The name's length keeps a name and a
  // text from running together.
  key_.clear();
  AppendBytes(key_, font.Size);
  AppendBytes(key_, static_cast<int>(font.Style));
  AppendBytes(key_, font.Charset);
  AppendBytes(key_, font.Scalable);
  AppendBytes(key_, device.type);
  AppendBytes(key_, device.dpiX);
  AppendBytes(key_, device.dpiY);
  AppendBytes(key_, font.Name.size());
  key_ += font.Name;
  key_ += text;
  if (const auto found = known.find(key_); found != known.end()) {
    return found->second;
  }
  const Value value = measure();
  if (known.size() >= kMaxEntries) {
    known.clear();
  }
  known.emplace(key_, value);
  return value;
}

}  // namespace bvr
