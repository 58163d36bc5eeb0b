// The bill's problems shown where they are: a red line under the field, the field marked
// (property "problem", which the window's style sheet draws) and the message as its tooltip.
// Problems of no field on the form go to one general line.
#pragma once

#include <QString>
#include <map>
#include <string>
#include <vector>

#include "qrbill/Problem.h"

class QLabel;
class QWidget;

namespace bvr {

class ProblemMarks {
 public:
  // The label that shows general problems (payload size, alternatives).
  explicit ProblemMarks(QLabel* general) : general_(general) {}
  // field: the problem's path ("creditor.name"); label: the line under the field's row;
  // name: said before the message where two fields share a row ("NPA : obligatoire").
  void Add(const std::string& field, QWidget* widget, QLabel* label, const QString& name = {});
  // Clears every mark, then marks problems' fields.
  void Show(const qr::Problems& problems);

  // A red, wrapping, hidden label for a row's problems, named "problem_" + name.
  static QLabel* MakeLabel(const QString& name);

 private:
  struct Place {
    QWidget* widget;
    QLabel* label;
    QString name;
  };
  std::map<std::string, Place> places_;
  QLabel* general_;
};

}  // namespace bvr
