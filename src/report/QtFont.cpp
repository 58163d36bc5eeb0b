#include "report/QtFont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace bvr {

void InstallFontSubstitutions() {
  static bool installed = false;
  if (installed) {
    return;
  }
  installed = true;
  QFont::insertSubstitutions("OCR-B", {"OCR B", "OCR-B 10 BT", "OCRB"});
  QFont::insertSubstitutions("Courrier New",
                             {"Courier New", "Liberation Mono", "DejaVu Sans Mono"});
  QFont::insertSubstitutions("arial", {"Liberation Sans", "Arial", "DejaVu Sans"});
  QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
  QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "DejaVu Serif"});
  const QString ui = QGuiApplication::instance() != nullptr
                         ? QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()
                         : QStringLiteral("DejaVu Sans");
  // Liberation Sans first: its widths are close to the old dialog font, so captions laid out
  // for that font still fit their controls.
  QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", ui, "DejaVu Sans"});
}

QFont ToQFont(const TFont& font) {
  QFont q(QString::fromStdString(font.Name()));
  const int points = font.Size();
  q.setPointSize(points > 0 ? points : 1);
  q.setBold(font.HasStyle(fsBold));
  q.setItalic(font.HasStyle(fsItalic));
  q.setUnderline(font.HasStyle(fsUnderline));
  q.setStrikeOut(font.HasStyle(fsStrikeOut));
  if (font.Pitch() == TFontPitch::fpFixed) {
    q.setFixedPitch(true);
  }
  return q;
}

QFont ToQFont(const CanvasFont& font) {
  QFont q(QString::fromStdString(font.Name));
  q.setPointSizeF(font.Size > 0 ? font.Size : 1.0);
  q.setBold((font.Style & fsBold) != 0);
  q.setItalic((font.Style & fsItalic) != 0);
  q.setUnderline((font.Style & fsUnderline) != 0);
  q.setStrikeOut((font.Style & fsStrikeOut) != 0);
  if (font.Scalable) {
    q.setPixelSize(kScalablePixels);
    q.setHintingPreference(QFont::PreferNoHinting);
  }
  return q;
}

double ScalableFactor(const CanvasFont& font, double dpi) {
  return font.Scalable ? font.Size * dpi / 72.0 / kScalablePixels : 1.0;
}

QColor ToQColor(TColor color) {
  return QColor::fromRgb(RgbOf(color));
}

}  // namespace bvr
