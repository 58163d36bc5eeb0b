// Numbers as the user sees and types them: millimetres with the user's decimal separator, and
// the per-character key filters of the dialogs' edits. Showing, filtering and parsing all use
// the same separator (QLocale()), so a value shown can always be read back.
#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

class QLineEdit;

namespace bvr {

// The decimal separator of the user's locale (QLocale(), i.e. the default locale).
QChar UserDecimalSeparator();

// A point or a comma, whatever the locale, or the user's own separator: all are read as the
// decimal separator, so that 9.5 typed under a comma locale is not taken for 95.
bool IsDecimalSeparator(QChar c);

// Tenths of a millimetre as millimetres: 26 -> "2.6" (user's separator), 550 -> "55", -5 -> "-0.5".
QString TenthsToMillimetreText(std::int32_t tenths);

// Millimetre text back to tenths, halves to the even neighbour (1.25 -> 12, 1.75 -> 18), with
// any decimal separator. Empty or unreadable text (two separators included) gives 0.
std::int32_t MillimetreTextToTenths(const QString& text);

// Decimal integer text; 0 when empty or not an integer.
std::int32_t IntegerTextOrZero(const QString& text);

// Control characters as typed: Backspace and Enter.
inline constexpr char16_t kBackspace = 8;
inline constexpr char16_t kEnter = 13;

inline bool IsAsciiDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

// Digits, Backspace and Enter; a decimal separator only while the edit's whole text holds
// none (even when the existing one is selected and would be replaced).
bool DecimalKeyFilter(const QLineEdit& edit, QChar typed);

// Digits, Backspace and Enter.
bool DigitKeyFilter(const QLineEdit& edit, QChar typed);

}  // namespace bvr
