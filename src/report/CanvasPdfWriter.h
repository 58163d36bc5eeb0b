// Pages drawn on a canvas straight into a PDF on a device: the QR-bill batches' writer. No
// painter in between: the content is written as the layout placed it, the fonts embedded
// once at the end, and pages go out as they are done.
#pragma once

#include <QSizeF>
#include <QString>
#include <memory>

#include "draw/Canvas.h"

class QIODevice;

namespace bvr {

namespace pdf {
class PdfPages;
}
class QtPdfTextSource;
class DeviceSink;

class CanvasPdfWriter {
 public:
  CanvasPdfWriter(QIODevice& device, QSizeF paperMm, const QString& title);
  ~CanvasPdfWriter();
  CanvasPdfWriter(const CanvasPdfWriter&) = delete;
  CanvasPdfWriter& operator=(const CanvasPdfWriter&) = delete;

  // Moves every page's content right and down, tenths of a millimetre. Before the first page.
  void SetPageOffset(double dxTenths, double dyTenths);
  // The next page, origin at the paper's top-left corner, in the canvas's own units.
  ICanvas& BeginPage();
  // Throws EBvrError when the output refused data.
  void Finish();
  // True once the output refused data: a long job stops there instead of at the end.
  bool Refused() const;

 private:
  std::unique_ptr<DeviceSink> sink_;
  std::unique_ptr<QtPdfTextSource> source_;
  std::unique_ptr<pdf::PdfPages> pages_;
  QString title_;
};

}  // namespace bvr
