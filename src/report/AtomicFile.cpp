#include "report/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

#include "strings/BvrError.h"

namespace bvr {

void WriteFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write) {
  QSaveFile file(path);
  const auto fail = [&path](const QString& reason) {
    throw EBvrError(Fmt("Cannot create file \"%s\". %s")
                        .s(QFileInfo(path).absoluteFilePath().toStdString())
                        .s(reason.toStdString()));
  };
  if (!file.open(QIODevice::WriteOnly)) {
    fail(file.errorString());
  }
  // An exception leaves with the file uncommitted: QSaveFile drops its temporary file.
  write(file);
  // Qt 6.4's commit() replaces the target even when the last flush failed (disk full, file
  // size limit), which would put a truncated file in place of the old one: check first.
  if (!file.flush() || file.error() != QFileDevice::NoError) {
    const QString reason = file.errorString();
    file.cancelWriting();
    fail(reason);
  }
  if (!file.commit()) {
    fail(file.errorString());
  }
}

}  // namespace bvr
