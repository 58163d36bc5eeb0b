#include "model/Font.h"

#include <array>

#include "numbers/Conversions.h"

namespace bvr {

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
