// "Factures QR": one window to fill in a QR-bill, see it as it will print, and print, export
// or mail-merge it. The form on the left, the live preview on the right; the bill's problems
// at their fields, print and export disabled while there are any.
#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "qrapp/BillOutput.h"
#include "qrapp/WindowDialogs.h"
#include "qrbill/Bill.h"
#include "qrbill/Problem.h"

class QAction;
class QLabel;
class QSettings;

namespace bvr {

class BillForm;
class BillPreview;

class QrBillWindow : public QMainWindow {
  Q_OBJECT

 public:
  // settingsPath: the file the creditor and the print settings are kept in (empty: the
  // user's, ~/.config/bvrslip/factures-qr.conf).
  explicit QrBillWindow(const QString& settingsPath = {}, QWidget* parent = nullptr);
  ~QrBillWindow() override;

  void SetDialogs(WindowDialogs dialogs) { dialogs_ = std::move(dialogs); }

  qr::Bill Bill() const;
  BillPrinting Printing() const;
  const qr::Problems& Problems() const { return problems_; }
  BillForm& Form() { return *form_; }
  BillPreview& Preview() { return *preview_; }

  // Each shows its own error box and returns false when it failed.
  bool OpenFile(const QString& path);
  bool SaveFile(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void MakeActions();
  void MakeMenusAndToolBar();
  void Refresh();
  void LoadSettings();
  void StoreCreditor();
  void SetFilePath(const QString& path);
  // False when the person cancelled, or saving failed.
  bool MaySetAside();

  void New();
  void Open();
  bool Save();
  bool SaveAs();
  void Export();
  void Print();
  void Calibrate();
  void MailMerge();
  void ChooseLayout();

  std::unique_ptr<QSettings> settings_;
  WindowDialogs dialogs_;
  BillForm* form_ = nullptr;
  BillPreview* preview_ = nullptr;
  QLabel* status_ = nullptr;
  qr::Problems problems_;
  QString filePath_;
  bool loading_ = false;

  QAction* new_ = nullptr;
  QAction* open_ = nullptr;
  QAction* save_ = nullptr;
  QAction* saveAs_ = nullptr;
  QAction* export_ = nullptr;
  QAction* print_ = nullptr;
  QAction* calibrate_ = nullptr;
  QAction* mailMerge_ = nullptr;
  QAction* quit_ = nullptr;
};

}  // namespace bvr
