// PDF pages of the exact paper size. Qt 6.4 writes each page's MediaBox in whole points (595 x
// 842 for A4's 595.28 x 841.89, 595 x 300 for the slip form's 595.28 x 299.91) and draws from
// that rounded top edge down. This device rewrites the box on its way to the file with the
// exact width and height and the same top edge, in as many bytes, so that the content stays in
// place and the file's offsets stay valid; and it maps the faces' spaces to U+0020 for text
// that copies (ToUnicodeSpaces).
#pragma once

#include <QIODevice>
#include <QPageLayout>
#include <QSizeF>
#include <string>

#include "report/StreamReplace.h"
#include "report/ToUnicodeSpaces.h"

namespace bvr {

class ExactMediaBox final : public QIODevice {
 public:
  // The page layout the writer uses, and its paper size in millimetres, which Qt keeps only
  // rounded to points.
  ExactMediaBox(QIODevice& target, const QPageLayout& layout, QSizeF exactMm);
  bool isSequential() const override { return true; }
  // Passes on what is held back; false when the target refused bytes.
  bool Finish();
  // True once the target refused bytes: a long job can stop there instead of at the end.
  bool Refused() const { return !ok_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  bool Pass(const std::string& bytes);

  QIODevice& target_;
  StreamReplace replace_;
  ToUnicodeSpaces spaces_;
  bool ok_ = true;
};

// A layout of that paper size in millimetres, portrait, without margins; exact, since a fuzzy
// match would round the slip's odd size to some standard paper.
QPageLayout ExactPageLayout(QSizeF paperMm);

}  // namespace bvr
