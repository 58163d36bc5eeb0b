// How the application shows errors: a message box with an error icon and an OK button, titled
// with the application title, the message ending with a full stop. No exception may cross
// Qt's event loop: handlers run their work through Guarded().
#pragma once

#include <QApplication>
#include <QString>
#include <functional>

class QWidget;

namespace bvr {

// The executable's file name without its extension.
QString ApplicationTitle();

// The message as shown: "." appended when it does not already end with one.
QString WithFullStop(const QString& message);

// Shows the error box (modal). Tests replace the presenter to record instead of showing.
using ErrorPresenter =
    std::function<void(QWidget* parent, const QString& title, const QString& message)>;
void ShowErrorMessage(QWidget* parent, const QString& message);
void SetErrorPresenter(ErrorPresenter presenter);  // nullptr restores the message box

// Runs work; any exception it throws is shown with ShowErrorMessage and goes no further.
// Returns false when the work failed.
bool Guarded(QWidget* parent, const std::function<void()>& work);

// Last line of defence: an exception escaping any event handler is shown, not propagated.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace bvr
