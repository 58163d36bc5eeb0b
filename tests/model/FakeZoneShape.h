// A designer rectangle for model tests: converts as the selection zone does (left, top, width
// and height each rounded from model units), records what the zone asked of it, and lets a
// test move it and fire the bounds-changed callback as a mouse drag would.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/Font.h"
#include "model/ZoneShape.h"
#include "numbers/Conversions.h"

namespace bvr::test {

class FakeZoneShape : public IZoneShape {
 public:
  // Calls in order: "bounds", "invalidate", "font", "lines", "lineText".
  std::vector<std::string> calls;
  // Shared by several shapes to see the order in which zones reach them.
  std::vector<const FakeZoneShape*>* journal = nullptr;

  ZoneRect modelRect;
  double viewWidth = 0;
  ZoneRect bounds;  // pixels
  TFont font;
  std::vector<std::string> lines;
  std::string lineText;
  std::function<void()> onBoundsChanged;

  void SetZoneBounds(const ZoneRect& rect, double width) override {
    Record("bounds");
    modelRect = rect;
    viewWidth = width;
    const double scale = width / 2100;
    const std::int32_t left = RoundHalfEven(scale * rect.Left);
    const std::int32_t top = RoundHalfEven(scale * rect.Top);
    bounds = {left, top, left + RoundHalfEven(scale * (double(rect.Right) - rect.Left)),
              top + RoundHalfEven(scale * (double(rect.Bottom) - rect.Top))};
  }
  void Invalidate() override { Record("invalidate"); }
  void SetTextFont(const TFont& f) override {
    Record("font");
    font.Assign(f);
  }
  void SetLines(const std::vector<std::string>& l) override {
    Record("lines");
    lines = l;
  }
  void SetLineText(const std::string& text) override {
    Record("lineText");
    lineText = text;
  }
  ZoneRect BoundsRect() const override { return bounds; }
  void SetOnBoundsChanged(std::function<void()> callback) override {
    onBoundsChanged = std::move(callback);
  }

  // As after one accepted drag step.
  void DragTo(const ZoneRect& pixels) {
    bounds = pixels;
    if (onBoundsChanged) {
      onBoundsChanged();
    }
  }

 private:
  void Record(const char* call) {
    calls.emplace_back(call);
    if (journal != nullptr && call == std::string("bounds")) {
      journal->push_back(this);
    }
  }
};

}  // namespace bvr::test
