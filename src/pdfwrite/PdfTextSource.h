// What the PDF canvas asks of the fonts: glyphs for a text, line sizes, and for each face
// used its metrics, tables and advances, so that it can be embedded. Implemented over the
// faces installed here; the PDF side stays free of any toolkit.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "draw/Canvas.h"

namespace bvr::pdf {

// One face's glyphs of a text: positions from the text's origin and the face's own
// advances, in thousandths of the em, and the character each glyph shows (0 where it shows
// none on its own).
struct ShapedRun {
  int face = 0;
  std::vector<std::uint16_t> glyphs;
  std::vector<double> x;
  std::vector<double> advances;
  std::vector<char32_t> characters;
};

// A text as runs: one, unless a character comes from a fallback face.
struct ShapedText {
  std::vector<ShapedRun> runs;
};

// Sizes in points.
struct TextLine {
  double height = 0;
  double ascent = 0;
};

// What a font's descriptor says, in thousandths of the em.
struct FaceInfo {
  std::string postScriptName;
  double ascent = 0;
  double descent = 0;  // negative, below the baseline
  double capHeight = 0;
  std::array<double, 4> box{};  // left, bottom, right, top
  double italicAngle = 0;
  bool fixedPitch = false;
};

class IPdfTextSource {
 public:
  virtual ~IPdfTextSource() = default;

  // The text shaped as the layout measured it. The reference stays valid until the next call.
  virtual const ShapedText& Shape(const CanvasFont& font, const std::string& text) = 0;
  virtual double Width(const CanvasFont& font, const std::string& text) = 0;  // points
  virtual TextLine Line(const CanvasFont& font) = 0;

  // Of a face that Shape returned.
  virtual FaceInfo Info(int face) = 0;
  // One table of the face's font program ("glyf"), empty when it has none.
  virtual std::string Table(int face, const char* tag) = 0;
  // Advances in thousandths of the em.
  virtual std::vector<double> Advances(int face, const std::vector<std::uint16_t>& glyphs) = 0;
};

}  // namespace bvr::pdf
