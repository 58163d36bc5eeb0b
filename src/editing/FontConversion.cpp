#include "editing/FontConversion.h"

#include <QFontInfo>

#include "numbers/Conversions.h"
#include "report/QtFont.h"

namespace bvr {

void FromQFont(const QFont& chosen, TFont& font) {
  const QString current = QString::fromStdString(font.Name());
  if (current != chosen.family() && QFontInfo(ToQFont(font)).family() != chosen.family()) {
    font.SetName(chosen.family().toStdString());
  }
  if (chosen.pointSizeF() > 0) {
    const std::int32_t points = RoundHalfEven(chosen.pointSizeF());
    if (points != font.Size()) {
      font.SetSize(points);
    }
  } else if (chosen.pixelSize() > 0) {
    font.SetHeight(-chosen.pixelSize());
  }
  unsigned style = 0;
  const auto add = [&style](bool on, TFontStyle bit) {
    if (on) {
      style |= bit;
    }
  };
  add(chosen.bold(), fsBold);
  add(chosen.italic(), fsItalic);
  add(chosen.underline(), fsUnderline);
  add(chosen.strikeOut(), fsStrikeOut);
  font.SetStyle(static_cast<TFontStyles>(style));
}

}  // namespace bvr
