// The one place where the model's font and colour values become Qt's, and where the font
// names the layouts use are mapped to faces this machine has.
#pragma once

#include <QColor>
#include <QFont>

#include "draw/Canvas.h"
#include "model/Font.h"

namespace bvr {

// Maps, once per process, "OCR-B" to the installed "OCR B", "Courrier New" to a monospace
// face, "arial" to Liberation Sans and "MS Sans Serif" to the platform's UI font. Idempotent.
void InstallFontSubstitutions();

// The model font as a QFont: face, size in points (from the height at the font's
// resolution), bold, italic, underline, strike-out.
QFont ToQFont(const TFont& font);

// The canvas font as a QFont, fractional point size kept. A Scalable font comes at
// kScalablePixels whatever its size, to be drawn and measured scaled by ScalableFactor: Qt
// rounds a font's size to whole pixels on each device, which would make widths differ from
// one resolution to another by up to a pixel an em (a 7 pt line 3 % wider at 150 dpi).
QFont ToQFont(const CanvasFont& font);
inline constexpr int kScalablePixels = 64;

// Device units per pixel of ToQFont(font) on a device of dpi: 1 unless the font is Scalable.
double ScalableFactor(const CanvasFont& font, double dpi);

// A model colour (0x00BBGGRR, or a system colour index with the top byte 0xFF) as a QColor.
// System colours take fixed, conventional values so that output does not depend on a theme.
QColor ToQColor(TColor color);

}  // namespace bvr
