// The faces installed here as the PDF writer's text source: texts shaped by Qt exactly as the
// layout measured them (the scalable faces, no hinting), and each face's tables and metrics
// for embedding. Shaped texts are kept: a batch draws the same headings on every page.
#pragma once

#include <QRawFont>
#include <string>
#include <unordered_map>
#include <vector>

#include "pdfwrite/PdfTextSource.h"
#include "report/QtTextMeasure.h"

namespace bvr {

class QtPdfTextSource final : public pdf::IPdfTextSource {
 public:
  static constexpr std::size_t kMaxShaped = 2000;

  const pdf::ShapedText& Shape(const CanvasFont& font, const std::string& text) override;
  double Width(const CanvasFont& font, const std::string& text) override;
  pdf::TextLine Line(const CanvasFont& font) override;
  pdf::FaceInfo Info(int face) override;
  std::string Table(int face, const char* tag) override;
  std::vector<double> Advances(int face, const std::vector<std::uint16_t>& glyphs) override;

 private:
  pdf::ShapedText ShapeNew(const CanvasFont& font, const std::string& text);
  int FaceOf(const QRawFont& font);
  const QRawFont& Design(int face) const { return faces_.at(static_cast<std::size_t>(face)).font; }

  QtTextMeasure measure_;
  struct Face {
    QRawFont font;                 // at one pixel per font unit: design metrics
    std::vector<double> advances;  // by glyph, thousandths of the em; negative until asked
  };
  std::vector<Face> faces_;
  std::unordered_map<std::string, pdf::ShapedText> shaped_;
  std::unordered_map<std::string, pdf::TextLine> lines_;
  std::string key_;
};

}  // namespace bvr
