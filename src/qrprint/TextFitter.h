// Text widths in millimetres from a face's own advances, whatever the output device: each
// character measured once at a large size and scaled, so that a bill is laid out the same
// for a PDF, an image at any resolution, an SVG and a printer. Kerning is left out of the
// sum, which can only make a line measure wider than it prints.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "draw/TextMeasure.h"

namespace bvr::qr {

class TextFitter {
 public:
  // measure must outlive the fitter.
  TextFitter(const ITextMeasure& measure, std::string face);

  double WidthMm(const std::string& text, double points, bool bold) const;

  // Lines within widthMm: greedy at blanks, a word wider than the width broken between
  // characters.
  std::vector<std::string> Wrap(const std::string& text, double points, bool bold,
                                double widthMm) const;

  // text itself when it fits widthMm, else its longest beginning that fits with "..." after.
  std::string Shorten(const std::string& text, double points, bool bold, double widthMm) const;

  const std::string& Face() const { return face_; }

 private:
  // One character's advance at one point.
  double AdvanceMm(std::string_view character, bool bold) const;

  const ITextMeasure& measure_;
  std::string face_;
  mutable std::unordered_map<std::uint64_t, double> advances_;
};

// Where the UTF-8 code point starting at i ends.
std::size_t NextCodePoint(const std::string& text, std::size_t i);

}  // namespace bvr::qr
