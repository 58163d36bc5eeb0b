// Metrics of texts already measured, per font and device: a batch measures and draws the
// same headings, creditor and account lines on every page, and the payer's lines twice on
// each, and shaping them again costs more than the rest of the page; a font's height and
// ascent, asked for on every page, would load its engine again each time. Per thread, since
// Qt's font engines are. Each kind is emptied when full: the lines that repeat are a few
// dozen, while a batch brings new payers and references on every page, and a larger cache
// would only hold those and make a long run's memory grow.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>

#include <QGlyphRun>
#include <QList>

#include "draw/Canvas.h"

class QPaintDevice;

namespace bvr {

class TextMetricsCache {
 public:
  static constexpr std::size_t kMaxEntries = 2000;
  // Shaped glyphs weigh a kilobyte or so each: fewer of them.
  static constexpr std::size_t kMaxGlyphRuns = 300;

  // What the metrics depend on besides the font: Qt sizes fonts by the vertical resolution.
  struct DeviceKind {
    int type = 0;
    int dpiX = 0;
    int dpiY = 0;

    static DeviceKind Of(const QPaintDevice& device);
  };
  struct LineMetrics {
    double height = 0;
    double ascent = 0;
  };

  static TextMetricsCache& ForThisThread();

  // Each is measured by measure the first time it is asked for.
  // The width of text in font on a device of that kind.
  double Width(const CanvasFont& font, const DeviceKind& device, const std::string& text,
               const std::function<double()>& measure);
  // The box the glyphs of text cover, relative to its baseline origin.
  DeviceRect Ink(const CanvasFont& font, const DeviceKind& device, const std::string& text,
                 const std::function<DeviceRect()>& measure);
  // The font's line height and ascent.
  LineMetrics Line(const CanvasFont& font, const DeviceKind& device,
                   const std::function<LineMetrics()>& measure);
  // The shaped glyphs of text, positioned from its baseline origin: drawn again without
  // shaping it again.
  QList<QGlyphRun> Glyphs(const CanvasFont& font, const DeviceKind& device, const std::string& text,
                          const std::function<QList<QGlyphRun>()>& shape);

 private:
  template <typename Value>
  Value Find(std::unordered_map<std::string, Value>& known, const CanvasFont& font,
             const DeviceKind& device, const std::string& text,
             const std::function<Value()>& measure);

  std::unordered_map<std::string, double> widths_;
  std::unordered_map<std::string, DeviceRect> inks_;
  std::unordered_map<std::string, LineMetrics> lines_;
  std::unordered_map<std::string, QList<QGlyphRun>> glyphs_;
  std::string key_;
};

}  // namespace bvr
