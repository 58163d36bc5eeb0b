// The demonstration application's main window: the designer for one slip layout, one sample
// payment (payer address, invoice number, amount), and open, save, preview and close.
#pragma once

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <memory>

#include "model/BvrProperties.h"

namespace bvr {

class TVYKOrangeBVR;
class TFormReportBVR;

// Where the window asks the user for a file name; an empty result means cancelled. Tests
// replace these so that no person is needed.
struct FileDialogs {
  std::function<QString(QWidget* parent, const QString& directory, const QString& fileName)> open;
  std::function<QString(QWidget* parent, const QString& directory, const QString& fileName)> save;
  static FileDialogs Native();
};

// Shows the invoice report; returns when the user has closed it. Tests render instead.
using PreviewRunner = std::function<void(TFormReportBVR& report, QWidget* parent)>;

// Where the file dialogs start: the program's folder when the user may write there and it is
// none of the system's program folders (root may write to /usr/bin, but it is no place for
// layouts), else the user's documents folder.
QString DialogStartDirectory(const QString& programDirectory, const QStringList& systemFolders);
// /usr/bin, /usr/local/bin, /bin and the folder this build installs its programs to.
QStringList SystemProgramFolders();

class TFormConfigBVR : public QWidget {
  Q_OBJECT

 public:
  explicit TFormConfigBVR(QWidget* parent = nullptr);
  ~TFormConfigBVR() override;

  TBvrProperties& BVRPropertiesParams() { return *properties_; }
  TVYKOrangeBVR& OrangeBVR() { return *orangeBVR_; }

  void SetFileDialogs(FileDialogs dialogs) { dialogs_ = std::move(dialogs); }
  void SetPreviewRunner(PreviewRunner runner) { previewRunner_ = std::move(runner); }

  void ButtonOpenClick();
  void ButtonSaveClick();
  void butReportClick();
  void ButtonCloseClick();

  // Whether the layout differs from the one last opened or saved (or shown at start-up).
  bool LayoutModified() const;

 protected:
  // With unsaved changes, asks whether to save them first; the window stays open when the
  // user cancels or the save does not happen.
  void closeEvent(QCloseEvent* event) override;
  // Without a window manager nothing gives the keyboard back when a dialog of this window
  // closes: the window takes it back itself, so that the next key (Ctrl+Z) reaches it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  // The amount field as a number, in the user's notation.
  double AmountValue() const;
  QString DialogDirectory() const;
  // Saves through the save dialog; false when cancelled or failed (the error was shown).
  bool SaveLayout();
  bool MayClose();

  std::unique_ptr<TBvrProperties> properties_;
  TVYKOrangeBVR* orangeBVR_ = nullptr;
  QLabel* labInfo_ = nullptr;
  QPlainTextEdit* memoPayedBy_ = nullptr;
  QLineEdit* editInvoiceNo_ = nullptr;
  QLineEdit* ediAmount_ = nullptr;
  QCheckBox* chkMode_ = nullptr;
  FileDialogs dialogs_ = FileDialogs::Native();
  PreviewRunner previewRunner_;
};

}  // namespace bvr
