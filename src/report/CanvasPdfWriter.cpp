#include "report/CanvasPdfWriter.h"

#include <QIODevice>
#include <string>

#include "pdfwrite/PdfPages.h"
#include "report/QtFont.h"
#include "report/QtPdfTextSource.h"
#include "strings/BvrError.h"

namespace bvr {

// Bytes onto the device; once it refuses, the rest are dropped and the writer says so.
class DeviceSink final : public pdf::IPdfSink {
 public:
  explicit DeviceSink(QIODevice& device) : device_(device) {}
  void Write(std::string_view bytes) override {
    if (refused_) {
      return;
    }
    const auto size = static_cast<qint64>(bytes.size());
    refused_ = device_.write(bytes.data(), size) != size;
  }
  bool Refused() const { return refused_; }

 private:
  QIODevice& device_;
  bool refused_ = false;
};

CanvasPdfWriter::CanvasPdfWriter(QIODevice& device, QSizeF paperMm, const QString& title)
    : sink_(std::make_unique<DeviceSink>(device)),
      source_(std::make_unique<QtPdfTextSource>()),
      title_(title) {
  // Without it "Arial" is whatever face the system gives first.
  InstallFontSubstitutions();
  pages_ = std::make_unique<pdf::PdfPages>(*sink_, *source_,
                                           pdf::PdfPaper{paperMm.width(), paperMm.height()});
}

CanvasPdfWriter::~CanvasPdfWriter() = default;

void CanvasPdfWriter::SetPageOffset(double dxTenths, double dyTenths) {
  pages_->SetOffsetMm(dxTenths / 10.0, dyTenths / 10.0);
}

ICanvas& CanvasPdfWriter::BeginPage() {
  return pages_->BeginPage();
}

bool CanvasPdfWriter::Refused() const {
  return sink_->Refused();
}

void CanvasPdfWriter::Finish() {
  pages_->Finish(title_.toStdString(), "bvrslip");
  if (sink_->Refused()) {
    throw EBvrError(std::string("Cannot write the PDF: the output refused data"));
  }
}

}  // namespace bvr
