#include "cli/GuiApplication.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <QDir>
#include <QFile>

#include "report/QtFont.h"

namespace bvr::cli {

namespace {

// A folder at the predictable path is used only when it is a real directory of ours that no
// one else can enter: another user may have planted a link or a folder there.
bool IsPrivateDirectory(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
         (info.st_mode & 07777) == 0700;
}

std::string& CreatedRuntimeDirectory() {
  static std::string path;
  return path;
}

// Only an empty folder is removed: whatever Qt left inside stays, and nothing else is touched.
void RemoveCreatedRuntimeDirectory() {
  ::rmdir(CreatedRuntimeDirectory().c_str());
}

// Qt warns on standard error when the runtime directory is unknown; a tool whose stderr is
// read by scripts gets a private one instead. Never chmods: what is not already private is
// left alone and a fresh folder is made beside it.
void EnsureRuntimeDirectory() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    return;
  }
  const std::string base = QFile::encodeName(QDir::tempPath()).toStdString() + "/bvrslip-runtime-" +
                           std::to_string(::getuid());
  // mkdir neither follows a link nor changes an existing folder.
  ::mkdir(base.c_str(), 0700);
  if (IsPrivateDirectory(base)) {
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(base));
    return;
  }
  std::string fresh = base + "-XXXXXX";
  if (::mkdtemp(fresh.data()) == nullptr) {
    return;
  }
  CreatedRuntimeDirectory() = fresh;
  std::atexit(RemoveCreatedRuntimeDirectory);
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(fresh));
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
