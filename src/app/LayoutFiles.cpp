#include "app/LayoutFiles.h"

#include <QFileInfo>

#include "report/AtomicFile.h"

namespace bvr {

std::string ReadLayoutFile(const QString& path) {
  return ReadLayoutFile(QFileInfo(path).absoluteFilePath().toStdString());
}

void SaveLayoutFile(const QString& path, const std::string& text) {
  WriteFileAtomically(path, [&text](QIODevice& file) {
    file.write(text.data(), static_cast<qint64>(text.size()));
  });
}

}  // namespace bvr
