// The common frame of the zone dialogs: fixed size, centred on the screen, the bottom panel
// with "&OK" (default button) and "&Annuler", and a modal Execute. No button is a cancel
// button: Escape does nothing, while "&Annuler" and the window's close box still cancel.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

namespace bvr {

class TVYKEdit;

// A label sized to its text at (x, y) of its parent.
QLabel* AddLabel(QWidget* parent, const char* objectName, const QString& text, int x, int y);
// An edit at the given bounds of its parent.
TVYKEdit* AddEdit(QWidget* parent, const char* objectName, const QRect& bounds);
// A word-wrapped label at the given bounds.
QLabel* AddWrappedLabel(QWidget* parent, const char* objectName, const QString& text,
                        const QRect& bounds);
// When the label's text needs more lines than its height allows (fonts differ between
// platforms), the label grows and pushes down what lies below it, up to the dialog, which
// grows too. Call it once every control exists, for the labels from the top down.
void FitWrappedLabel(QLabel* label);
// A string of the string table as a QString.
QString ResString(int id);

class TVYKDialog : public QDialog {
 public:
  // clientWidth x clientHeight pixels; the bottom panel takes the last 36.
  TVYKDialog(QWidget* parent, const QString& objectName, int clientWidth, int clientHeight);

  // Shows the dialog modally; true only when it was closed with "&OK".
  bool Execute();

  // OK: the last corrections first, then close.
  void accept() override;

 protected:
  // Runs only when the dialog closes with OK, before it closes.
  virtual void FormCloseQuery() {}

  void keyPressEvent(QKeyEvent* event) override;

  QWidget* BottomPanel() const { return pnlBottom_; }
  QPushButton* OkButton() const { return butOk_; }
  QPushButton* CancelButton() const { return butCancel_; }

 private:
  QWidget* pnlBottom_;
  QPushButton* butOk_;
  QPushButton* butCancel_;
};

}  // namespace bvr
