// The questions the window asks a person, as functions, so that tests answer them instead.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace bvr {

struct WindowDialogs {
  // A file to open or to save to; empty when the person cancelled.
  std::function<QString(QWidget*, const QString& title, const QString& filter)> openFile;
  std::function<QString(QWidget*, const QString& title, const QString& filter)> saveFile;
  // Unsaved changes: Save, Discard or Cancel.
  std::function<QMessageBox::StandardButton(QWidget*)> askSaveChanges;
  // The queue to print on, from queues (current: the default's index); empty when cancelled.
  std::function<QString(QWidget*, const QStringList& queues, int current)> chooseQueue;
  // Something the person should know (a job sent, a file read with problems).
  std::function<void(QWidget*, const QString& text)> inform;
};

// The real dialogs, in French.
WindowDialogs StandardDialogs();

}  // namespace bvr
