#include "model/Zones.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "model/BvrProperties.h"
#include "numbers/Conversions.h"

namespace bvr {

namespace {

struct AxisValues {
  std::int32_t from;
  std::int32_t length;
};

std::int32_t Saturated(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// One axis of a drag step: the model's start and length, the values read back from pixels,
// and which ends the step moved.
AxisValues StepAxis(std::int32_t from, std::int32_t length, std::int32_t readFrom,
                    std::int32_t readLength, bool startMoved, bool endMoved, bool move) {
  if (move) {
    return {startMoved ? readFrom : from, length};
  }
  if (startMoved && endMoved) {
    return {readFrom, readLength};
  }
  if (startMoved) {
    // The far end stays where the model had it.
    return {readFrom, Saturated(static_cast<std::int64_t>(from) + length - readFrom)};
  }
  return {from, endMoved ? readLength : length};
}

}  // namespace

// ---- TBaseZone -------------------------------------------------------------------------

TBaseZone::TBaseZone(TBvrProperties* properties) : properties_(properties) {}

void TBaseZone::Changed() {
  if (properties_ != nullptr) {
    properties_->Changed();
  }
}

void TBaseZone::SetLeft(std::int32_t v) {
  left_ = v;
  Changed();
}

void TBaseZone::SetTop(std::int32_t v) {
  top_ = v;
  Changed();
}

void TBaseZone::SetWidth(std::int32_t v) {
  width_ = v;
  Changed();
}

void TBaseZone::Setheight(std::int32_t v) {
  height_ = v;
  Changed();
}

void TBaseZone::AssignGeometry(const TBaseZone& source) {
  SetLeft(source.Left());
  SetTop(source.Top());
  SetWidth(source.Width());
  Setheight(source.height());
  Imprime = source.Imprime;
}

void TBaseZone::Assign(const TPersistent& source) {
  const auto* zone = dynamic_cast<const TBaseZone*>(&source);
  if (zone == nullptr) {
    AssignError(source);
  }
  AssignGeometry(*zone);
}

void TBaseZone::SetShape(IZoneShape* shape) {
  shape_ = shape;
  if (shape_ != nullptr) {
    shape_->SetOnBoundsChanged([this] { ShapeChanged(); });
  }
}

void TBaseZone::UpdateShape() {
  if (shape_ == nullptr) {
    return;
  }
  // Values are not range-checked (a file may hold anything): the far edges saturate instead
  // of overflowing.
  const auto edge = [](std::int32_t from, std::int32_t length) {
    const std::int64_t sum = static_cast<std::int64_t>(from) + length;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  };
  shape_->SetZoneBounds(ZoneRect{left_, top_, edge(left_, width_), edge(top_, height_)},
                        viewWidth_);
  shape_->Invalidate();
}

void TBaseZone::ShapeChanged() {
  // Without a view width the scale is 0 and every division would be meaningless: keep the
  // zone as it is rather than store garbage.
  if (shape_ == nullptr || !(viewWidth_ > 0.0)) {
    return;
  }
  const ZoneRect b = shape_->BoundsRect();
  const double k = Scale();
  const std::int32_t left = RoundHalfEven(b.Left / k);
  const std::int32_t top = RoundHalfEven(b.Top / k);
  const std::int32_t width = RoundHalfEven((static_cast<double>(b.Right) - b.Left) / k);
  const std::int32_t height = RoundHalfEven((static_cast<double>(b.Bottom) - b.Top) / k);
  const std::optional<ShapeStep> step = shape_->LastStep();
  if (!step) {
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    Setheight(height);
    return;
  }
  // Only what the step moved is read back from pixels: a move keeps the size exact, a
  // handle keeps the opposite edge exact.
  const AxisValues x = StepAxis(left_, width_, left, width, step->Left, step->Right, step->Move);
  const AxisValues y = StepAxis(top_, height_, top, height, step->Top, step->Bottom, step->Move);
  SetLeft(x.from);
  SetTop(y.from);
  SetWidth(x.length);
  Setheight(y.length);
}

// ---- Font-carrying zones --------------------------------------------------------------

TFontBaseZone::TFontBaseZone(TBvrProperties* properties) : TBaseZone(properties) {}

void TFontBaseZone::SetFont(const TFont& font) {
  font_.Assign(font);
  Changed();
}

void TFontBaseZone::Assign(const TPersistent& source) {
  const auto* zone = dynamic_cast<const TFontBaseZone*>(&source);
  if (zone == nullptr) {
    TBaseZone::Assign(source);
    return;
  }
  AssignGeometry(*zone);
  SetFont(zone->Font());
}

void TFontBaseZone::UpdateShape() {
  TBaseZone::UpdateShape();
  if (Shape() != nullptr) {
    Shape()->SetTextFont(font_);
  }
}

TZone::TZone(TBvrProperties* properties) : TBaseZone(properties) {}

void TZone::SetFont(const TFont& font) {
  font_.Assign(font);
  Changed();
}

void TZone::SetText(const std::vector<std::string>& lines) {
  text_ = lines;
  Changed();
}

void TZone::Assign(const TPersistent& source) {
  const auto* zone = dynamic_cast<const TZone*>(&source);
  if (zone == nullptr) {
    TBaseZone::Assign(source);
    return;
  }
  // Geometry in the order Left, Top, height, Width, then the print flag, text and font.
  SetLeft(zone->Left());
  SetTop(zone->Top());
  Setheight(zone->height());
  SetWidth(zone->Width());
  Imprime = zone->Imprime;
  SetText(zone->Text());
  SetFont(zone->Font());
}

void TZone::UpdateShape() {
  TBaseZone::UpdateShape();
  if (Shape() != nullptr) {
    Shape()->SetTextFont(font_);
    Shape()->SetLines(text_);
  }
}

TlineTextZone::TlineTextZone(TBvrProperties* properties) : TBaseZone(properties) {}

void TlineTextZone::SetFont(const TFont& font) {
  font_.Assign(font);
  Changed();
}

void TlineTextZone::SetLineText(const std::string& text) {
  lineText_ = text;
  Changed();
}

void TlineTextZone::Assign(const TPersistent& source) {
  const auto* zone = dynamic_cast<const TlineTextZone*>(&source);
  if (zone == nullptr) {
    TBaseZone::Assign(source);
    return;
  }
  AssignGeometry(*zone);
  SetLineText(zone->LineText());
  SetFont(zone->Font());
}

void TlineTextZone::UpdateShape() {
  TBaseZone::UpdateShape();
  if (Shape() != nullptr) {
    Shape()->SetTextFont(font_);
    Shape()->SetLineText(lineText_);
  }
}

// ---- TDecalCodageZone -----------------------------------------------------------------

void TDecalCodageZone::Assign(const TPersistent& source) {
  const auto* zone = dynamic_cast<const TDecalCodageZone*>(&source);
  if (zone == nullptr) {
    AssignError(source);
  }
  fromRight = zone->fromRight;
  fromBottom = zone->fromBottom;
}

// ---- Published properties --------------------------------------------------------------

namespace {

const TBaseZone& Z(const TPersistent& p) {
  return static_cast<const TBaseZone&>(p);
}
TBaseZone& Z(TPersistent& p) {
  return static_cast<TBaseZone&>(p);
}
std::int32_t I32(std::int64_t v) {
  return static_cast<std::int32_t>(v);
}

std::vector<PropInfo> GeometryProps() {
  return {
      PropInfo{.name = "Left",
               .kind = PropKind::Integer,
               .getOrdinal = [](const TPersistent& p) -> std::int64_t { return Z(p).Left(); },
               .setOrdinal = [](TPersistent& p, std::int64_t v) { Z(p).SetLeft(I32(v)); }},
      PropInfo{.name = "Top",
               .kind = PropKind::Integer,
               .getOrdinal = [](const TPersistent& p) -> std::int64_t { return Z(p).Top(); },
               .setOrdinal = [](TPersistent& p, std::int64_t v) { Z(p).SetTop(I32(v)); }},
      PropInfo{.name = "Width",
               .kind = PropKind::Integer,
               .getOrdinal = [](const TPersistent& p) -> std::int64_t { return Z(p).Width(); },
               .setOrdinal = [](TPersistent& p, std::int64_t v) { Z(p).SetWidth(I32(v)); }},
      PropInfo{.name = "height",
               .kind = PropKind::Integer,
               .getOrdinal = [](const TPersistent& p) -> std::int64_t { return Z(p).height(); },
               .setOrdinal = [](TPersistent& p, std::int64_t v) { Z(p).Setheight(I32(v)); }},
      PropInfo{.name = "Imprime",
               .kind = PropKind::Boolean,
               .getOrdinal = [](const TPersistent& p) -> std::int64_t { return Z(p).Imprime; },
               .setOrdinal = [](TPersistent& p, std::int64_t v) { Z(p).Imprime = v != 0; }},
  };
}

template <class ZoneClass>
PropInfo FontProp() {
  return PropInfo{
      .name = "Font",
      .kind = PropKind::Object,
      .getObject = [](const TPersistent& p) -> const TPersistent& {
        return static_cast<const ZoneClass&>(p).Font();
      },
      .editObject = [](TPersistent& p) -> TPersistent& {
        return static_cast<ZoneClass&>(p).Font();
      },
  };
}

std::vector<PropInfo> Concat(std::vector<PropInfo> head, std::initializer_list<PropInfo> tail) {
  head.insert(head.end(), tail);
  return head;
}

PropInfo TextProp() {
  return PropInfo{
      .name = "Text",
      .kind = PropKind::StringList,
      .getList = [](const TPersistent& p) -> const std::vector<std::string>& {
        return static_cast<const TZone&>(p).Text();
      },
      .setList = [](TPersistent& p,
                    const std::vector<std::string>& v) { static_cast<TZone&>(p).SetText(v); }};
}

const TDecalCodageZone& D(const TPersistent& p) {
  return static_cast<const TDecalCodageZone&>(p);
}
TDecalCodageZone& D(TPersistent& p) {
  return static_cast<TDecalCodageZone&>(p);
}

const std::array kDecalProps = {
    PropInfo{.name = "fromRight",
             .kind = PropKind::Integer,
             .getOrdinal = [](const TPersistent& p) -> std::int64_t { return D(p).fromRight; },
             .setOrdinal = [](TPersistent& p, std::int64_t v) { D(p).fromRight = I32(v); }},
    PropInfo{.name = "fromBottom",
             .kind = PropKind::Integer,
             .getOrdinal = [](const TPersistent& p) -> std::int64_t { return D(p).fromBottom; },
             .setOrdinal = [](TPersistent& p, std::int64_t v) { D(p).fromBottom = I32(v); }},
};

}  // namespace

// Built on first use, so that a static object elsewhere may walk them safely.
std::span<const PropInfo> TBaseZone::Properties() const {
  static const std::vector<PropInfo> props = GeometryProps();
  return props;
}
std::span<const PropInfo> TFontBaseZone::Properties() const {
  static const std::vector<PropInfo> props = Concat(GeometryProps(), {FontProp<TFontBaseZone>()});
  return props;
}
std::span<const PropInfo> TZone::Properties() const {
  static const std::vector<PropInfo> props =
      Concat(GeometryProps(), {FontProp<TZone>(), TextProp()});
  return props;
}
std::span<const PropInfo> TlineTextZone::Properties() const {
  static const std::vector<PropInfo> props = Concat(GeometryProps(), {FontProp<TlineTextZone>()});
  return props;
}
std::span<const PropInfo> TDecalCodageZone::Properties() const {
  return kDecalProps;
}

}  // namespace bvr
