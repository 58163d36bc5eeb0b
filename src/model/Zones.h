// Zones: the rectangles of the slip in which one item is printed, in tenths of a millimetre
// from the slip's top-left corner, and the offsets that place the coding line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Font.h"
#include "model/Persistent.h"
#include "model/ZoneShape.h"

namespace bvr {

class TBvrProperties;

inline constexpr std::int32_t kSlipWidth = 2100;   // 210 mm
inline constexpr std::int32_t kSlipHeight = 1058;  // 105.8 mm

class TBaseZone : public TPersistent {
 public:
  explicit TBaseZone(TBvrProperties* properties);

  std::string_view ClassName() const override { return "TBaseZone"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;

  TBvrProperties* OwnerProperties() const { return properties_; }

  std::int32_t Left() const { return left_; }
  void SetLeft(std::int32_t v);
  std::int32_t Top() const { return top_; }
  void SetTop(std::int32_t v);
  std::int32_t Width() const { return width_; }
  void SetWidth(std::int32_t v);
  std::int32_t height() const { return height_; }
  void Setheight(std::int32_t v);

  // The print flag, written directly: no change notification.
  bool Imprime = true;

  double ViewWidth() const { return viewWidth_; }
  void SetViewWidth(double v) { viewWidth_ = v; }
  // Pixels per tenth of a millimetre in the designer view.
  double Scale() const { return viewWidth_ / kSlipWidth; }

  IZoneShape* Shape() const { return shape_; }
  // Links the designer rectangle (not owned) and installs ShapeChanged as its callback.
  // With nullptr the link is only cleared; the previous shape keeps its callback.
  void SetShape(IZoneShape* shape);

  // Model to designer: places the linked rectangle; nothing when unlinked.
  virtual void UpdateShape();
  // Designer to model: takes the linked rectangle's bounds back, in tenths of a millimetre.
  // Does nothing when unlinked or when the view width is not known yet.
  void ShapeChanged();

 protected:
  void Changed();
  void AssignGeometry(const TBaseZone& source);

 private:
  TBvrProperties* properties_;
  std::int32_t top_ = 0;
  std::int32_t left_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  IZoneShape* shape_ = nullptr;
  double viewWidth_ = 0.0;
};

// A zone with a font (payer, amount and reference zones).
class TFontBaseZone : public TBaseZone {
 public:
  explicit TFontBaseZone(TBvrProperties* properties);
  std::string_view ClassName() const override { return "TFontBaseZone"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;
  void UpdateShape() override;

  const TFont& Font() const { return font_; }
  TFont& Font() { return font_; }
  // Copies the font's attributes into the zone's own font.
  void SetFont(const TFont& font);

 private:
  TFont font_;
};

// A zone with a font and its own lines of text (the creditor zones).
class TZone : public TBaseZone {
 public:
  explicit TZone(TBvrProperties* properties);
  std::string_view ClassName() const override { return "TZone"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;
  void UpdateShape() override;

  const TFont& Font() const { return font_; }
  TFont& Font() { return font_; }
  void SetFont(const TFont& font);
  const std::vector<std::string>& Text() const { return text_; }
  void SetText(const std::vector<std::string>& lines);

 private:
  TFont font_;
  std::vector<std::string> text_;
};

// A zone with a font and one line of text that is a copy of the account number.
class TlineTextZone : public TBaseZone {
 public:
  explicit TlineTextZone(TBvrProperties* properties);
  std::string_view ClassName() const override { return "TlineTextZone"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;
  void UpdateShape() override;

  const TFont& Font() const { return font_; }
  TFont& Font() { return font_; }
  void SetFont(const TFont& font);
  const std::string& LineText() const { return lineText_; }
  void SetLineText(const std::string& text);

 private:
  TFont font_;
  std::string lineText_;
};

// Where the coding line goes: its right end fromRight from the slip's right edge, the middle
// of its height fromBottom above the slip's bottom edge. Plain fields: writing notifies nobody.
class TDecalCodageZone : public TPersistent {
 public:
  std::string_view ClassName() const override { return "TDecalCodageZone"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;

  std::int32_t fromBottom = 190;
  std::int32_t fromRight = 76;
};

}  // namespace bvr
