#include "app/LayoutFiles.h"

#include <QFile>
#include <QFileInfo>

#include "model/BvrProperties.h"
#include "report/AtomicFile.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {
std::string FullPath(const QString& path) {
  return QFileInfo(path).absoluteFilePath().toStdString();
}
}  // namespace

std::string ReadLayoutFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EBvrError(
        Fmt("Cannot open file \"%s\". %s").s(FullPath(path)).s(file.errorString().toStdString()));
  }
  const QByteArray bytes = file.readAll();
  std::string text;
  text.reserve(static_cast<std::size_t>(bytes.size()) + 64);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      text += "\r\n";
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        ++i;
      }
    } else {
      text += c;
    }
  }
  return text;
}

void LoadLayoutAllOrNothing(TBvrProperties& target, const std::string& text) {
  // The copy starts as the target, so values a file does not mention end as loading into
  // the target itself would leave them.
  TBvrProperties candidate;
  candidate.Name = target.Name;
  candidate.Assign(target);
  candidate.readOnly = target.readOnly;
  candidate.Tag = target.Tag;
  candidate.DesignLeft = target.DesignLeft;
  candidate.DesignTop = target.DesignTop;
  candidate.LoadFromText(text);

  target.Assign(candidate);
  target.readOnly = candidate.readOnly;
  target.Tag = candidate.Tag;
  target.DesignLeft = candidate.DesignLeft;
  target.DesignTop = candidate.DesignTop;
  target.UpdateZones();
}

void SaveLayoutFile(const QString& path, const std::string& text) {
  WriteFileAtomically(path, [&text](QIODevice& file) {
    file.write(text.data(), static_cast<qint64>(text.size()));
  });
}

}  // namespace bvr
