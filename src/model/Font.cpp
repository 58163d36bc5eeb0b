#include "model/Font.h"

#include <array>

#include "numbers/Conversions.h"

namespace bvr {

std::uint32_t RgbOf(TColor color) {
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
    return index < kSystem.size() ? kSystem[index] : 0x000000;
  }
  if (color == clNone || color == clDefault) {
    return 0x000000;
  }
  return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

TFont::TFont(int pixelsPerInch) : pixelsPerInch_(pixelsPerInch) {}

void TFont::Assign(const TPersistent& source) {
  const auto* font = dynamic_cast<const TFont*>(&source);
  if (font == nullptr) {
    AssignError(source);
  }
  charset_ = font->charset_;
  color_ = font->color_;
  height_ = font->height_;
  name_ = font->name_;
  orientation_ = font->orientation_;
  pitch_ = font->pitch_;
  style_ = font->style_;
  pixelsPerInch_ = font->pixelsPerInch_;
}

std::int32_t TFont::Size() const {
  if (pixelsPerInch_ <= 0) {
    return 0;
  }
  return RoundHalfEven(-static_cast<double>(height_) * 72.0 / pixelsPerInch_);
}

void TFont::SetSize(std::int32_t points) {
  height_ = -RoundHalfEven(static_cast<double>(points) * pixelsPerInch_ / 72.0);
}

namespace {

const TFont& F(const TPersistent& p) {
  return static_cast<const TFont&>(p);
}
TFont& F(TPersistent& p) {
  return static_cast<TFont&>(p);
}
std::int32_t I32(std::int64_t v) {
  return static_cast<std::int32_t>(v);
}

const std::array kFontProps = {
    PropInfo{.name = "Charset",
             .kind = PropKind::Charset,
             .getOrdinal = [](const TPersistent& p) -> std::int64_t { return F(p).Charset(); },
             .setOrdinal = [](TPersistent& p,
                              std::int64_t v) { F(p).SetCharset(static_cast<TFontCharset>(v)); }},
    PropInfo{.name = "Color",
             .kind = PropKind::Color,
             .getOrdinal = [](const TPersistent& p) -> std::int64_t { return F(p).Color(); },
             .setOrdinal = [](TPersistent& p, std::int64_t v) { F(p).SetColor(I32(v)); }},
    PropInfo{.name = "Height",
             .kind = PropKind::Integer,
             .getOrdinal = [](const TPersistent& p) -> std::int64_t { return F(p).Height(); },
             .setOrdinal = [](TPersistent& p, std::int64_t v) { F(p).SetHeight(I32(v)); }},
    PropInfo{.name = "Name",
             .kind = PropKind::String,
             .storedWhenEmpty = true,
             .getString = [](const TPersistent& p) { return F(p).Name(); },
             .setString = [](TPersistent& p, const std::string& v) { F(p).SetName(v); }},
    PropInfo{.name = "Orientation",
             .kind = PropKind::Integer,
             .hasDefault = true,
             .defaultValue = 0,
             .getOrdinal = [](const TPersistent& p) -> std::int64_t { return F(p).Orientation(); },
             .setOrdinal = [](TPersistent& p, std::int64_t v) { F(p).SetOrientation(I32(v)); }},
    PropInfo{.name = "Pitch",
             .kind = PropKind::Pitch,
             .hasDefault = true,
             .defaultValue = 0,
             .getOrdinal = [](const TPersistent& p) -> std::int64_t {
               return static_cast<std::int64_t>(F(p).Pitch());
             },
             .setOrdinal = [](TPersistent& p,
                              std::int64_t v) { F(p).SetPitch(static_cast<TFontPitch>(v)); }},
    PropInfo{.name = "Size",
             .kind = PropKind::Integer,
             .stored = false,
             .getOrdinal = [](const TPersistent& p) -> std::int64_t { return F(p).Size(); },
             .setOrdinal = [](TPersistent& p, std::int64_t v) { F(p).SetSize(I32(v)); }},
    PropInfo{.name = "Style",
             .kind = PropKind::FontStyle,
             .getOrdinal = [](const TPersistent& p) -> std::int64_t { return F(p).Style(); },
             .setOrdinal = [](TPersistent& p,
                              std::int64_t v) { F(p).SetStyle(static_cast<TFontStyles>(v)); }},
};

}  // namespace

std::span<const PropInfo> TFont::Properties() const {
  return kFontProps;
}

}  // namespace bvr
