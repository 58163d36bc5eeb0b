// Factures QR: the QR-bill window. A bill file given on the command line opens at start-up.
#include <QTimer>

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
  QStringList args = QApplication::arguments().mid(1);
  // --capture FILE.png: the window's picture, for the documentation, then quit.
  QString capture;
  if (const auto at = args.indexOf("--capture"); at >= 0 && at + 1 < args.size()) {
    capture = args.at(at + 1);
    args.remove(at, 2);
  }
  bvr::QrBillWindow window;
  window.show();
  if (!args.isEmpty()) {
    window.OpenFile(args.front());
  }
  if (!capture.isEmpty()) {
    QTimer::singleShot(500, &window, [&] {
      const bool saved = window.grab().save(capture);
      window.setWindowModified(false);
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}
