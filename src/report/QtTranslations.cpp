#include "report/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace bvr {

bool InstallToolkitTranslations() {
  static bool installed = false;
  QCoreApplication* app = QCoreApplication::instance();
  if (installed || app == nullptr) {
    return installed;
  }
  // Owned by the application; "qt_fr" is the meta catalogue that pulls in qtbase_fr.
  auto* translator = new QTranslator(app);
  if (!translator->load(QStringLiteral("qt_fr"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  installed = QCoreApplication::installTranslator(translator);
  return installed;
}

}  // namespace bvr
