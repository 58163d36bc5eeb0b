// A PDF opened for reading: its pages' sizes, rasters and faces. Rendering only; no Qt.
// Poppler's own complaints about broken files are kept off standard error.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace poppler {
class document;
class page;
}  // namespace poppler

namespace bvr::pdf {

struct SizeMm {
  double width = 0;
  double height = 0;
};

class PdfDocument {
 public:
  // Copies the bytes (the document reads from them as long as it lives). Fails with EBvrError
  // for more than kMaxPdfBytes, no PDF, an encrypted one or more than kMaxPdfPages pages.
  static PdfDocument FromBytes(std::string_view bytes);

  PdfDocument(PdfDocument&&) noexcept;
  PdfDocument& operator=(PdfDocument&&) noexcept;
  ~PdfDocument();

  int PageCount() const;
  // The crop box's size as shown (rotation applied), in mm.
  SizeMm PageSize(int page) const;

  // For the rendering and text parts of this folder. Page from 0; the document owns it.
  const poppler::document& Document() const { return *document_; }
  const poppler::page& Page(int page) const;

 private:
  PdfDocument();
  struct Pages;
  std::string bytes_;
  std::unique_ptr<poppler::document> document_;
  std::unique_ptr<Pages> pages_;
};

// True when the bytes start like a PDF ("%PDF-" within the first 1024 bytes).
bool LooksLikePdf(std::string_view bytes);

}  // namespace bvr::pdf
