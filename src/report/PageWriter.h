// The one writer of pages: sets up its device once (exact paper size without margins,
// resolution, the font substitutions that keep "OCR-B" and "Arial" on the faces meant) and
// hands out a painter per page, whose origin is the paper's top-left corner. The invoice,
// the batch and the slip pages all go out through it.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <memory>

class QIODevice;

namespace bvr {

class ExactMediaBox;

class PageWriter {
 public:
  virtual ~PageWriter() = default;
  // Starts the next page (the first, or one after the page before, which then goes out).
  virtual QPainter& BeginPage() = 0;
  // Ends the last page. Throws EBvrError when the output refused data.
  virtual void Finish() = 0;
  // True once the output refused data: a long job stops there instead of at the end.
  virtual bool Refused() const { return false; }
};

// Vector pages into a PDF of the exact paper size, every page the same.
class PdfPageWriter final : public PageWriter {
 public:
  PdfPageWriter(QIODevice& device, QSizeF paperMm, int dpi, const QString& title);
  ~PdfPageWriter() override;
  PdfPageWriter(const PdfPageWriter&) = delete;
  PdfPageWriter& operator=(const PdfPageWriter&) = delete;
  // Moves every page's content by (dx, dy) tenths of a millimetre, right and down: a
  // printer's paper path that puts the ink off its place. Set before the first page.
  void SetPageOffset(double dxTenths, double dyTenths);
  QPainter& BeginPage() override;
  void Finish() override;
  bool Refused() const override;

 private:
  std::unique_ptr<ExactMediaBox> exact_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  QPointF offsetTenths_;
  int dpi_;
  bool begun_ = false;
};

// One page into an image of the paper size at a resolution, white, for PNG output.
class ImagePageWriter final : public PageWriter {
 public:
  ImagePageWriter(QSizeF paperMm, int dpi);
  QPainter& BeginPage() override;
  void Finish() override;
  // The page drawn, once finished.
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
  QPainter painter_;
};

}  // namespace bvr
