#include "report/PageWriter.h"

#include <QPageLayout>

#include "report/ExactMediaBox.h"

#include "numbers/Conversions.h"
#include "report/QtFont.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {
QPageLayout PreparedLayout(QSizeF paperMm) {
  // Without it "OCR-B" silently falls back to a face no bank reader reads.
  InstallFontSubstitutions();
  return ExactPageLayout(paperMm);
}
}  // namespace

PdfPageWriter::PdfPageWriter(QIODevice& device, QSizeF paperMm, int dpi, const QString& title)
    : exact_(std::make_unique<ExactMediaBox>(device, PreparedLayout(paperMm), paperMm)),
      writer_(std::make_unique<QPdfWriter>(exact_.get())),
      dpi_(dpi) {
  writer_->setResolution(dpi);
  writer_->setPageLayout(ExactPageLayout(paperMm));
  writer_->setTitle(title);
  writer_->setCreator(QStringLiteral("bvrslip"));
}

// The painter ends before the writer, the writer before the device it writes to.
PdfPageWriter::~PdfPageWriter() {
  if (painter_.isActive()) {
    painter_.end();
  }
}

bool PdfPageWriter::Refused() const {
  return exact_->Refused();
}

void PdfPageWriter::SetPageOffset(double dxTenths, double dyTenths) {
  offsetTenths_ = QPointF(dxTenths, dyTenths);
}

QPainter& PdfPageWriter::BeginPage() {
  if (!begun_) {
    begun_ = true;
    painter_.begin(writer_.get());
  } else {
    writer_->newPage();  // the page before goes out to the device here
  }
  // Set anew on each page: a page's drawing may leave its own transformation behind.
  painter_.resetTransform();
  const double unitsPerTenth = static_cast<double>(dpi_) / 254.0;
  painter_.translate(offsetTenths_ * unitsPerTenth);
  return painter_;
}

void PdfPageWriter::Finish() {
  if (!begun_) {
    BeginPage();  // a file of one blank page rather than no PDF at all
  }
  if (painter_.isActive()) {
    painter_.end();
  }
  if (!exact_->Finish()) {
    throw EBvrError(std::string("Cannot write the PDF: the output refused data"));
  }
}

ImagePageWriter::ImagePageWriter(QSizeF paperMm, int dpi) {
  InstallFontSubstitutions();
  const auto pixels = [dpi](double mm) {
    return RoundHalfEven(mm * 10.0 / 254.0 * static_cast<double>(dpi));
  };
  image_ = QImage(pixels(paperMm.width()), pixels(paperMm.height()), QImage::Format_RGB32);
  const int dotsPerMeter = RoundHalfEven(static_cast<double>(dpi) / 0.0254);
  image_.setDotsPerMeterX(dotsPerMeter);
  image_.setDotsPerMeterY(dotsPerMeter);
  image_.fill(Qt::white);
}

QPainter& ImagePageWriter::BeginPage() {
  if (!painter_.isActive()) {
    painter_.begin(&image_);
  }
  return painter_;
}

void ImagePageWriter::Finish() {
  if (painter_.isActive()) {
    painter_.end();
  }
}

}  // namespace bvr
