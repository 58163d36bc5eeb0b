// The fonts of a document: each face used becomes a composite font whose codes are the
// face's glyph numbers, written once at the end with only the glyphs the pages show, their
// widths, and a map back to the characters (spaces as U+0020) so that text copies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdfwrite/PdfObjects.h"
#include "pdfwrite/PdfTextSource.h"

namespace bvr::pdf {

class PdfFonts {
 public:
  // The font's resource name ("F1") for a face, its object reserved on first use.
  const std::string& Name(int face, PdfObjects& objects);
  // The run's glyphs are shown on a page.
  void Show(const ShapedRun& run);
  // " /F1 12 0 R /F2 20 0 R": the entries of a page's font resources.
  std::string Resources() const;
  // Every font used, cut to the glyphs shown. True when one went in as an OpenType program,
  // which a document must declare as PDF 1.6.
  bool Write(PdfObjects& objects, IPdfTextSource& source) const;

 private:
  struct Font {
    int face = -1;
    int object = 0;
    std::string name;
    std::vector<bool> shown;           // by glyph number
    std::vector<char32_t> characters;  // by glyph number, 0 where unknown
  };
  Font& Of(int face);
  // True for an OpenType (CFF) program.
  bool WriteFont(const Font& font, PdfObjects& objects, IPdfTextSource& source) const;

  std::vector<Font> fonts_;
};

}  // namespace bvr::pdf
