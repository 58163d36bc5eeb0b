#include "cli/GuiApplication.h"

#include <unistd.h>

#include <QDir>
#include <QFile>

#include "report/QtFont.h"

namespace bvr::cli {

namespace {

// Qt warns on standard error when the runtime directory is unknown; a tool whose stderr is
// read by scripts gets a private one instead.
void EnsureRuntimeDirectory() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    return;
  }
  const QString dir =
      QDir::tempPath() + QStringLiteral("/bvrslip-runtime-") + QString::number(getuid());
  if (QDir().mkpath(dir)) {
    QFile::setPermissions(dir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
  }
}

}  // namespace

std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) {
    InstallFontSubstitutions();
    return nullptr;
  }
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  EnsureRuntimeDirectory();
  static int argc = 1;
  static char name[] = "bvrslip";
  static char* argv[] = {name, nullptr};
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  InstallFontSubstitutions();
  return app;
}

}  // namespace bvr::cli
