// "Calibrer l'imprimante...": prints the calibration page on a queue with its stored offset,
// takes the three ruler measures of `bvrslip calibrate` (X, Y of the 3 cm mark, its length),
// warns of a printer that scales and stores the corrected offset.
#pragma once

#include <QDialog>
#include <optional>

#include "printing/Calibration.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace bvr {

class CalibrationDialog : public QDialog {
  Q_OBJECT

 public:
  // queues: the print server's (empty: asked of the server).
  explicit CalibrationDialog(QWidget* parent = nullptr, QStringList queues = {});

  // Stores the offset the measures give; the text shown, which says what was done.
  void Apply();

 private:
  std::string Queue() const;
  void ShowStored();
  void PrintPage();

  QComboBox* queue_ = nullptr;
  QLabel* stored_ = nullptr;
  QLineEdit* x_ = nullptr;
  QLineEdit* y_ = nullptr;
  QLineEdit* length_ = nullptr;
  QLabel* result_ = nullptr;
  PaperPoint nominal_;
};

// A measure typed with a decimal comma or point, in millimetres.
std::optional<double> MeasureOf(const QString& text);

}  // namespace bvr
