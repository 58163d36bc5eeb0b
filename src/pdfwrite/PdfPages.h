// A PDF of pages drawn on a canvas, every page the same paper size, each page written out
// as soon as the next begins: memory stays flat however many pages. The fonts follow the
// last page, cut to the glyphs the pages show.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pdfwrite/PdfCanvas.h"
#include "pdfwrite/PdfFonts.h"
#include "pdfwrite/PdfObjects.h"
#include "pdfwrite/PdfTextSource.h"

namespace bvr::pdf {

struct PdfPaper {
  double widthMm = 210;
  double heightMm = 297;
};

class PdfPages {
 public:
  PdfPages(IPdfSink& sink, IPdfTextSource& source, PdfPaper paper);
  ~PdfPages();
  PdfPages(const PdfPages&) = delete;
  PdfPages& operator=(const PdfPages&) = delete;

  // Moves every page's content right and down, millimetres. Set before the first page.
  void SetOffsetMm(double dx, double dy);
  // The next page's canvas, in points from the paper's top-left corner; the page before goes
  // out to the sink here.
  ICanvas& BeginPage();
  // The last page, the fonts, the page tree and the file's end. A document without pages
  // gets one blank page.
  void Finish(const std::string& title, const std::string& creator);

 private:
  void EndPage();

  PdfObjects objects_;
  IPdfTextSource& source_;
  PdfPaper paper_;
  double dx_ = 0;
  double dy_ = 0;
  PdfFonts fonts_;
  int catalog_;
  int pageTree_;
  int resources_;
  std::vector<int> pages_;
  std::string content_;  // of the page being drawn, reused
  std::unique_ptr<PdfCanvas> canvas_;
};

}  // namespace bvr::pdf
