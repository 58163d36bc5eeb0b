#include "report/QtTextMeasure.h"

#include <QFontMetricsF>

#include "report/QtFont.h"
#include "report/TextMetricsCache.h"

namespace bvr {

QtTextMeasure::QtTextMeasure() : metricsDevice_(1, 1, QImage::Format_ARGB32) {
  // 10000 dots per metre is 254 dots per inch.
  metricsDevice_.setDotsPerMeterX(10000);
  metricsDevice_.setDotsPerMeterY(10000);
}

double QtTextMeasure::Width(const CanvasFont& font, const std::string& text) const {
  return TextMetricsCache::ForThisThread().Width(
      font, TextMetricsCache::DeviceKind::Of(metricsDevice_), text, [&] {
        return QFontMetricsF(ToQFont(font), &metricsDevice_)
                   .horizontalAdvance(
                       QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) *
               ScalableFactor(font, RecordingCanvas::kUnitsPerInch);
      });
}

double QtTextMeasure::Height(const CanvasFont& font) const {
  return QFontMetricsF(ToQFont(font), &metricsDevice_).height() *
         ScalableFactor(font, RecordingCanvas::kUnitsPerInch);
}

double QtTextMeasure::Ascent(const CanvasFont& font) const {
  return QFontMetricsF(ToQFont(font), &metricsDevice_).ascent() *
         ScalableFactor(font, RecordingCanvas::kUnitsPerInch);
}

}  // namespace bvr
