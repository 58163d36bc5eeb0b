// A text source without real faces: each character is the glyph of its own code, 500
// thousandths of the em wide, placed one after the other unless a test moves one. Font
// tables, when asked for, come from a TrueType file.
#pragma once

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "pdfwrite/PdfTextSource.h"

namespace bvr::pdf {

class FakeTextSource final : public IPdfTextSource {
 public:
  explicit FakeTextSource(std::string fontFile = {}) : fontFile_(std::move(fontFile)) {}

  // Moves the glyph at index of every text, thousandths of the em (a kerning pair).
  std::map<std::size_t, double> moves;

  const ShapedText& Shape(const CanvasFont& font, const std::string& text) override {
    shaped_ = {};
    ShapedRun run;
    run.face = (font.Style & fsBold) != 0 ? 1 : 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      run.glyphs.push_back(c);
      run.x.push_back(500.0 * static_cast<double>(i) + (moves.count(i) ? moves.at(i) : 0.0));
      run.advances.push_back(500);
      run.characters.push_back(c);
    }
    shaped_.runs.push_back(run);
    return shaped_;
  }
  double Width(const CanvasFont& font, const std::string& text) override {
    return static_cast<double>(text.size()) * font.Size / 2;
  }
  TextLine Line(const CanvasFont& font) override { return {font.Size * 1.15, font.Size * 0.9}; }
  FaceInfo Info(int /*face*/) override {
    return {"Test-Face", 900, -200, 700, {0, -200, 1000, 900}};
  }
  std::string Table(int /*face*/, const char* tag) override;
  std::vector<double> Advances(int /*face*/, const std::vector<std::uint16_t>& glyphs) override {
    return std::vector<double>(glyphs.size(), 500);
  }

 private:
  std::string fontFile_;
  ShapedText shaped_;
};

// The table of a tag from an OpenType file's table directory.
inline std::string FakeTextSource::Table(int /*face*/, const char* tag) {
  std::ifstream in(fontFile_, std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto u = [&file](std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) {
      v = (v << 8) | static_cast<unsigned char>(file.at(at + static_cast<std::size_t>(i)));
    }
    return v;
  };
  if (file.size() < 12) {
    return {};
  }
  for (std::uint32_t i = 0; i < u(4, 2); ++i) {
    const std::size_t record = 12 + 16 * std::size_t{i};
    if (file.compare(record, 4, tag, 4) == 0) {
      return file.substr(u(record + 8, 4), u(record + 12, 4));
    }
  }
  return {};
}

}  // namespace bvr::pdf
