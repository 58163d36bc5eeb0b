// The demonstration application: one window, the slip designer with open, save and preview.
#include "app/ErrorReporting.h"
#include "app/UConfigBVR.h"
#include "report/QtFont.h"
#include "report/QtTranslations.h"

int main(int argc, char** argv) {
  bvr::GuardedApplication app(argc, argv);
  app.setApplicationName(bvr::ApplicationTitle());
  bvr::InstallFontSubstitutions();
  if (!bvr::InstallToolkitTranslations()) {
    qWarning(
        "Qt's French translations are not installed (qt6-translations-l10n): the "
        "toolkit's own dialogs will speak English");
  }
  bvr::TFormConfigBVR window;
  window.show();
  return app.exec();
}
