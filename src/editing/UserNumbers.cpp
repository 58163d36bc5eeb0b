#include "editing/UserNumbers.h"

#include <QLineEdit>
#include <QLocale>
#include <algorithm>
#include <optional>

#include "numbers/Conversions.h"

namespace bvr {

QChar UserDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? QChar(u'.') : point.front();
}

bool IsDecimalSeparator(QChar c) {
  return c == u'.' || c == u',' || c == UserDecimalSeparator();
}

QString TenthsToMillimetreText(std::int32_t tenths) {
  QString text = QString::fromStdString(FormatGeneral(tenths / 10.0, '.'));
  text.replace(QChar(u'.'), UserDecimalSeparator());
  return text;
}

std::int32_t MillimetreTextToTenths(const QString& text) {
  QString normal = text;
  int separators = 0;
  for (QChar& c : normal) {
    if (IsDecimalSeparator(c)) {
      c = u'.';
      ++separators;
    }
  }
  if (separators > 1) {
    return 0;
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
  const QString text = edit.text();
  return IsDecimalSeparator(typed) &&
         std::none_of(text.begin(), text.end(), [](QChar c) { return IsDecimalSeparator(c); });
}

}  // namespace bvr
