// The faces a page uses and the words it shows where, for checks of a printed bill.
#pragma once

#include <string>
#include <vector>

#include "pdf/PageRaster.h"
#include "pdf/PdfDocument.h"

namespace bvr::pdf {

struct Face {
  std::string name;  // as the file names it, without a subset prefix ("ABCDEF+")
  bool embedded = false;

  bool operator==(const Face&) const = default;
};

// Every face the page's resources name, once each.
std::vector<Face> FacesOnPage(const PdfDocument& pdf, int page);

struct Word {
  std::string text;  // UTF-8
  std::string face;  // without a subset prefix
  RectMm box;        // on the page as shown
};

// The page's words in reading order, with the face of each word's first letter.
std::vector<Word> WordsOnPage(const PdfDocument& pdf, int page);

// "Helvetica-Bold" from "ABCDEF+Helvetica-Bold".
std::string WithoutSubsetPrefix(const std::string& name);

}  // namespace bvr::pdf
