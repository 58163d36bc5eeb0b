// The font value of a zone: the platform font's attributes, with the size in points derived
// from the height at the font's resolution (96 pixels per inch unless told otherwise).
#pragma once

#include <cstdint>
#include <string>

#include "model/Persistent.h"

namespace bvr {

using TColor = std::int32_t;

// Colours: fixed ones are 0x00BBGGRR, system ones the index with the top byte 0xFF.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor SystemColor(int index) {
  return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index));
}
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The colour as 0xRRGGBB: system colours by their conventional values, none and default
// black.
std::uint32_t RgbOf(TColor color);

using TFontCharset = std::uint8_t;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

enum class TFontPitch : std::uint8_t { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

class TFont : public TPersistent {
 public:
  static constexpr int kDefaultPixelsPerInch = 96;

  explicit TFont(int pixelsPerInch = kDefaultPixelsPerInch);

  std::string_view ClassName() const override { return "TFont"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;

  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset v) { charset_ = v; }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  // Negative: character height in pixels without internal leading; positive: cell height.
  std::int32_t Height() const { return height_; }
  void SetHeight(std::int32_t v) { height_ = v; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& v) { name_ = v; }
  std::int32_t Orientation() const { return orientation_; }
  void SetOrientation(std::int32_t v) { orientation_ = v; }
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch v) { pitch_ = v; }
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v) { style_ = v; }
  bool HasStyle(TFontStyle s) const { return (style_ & s) != 0; }

  // Size in points: the nearest integer to -Height * 72 / PixelsPerInch.
  std::int32_t Size() const;
  // Stores Height = -(nearest integer to size * PixelsPerInch / 72).
  void SetSize(std::int32_t points);

  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }

 private:
  TFontCharset charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  std::int32_t height_ = -11;  // 8 points at 96 pixels per inch
  std::string name_ = "MS Sans Serif";
  std::int32_t orientation_ = 0;
  TFontPitch pitch_ = TFontPitch::fpDefault;
  TFontStyles style_ = 0;
  int pixelsPerInch_;
};

}  // namespace bvr
