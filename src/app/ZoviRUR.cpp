// The demonstration application: one window, the slip designer with open, save and preview.
#include "app/ErrorReporting.h"
#include "app/UConfigBVR.h"
#include "report/QtFont.h"

int main(int argc, char** argv) {
  bvr::GuardedApplication app(argc, argv);
  app.setApplicationName(bvr::ApplicationTitle());
  bvr::InstallFontSubstitutions();
  bvr::TFormConfigBVR window;
  window.show();
  return app.exec();
}
