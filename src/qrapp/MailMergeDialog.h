// "Publipostage...": the window's bill as template, a CSV picked, its rows counted and every
// row problem listed (row, field, message) before anything is written; the rows stepped
// through in a preview; then one PDF or one print job, with a progress bar and a cancel.
#pragma once

#include <QDialog>
#include <QString>

#include "qrapp/BillOutput.h"
#include "qrapp/MailMerge.h"
#include "qrapp/WindowDialogs.h"
#include "qrbill/Bill.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace bvr {

class BillPreview;

class MailMergeDialog : public QDialog {
  Q_OBJECT

 public:
  MailMergeDialog(qr::Bill templateBill, BillPrinting printing, const QString& layoutPath,
                  WindowDialogs dialogs, QWidget* parent = nullptr);

  // Reads and checks every row; false (the error shown) when the file is refused whole.
  bool LoadCsv(const QString& path);
  // Writes the PDF; false when cancelled or failed (no file then).
  bool WritePdf(const QString& path);
  const MergeReading& Reading() const { return reading_; }

 private:
  void ShowRow(int row);
  void ChooseCsv();
  void ChoosePdf();
  void Print();
  bool Run(const std::function<void(const MergeProgress&)>& work);

  qr::Bill template_;
  BillPrinting printing_;
  QString layoutPath_;
  WindowDialogs dialogs_;
  MergeReading reading_;
  QString csvPath_;

  QLineEdit* csv_ = nullptr;
  QComboBox* encoding_ = nullptr;
  QLabel* count_ = nullptr;
  QTableWidget* problems_ = nullptr;
  QSpinBox* row_ = nullptr;
  BillPreview* preview_ = nullptr;
  QPushButton* writePdf_ = nullptr;
  QPushButton* print_ = nullptr;
};

}  // namespace bvr
