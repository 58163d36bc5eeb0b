#include "cli/ImageFiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <cctype>

#include "report/AtomicFile.h"
#include "strings/BvrError.h"

namespace bvr::cli {

bool EndsWith(const std::string& text, const std::string& lowerSuffix) {
  if (text.size() < lowerSuffix.size()) {
    return false;
  }
  for (std::size_t i = 0; i < lowerSuffix.size(); ++i) {
    const char c = text[text.size() - lowerSuffix.size() + i];
    if (std::tolower(static_cast<unsigned char>(c)) != lowerSuffix[i]) {
      return false;
    }
  }
  return true;
}

void WritePng(const QImage& image, const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    throw EBvrError(Fmt("Cannot create file \"%s\". %s").s(path).s("PNG encoding failed"));
  }
  WriteFileAtomically(QString::fromStdString(path),
                      [&bytes](QIODevice& file) { file.write(bytes); });
}

}  // namespace bvr::cli
