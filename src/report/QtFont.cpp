#include "report/QtFont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <array>

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
  const auto value = static_cast<std::uint32_t>(color);
  if ((value & 0xFF000000u) == 0xFF000000u) {
    // Conventional values of the system colours. Inactive caption text (19) is the light grey
    // of the classic scheme: the calibration overlay shades a whole slip with it.
    static constexpr std::array<std::uint32_t, 31> kSystem = {
        0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
        0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
        0xA0A0A0, 0x6D6D6D, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
        0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};
    const std::uint32_t index = value & 0xFFu;
    const std::uint32_t rgb = index < kSystem.size() ? kSystem[index] : 0x000000;
    return QColor::fromRgb(rgb);  // RRGGBB
  }
  if (color == clNone || color == clDefault) {
    return QColor(Qt::black);
  }
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

}  // namespace bvr
