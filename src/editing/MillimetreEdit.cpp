#include "editing/MillimetreEdit.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

#include "editing/UserNumbers.h"
#include "editing/VYKBVREdit.h"

namespace bvr {

MillimetreValidator::MillimetreValidator(QObject* parent) : QValidator(parent) {}

QValidator::State MillimetreValidator::validate(QString& input, int& /*pos*/) const {
  const QChar separator = UserDecimalSeparator();
  for (QChar& c : input) {
    if (IsDecimalSeparator(c)) {
      c = separator;
    }
  }
  const QRegularExpression shape(
      QStringLiteral("^-?[0-9]*(%1[0-9]*)?$").arg(QRegularExpression::escape(QString(separator))));
  if (!shape.match(input).hasMatch()) {
    return Invalid;
  }
  QString number = input;
  number.replace(separator, QChar(u'.'));
  bool ok = false;
  const double millimetres = number.toDouble(&ok);
  if (!ok) {
    return Intermediate;  // "", "-", "." read as 0
  }
  const double tenths = std::nearbyint(millimetres * 10.0);
  if (std::fabs(tenths) > static_cast<double>(limit_) ||
      tenths > std::numeric_limits<std::int32_t>::max()) {
    return Invalid;
  }
  return Acceptable;
}

void MillimetreValidator::AllowUpTo(std::int32_t tenths) {
  limit_ = std::max<std::int64_t>(kTypedTenthsLimit, std::abs(static_cast<std::int64_t>(tenths)));
}

void MakeMillimetreEdit(TVYKEdit& edit) {
  edit.SetKeyFilter(DecimalKeyFilter);
  edit.setValidator(new MillimetreValidator(&edit));
}

void ShowTenths(TVYKEdit& edit, std::int32_t tenths) {
  if (auto* validator = edit.findChild<MillimetreValidator*>()) {
    validator->AllowUpTo(tenths);
  }
  edit.SetProgramText(TenthsToMillimetreText(tenths));
}

}  // namespace bvr
