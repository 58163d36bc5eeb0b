#include "report/PrinterOffsets.h"

#include <QSettings>
#include <QString>

#include "strings/BvrError.h"

namespace bvr {

namespace {

QSettings Settings() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("bvrslip"),
                   QStringLiteral("printers"));
}

// Queue names hold no "/" in CUPS, but a key with one would land in a sub-group.
QString KeyOf(const std::string& queue) {
  return QStringLiteral("offsets/") + QString::fromStdString(queue).replace('/', '_');
}

}  // namespace

std::string PrinterSettingsPath() {
  return Settings().fileName().toStdString();
}

PrinterOffset StoredPrinterOffset(const std::string& queue) {
  // Written by hand without quotes, "12,-3" reads as a list of two.
  const QString text = Settings().value(KeyOf(queue)).toStringList().join(',');
  const QStringList parts = text.split(',');
  if (parts.size() != 2) {
    return {};
  }
  bool okX = false;
  bool okY = false;
  const int dx = parts[0].trimmed().toInt(&okX);
  const int dy = parts[1].trimmed().toInt(&okY);
  if (!okX || !okY) {
    return {};
  }
  return {dx, dy};
}

void StorePrinterOffset(const std::string& queue, PrinterOffset offset) {
  QSettings settings = Settings();
  settings.setValue(KeyOf(queue), QStringLiteral("%1,%2").arg(offset.dx).arg(offset.dy));
  settings.sync();
  if (settings.status() != QSettings::NoError) {
    throw EBvrError(Fmt("Cannot write \"%s\"").s(settings.fileName().toStdString()));
  }
}

}  // namespace bvr
