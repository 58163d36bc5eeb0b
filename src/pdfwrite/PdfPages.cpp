#include "pdfwrite/PdfPages.h"

#include <ctime>

#include "pdfwrite/PdfSyntax.h"

namespace bvr::pdf {

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

std::string CreationDate() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32] = {};
  std::strftime(text, sizeof text, "(D:%Y%m%d%H%M%SZ)", &utc);
  return text;
}

}  // namespace

PdfPages::PdfPages(IPdfSink& sink, IPdfTextSource& source, PdfPaper paper)
    : objects_(sink),
      source_(source),
      paper_(paper),
      catalog_(objects_.Reserve()),
      pageTree_(objects_.Reserve()),
      resources_(objects_.Reserve()) {}

PdfPages::~PdfPages() = default;

void PdfPages::SetOffsetMm(double dx, double dy) {
  dx_ = dx;
  dy_ = dy;
}

ICanvas& PdfPages::BeginPage() {
  EndPage();
  content_.clear();
  // y downwards from the paper's top, moved by the offset.
  content_ += "1 0 0 -1 ";
  AppendNumber(content_, dx_ * kPointsPerMm);
  content_ += ' ';
  AppendNumber(content_, (paper_.heightMm - dy_) * kPointsPerMm);
  content_ += " cm\n";
  canvas_ = std::make_unique<PdfCanvas>(content_, source_, fonts_, objects_);
  return *canvas_;
}

void PdfPages::EndPage() {
  if (!canvas_) {
    return;
  }
  canvas_->Flush();
  canvas_.reset();
  const int page = objects_.Reserve();
  const int content = objects_.Reserve();
  std::string box = "[0 0 ";
  AppendNumber(box, paper_.widthMm * kPointsPerMm);
  box += ' ';
  AppendNumber(box, paper_.heightMm * kPointsPerMm);
  box += ']';
  objects_.Object(page, "<< /Type /Page /Parent " + std::to_string(pageTree_) + " 0 R /MediaBox " +
                            box + " /Resources " + std::to_string(resources_) + " 0 R /Contents " +
                            std::to_string(content) + " 0 R >>");
  objects_.Stream(content, "", content_);
  pages_.push_back(page);
}

void PdfPages::Finish(const std::string& title, const std::string& creator) {
  if (pages_.empty() && !canvas_) {
    BeginPage();
  }
  EndPage();
  const bool openType = fonts_.Write(objects_, source_);
  objects_.Object(resources_, "<< /Font <<" + fonts_.Resources() + " >> >>");
  std::string kids;
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    kids += std::to_string(pages_[i]);
    kids += (i + 1) % 10 == 0 ? " 0 R\n" : " 0 R ";  // lines of ten
  }
  objects_.Object(pageTree_, "<< /Type /Pages /Count " + std::to_string(pages_.size()) +
                                 " /Kids [" + kids + "] >>");
  // The header says 1.4; OpenType font programs came with 1.6.
  objects_.Object(catalog_, "<< /Type /Catalog" + std::string(openType ? " /Version /1.6" : "") +
                                " /Pages " + std::to_string(pageTree_) + " 0 R >>");
  const int info = objects_.Reserve();
  objects_.Object(info, "<< /Title " + TextString(title) + " /Creator " + TextString(creator) +
                            " /Producer " + TextString(creator) + " /CreationDate " +
                            CreationDate() + " >>");
  objects_.Finish(catalog_, info);
}

}  // namespace bvr::pdf
