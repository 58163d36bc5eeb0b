#include "editing/FontConversion.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <cstdlib>

#include "numbers/Conversions.h"
#include "report/QtFont.h"

namespace bvr {

namespace {

// The face's own name for the style that has this weight and slant ("Italic", "Oblique",
// "Bold Italic"): without it the dialog guesses from a generic name and may pick
// "Bold Italic" for an italic font.
QString StyleNameOf(const QString& family, bool bold, bool italic) {
  QString best;
  int bestDistance = 0;
  const int wanted = bold ? QFont::Bold : QFont::Normal;
  for (const QString& style : QFontDatabase::styles(family)) {
    if (QFontDatabase::italic(family, style) != italic) {
      continue;
    }
    const int distance = std::abs(QFontDatabase::weight(family, style) - wanted);
    if (best.isEmpty() || distance < bestDistance) {
      best = style;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace

QFont OfferedFont(const TFont& font) {
  QFont offered = ToQFont(font);
  const QString family = QFontInfo(offered).family();
  offered.setFamily(family);
  const QString style = StyleNameOf(family, offered.bold(), offered.italic());
  if (!style.isEmpty()) {
    offered.setStyleName(style);
  }
  return offered;
}

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
