// Factures QR: the QR-bill window. A bill file given on the command line opens at start-up.
#include "app/ErrorReporting.h"
#include "qrapp/QrBillWindow.h"
#include "report/QtFont.h"
#include "report/QtTranslations.h"

int main(int argc, char** argv) {
  bvr::GuardedApplication app(argc, argv);
  app.setApplicationName("factures-qr");
  app.setApplicationDisplayName("Factures QR");
  app.setOrganizationName("bvrslip");
  bvr::InstallFontSubstitutions();
  if (!bvr::InstallToolkitTranslations()) {
    qWarning(
        "Qt's French translations are not installed (qt6-translations-l10n): the "
        "toolkit's own dialogs will speak English");
  }
  bvr::QrBillWindow window;
  window.show();
  const QStringList args = QApplication::arguments();
  if (args.size() > 1) {
    window.OpenFile(args.at(1));
  }
  return app.exec();
}
