// Cached metrics must never answer for another font, device or text: a wrong key would move
// or clip text by another face's measure, on every page after the first.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <string>

#include "report/QPainterCanvas.h"
#include "report/QtFont.h"
#include "report/TextMetricsCache.h"

namespace bvr {
namespace {

struct Probe {
  CanvasFont font;
  TextMetricsCache::DeviceKind device{1, 600, 600};
  std::string text = "Jean Dupont";
};

// Whether the cache measured the second probe itself after the first.
bool MeasuresSecond(const Probe& first, const Probe& second) {
  TextMetricsCache cache;
  cache.Width(first.font, first.device, first.text, [] { return 1.0; });
  bool measured = false;
  cache.Width(second.font, second.device, second.text, [&] {
    measured = true;
    return 2.0;
  });
  return measured;
}

TEST(TextMetricsCacheTest, KeysTellApartWhatTheMetricsDependOn) {
  const struct Case {
    const char* what;
    void (*change)(Probe&);
    bool measured;
  } cases[] = {
      {"the same", [](Probe&) {}, false},
      {"another colour", [](Probe& p) { p.font.Color = clRed; }, false},
      {"another size", [](Probe& p) { p.font.Size = 10.000001; }, true},
      {"bold", [](Probe& p) { p.font.Style = fsBold; }, true},
      {"another charset", [](Probe& p) { p.font.Charset = 0; }, true},
      {"another device type", [](Probe& p) { p.device.type = 3; }, true},
      {"another vertical resolution", [](Probe& p) { p.device.dpiY = 1200; }, true},
      {"name and text run together",
       [](Probe& p) {
         p.font.Name += "J";
         p.text = "ean Dupont";
       },
       true},
  };
  for (const Case& c : cases) {
    Probe second;
    c.change(second);
    EXPECT_EQ(MeasuresSecond(Probe(), second), c.measured) << c.what;
  }
}

TEST(TextMetricsCacheTest, StaysBoundedByForgettingWhenFull) {
  TextMetricsCache cache;
  const CanvasFont font;
  int measured = 0;
  const auto measure = [&] {
    ++measured;
    return DeviceRect{};
  };
  for (std::size_t i = 0; i <= TextMetricsCache::kMaxEntries; ++i) {
    cache.Ink(font, {}, std::to_string(i), measure);
  }
  measured = 0;
  cache.Ink(font, {}, "1", measure);  // forgotten when the map filled up
  cache.Ink(font, {}, std::to_string(TextMetricsCache::kMaxEntries), measure);  // kept
  EXPECT_EQ(measured, 1);
}

// Two images alike but for their vertical resolution: each gets its own font's ascent, as Qt
// sizes fonts by that resolution.
TEST(TextMetricsCacheTest, CanvasAscentFollowsTheDevicesVerticalResolution) {
  for (const int dpiY : {96, 600, 96}) {
    QImage image(10, 10, QImage::Format_Grayscale8);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(static_cast<int>(dpiY / 0.0254 + 0.5));
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    CanvasFont font;
    font.Name = "DejaVu Sans";
    canvas.SetFont(font);
    EXPECT_DOUBLE_EQ(canvas.TextAscent(), QFontMetricsF(ToQFont(font), &image).ascent()) << dpiY;
  }
}

}  // namespace
}  // namespace bvr
