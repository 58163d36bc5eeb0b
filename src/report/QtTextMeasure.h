// The real fonts' metrics for the recording canvas, at its 254 units per inch.
#pragma once

#include <QImage>

#include "draw/RecordingCanvas.h"
#include "draw/TextMeasure.h"

namespace bvr {

class QtTextMeasure final : public ITextMeasure {
 public:
  QtTextMeasure();
  double Width(const CanvasFont& font, const std::string& text) const override;
  double Height(const CanvasFont& font) const override;
  double Ascent(const CanvasFont& font) const override;

 private:
  QImage metricsDevice_;
};

// A recording canvas measuring text as the faces installed here do.
class QtRecordingCanvas final : public RecordingCanvas {
 public:
  QtRecordingCanvas() : RecordingCanvas(std::make_unique<QtTextMeasure>()) {}
};

}  // namespace bvr
