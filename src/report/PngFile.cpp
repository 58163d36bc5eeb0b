#include "report/PngFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include "report/AtomicFile.h"
#include "strings/BvrError.h"

namespace bvr {

void WritePngFile(const QImage& image, const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    throw EBvrError(Fmt("Cannot create file \"%s\". %s").s(path).s("PNG encoding failed"));
  }
  WriteFileAtomically(QString::fromStdString(path),
                      [&bytes](QIODevice& file) { file.write(bytes); });
}

}  // namespace bvr
