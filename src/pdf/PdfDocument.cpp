#include "pdf/PdfDocument.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>

#include <vector>

#include "pdf/PdfLimits.h"
#include "strings/BvrError.h"

namespace bvr::pdf {

namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;

void Silence(const std::string&, void*) {}

// Poppler reports every fault of a broken file on standard error; ours are the messages.
void SilencePoppler() {
  static const bool silenced = [] {
    poppler::set_debug_error_function(Silence, nullptr);
    return true;
  }();
  (void)silenced;
}

}  // namespace

// Pages are loaded once, on first use: poppler parses a page object on every call.
struct PdfDocument::Pages {
  std::vector<std::unique_ptr<poppler::page>> loaded;
};

PdfDocument::PdfDocument() : pages_(std::make_unique<Pages>()) {}
PdfDocument::PdfDocument(PdfDocument&&) noexcept = default;
PdfDocument& PdfDocument::operator=(PdfDocument&&) noexcept = default;
PdfDocument::~PdfDocument() = default;

bool LooksLikePdf(std::string_view bytes) {
  return bytes.substr(0, 1024).find("%PDF-") != std::string_view::npos;
}

PdfDocument PdfDocument::FromBytes(std::string_view bytes) {
  SilencePoppler();
  if (bytes.size() > kMaxPdfBytes) {
    throw EBvrError(Fmt("PDF too large: %d bytes, at most %d")
                        .d(static_cast<long long>(bytes.size()))
                        .d(static_cast<long long>(kMaxPdfBytes)));
  }
  PdfDocument pdf;
  pdf.bytes_.assign(bytes);
  pdf.document_.reset(poppler::document::load_from_raw_data(pdf.bytes_.data(),
                                                            static_cast<int>(pdf.bytes_.size())));
  if (!pdf.document_) {
    throw EBvrError("not a readable PDF");
  }
  if (pdf.document_->is_locked()) {
    throw EBvrError("the PDF is protected by a password");
  }
  const int pages = pdf.document_->pages();
  if (pages > kMaxPdfPages) {
    throw EBvrError(Fmt("PDF of %d pages, at most %d").d(pages).d(kMaxPdfPages));
  }
  pdf.pages_->loaded.resize(static_cast<std::size_t>(pages > 0 ? pages : 0));
  return pdf;
}

int PdfDocument::PageCount() const {
  return static_cast<int>(pages_->loaded.size());
}

const poppler::page& PdfDocument::Page(int page) const {
  if (page < 0 || page >= PageCount()) {
    throw EBvrError(Fmt("no page %d").d(page + 1));
  }
  std::unique_ptr<poppler::page>& slot = pages_->loaded[static_cast<std::size_t>(page)];
  if (!slot) {
    slot.reset(document_->create_page(page));
    if (!slot) {
      throw EBvrError(Fmt("page %d cannot be read").d(page + 1));
    }
  }
  return *slot;
}

SizeMm PdfDocument::PageSize(int page) const {
  const poppler::page& p = Page(page);
  const poppler::rectf box = p.page_rect(poppler::crop_box);
  SizeMm size{box.width() * kMmPerPoint, box.height() * kMmPerPoint};
  const auto turn = p.orientation();
  if (turn == poppler::page::landscape || turn == poppler::page::seascape) {
    std::swap(size.width, size.height);
  }
  return size;
}

}  // namespace bvr::pdf
