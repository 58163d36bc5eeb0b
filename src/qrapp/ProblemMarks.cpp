#include "qrapp/ProblemMarks.h"

#include <QLabel>
#include <QStyle>
#include <QWidget>
#include <set>

namespace bvr {

namespace {

void Mark(QWidget* widget, const QString& message) {
  const bool problem = !message.isEmpty();
  if (widget->property("problem").toBool() != problem) {
    widget->setProperty("problem", problem);
    widget->style()->unpolish(widget);  // the style sheet reads the property when polished
    widget->style()->polish(widget);
  }
  widget->setToolTip(message);
}

void Append(QLabel* label, const QString& line) {
  label->setText(label->text().isEmpty() ? line : label->text() + "\n" + line);
}

}  // namespace

QLabel* ProblemMarks::MakeLabel(const QString& name) {
  auto* label = new QLabel;
  label->setObjectName("problem_" + name);
  label->setWordWrap(true);
  label->setStyleSheet("color: #b00000;");
  label->hide();
  return label;
}

void ProblemMarks::Add(const std::string& field, QWidget* widget, QLabel* label,
                       const QString& name) {
  places_[field] = {widget, label, name};
}

void ProblemMarks::Show(const qr::Problems& problems) {
  std::set<QLabel*> labels = {general_};
  for (const auto& [field, place] : places_) {
    labels.insert(place.label);
  }
  for (QLabel* label : labels) {
    label->clear();
  }
  std::map<QWidget*, QString> messages;
  for (const auto& [field, place] : places_) {
    messages[place.widget];
  }
  for (const qr::Problem& problem : problems) {
    const QString message = QString::fromStdString(problem.message);
    // "alternatives[1]" and "payload" have no field here; "creditor" alone is its name's.
    auto place = places_.find(problem.field);
    if (place == places_.end()) {
      place = places_.find(problem.field + ".name");
    }
    if (place == places_.end()) {
      Append(general_, QString::fromStdString(problem.Text()));
      continue;
    }
    const QString& name = place->second.name;
    Append(place->second.label, name.isEmpty() ? message : name + " : " + message);
    QString& shown = messages[place->second.widget];
    shown = shown.isEmpty() ? message : shown + "\n" + message;
  }
  for (const auto& [widget, message] : messages) {
    Mark(widget, message);
  }
  for (QLabel* label : labels) {
    label->setVisible(!label->text().isEmpty());
  }
}

}  // namespace bvr
