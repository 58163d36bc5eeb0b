#include "qrapp/WindowDialogs.h"

#include <QFileDialog>
#include <QInputDialog>

namespace bvr {

WindowDialogs StandardDialogs() {
  WindowDialogs d;
  d.openFile = [](QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
  };
  d.saveFile = [](QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
  };
  d.askSaveChanges = [](QWidget* parent) {
    return QMessageBox::question(
        parent, "Factures QR", "La facture a été modifiée. Enregistrer les modifications ?",
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  };
  d.chooseQueue = [](QWidget* parent, const QStringList& queues, int current) {
    bool ok = false;
    const QString queue =
        QInputDialog::getItem(parent, "Imprimer", "&Imprimante :", queues, current, false, &ok);
    return ok ? queue : QString();
  };
  d.inform = [](QWidget* parent, const QString& text) {
    QMessageBox::information(parent, "Factures QR", text);
  };
  return d;
}

}  // namespace bvr
