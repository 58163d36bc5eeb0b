#include "editing/UserNumbers.h"

#include <QLineEdit>
#include <QLocale>
#include <optional>

#include "numbers/Conversions.h"

namespace bvr {

QChar UserDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? QChar(u'.') : point.front();
}

QString TenthsToMillimetreText(std::int32_t tenths) {
  QString text = QString::fromStdString(FormatGeneral(tenths / 10.0, '.'));
  text.replace(QChar(u'.'), UserDecimalSeparator());
  return text;
}

std::int32_t MillimetreTextToTenths(const QString& text) {
  const QChar separator = UserDecimalSeparator();
  QString normal = text;
  if (separator != u'.') {
    // A point is no separator here: make it unreadable before the user's one becomes '.'.
    if (normal.contains(u'.')) {
      return 0;
    }
    normal.replace(separator, QChar(u'.'));
  }
  const std::optional<double> millimetres = TryStrToFloat(normal.toStdString(), '.');
  return millimetres ? RoundHalfEven(*millimetres * 10.0) : 0;
}

std::int32_t IntegerTextOrZero(const QString& text) {
  return TryStrToInt(text.toStdString()).value_or(0);
}

bool DigitKeyFilter(const QLineEdit& /*edit*/, QChar typed) {
  return IsAsciiDigit(typed) || typed == kBackspace || typed == kEnter;
}

bool DecimalKeyFilter(const QLineEdit& edit, QChar typed) {
  if (DigitKeyFilter(edit, typed)) {
    return true;
  }
  const QChar separator = UserDecimalSeparator();
  return typed == separator && !edit.text().contains(separator);
}

}  // namespace bvr
