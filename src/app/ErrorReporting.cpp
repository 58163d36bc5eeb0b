#include "app/ErrorReporting.h"

#include <QFileInfo>
#include <QMessageBox>
#include <exception>

namespace bvr {

namespace {
ErrorPresenter& Presenter() {
  static ErrorPresenter presenter;
  return presenter;
}
}  // namespace

QString ApplicationTitle() {
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString WithFullStop(const QString& message) {
  return message.endsWith('.') ? message : message + '.';
}

void SetErrorPresenter(ErrorPresenter presenter) {
  Presenter() = std::move(presenter);
}

void ShowErrorMessage(QWidget* parent, const QString& message) {
  const QString text = WithFullStop(message);
  if (Presenter()) {
    Presenter()(parent, ApplicationTitle(), text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, parent);
  box.setObjectName("ErrorMessageBox");
  box.exec();
}

bool Guarded(QWidget* parent, const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const std::exception& e) {
    ShowErrorMessage(parent, QString::fromStdString(e.what()));
  } catch (...) {
    ShowErrorMessage(parent, QStringLiteral("Unexpected error"));
  }
  return false;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  Guarded(nullptr, [&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace bvr
