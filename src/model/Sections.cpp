#include "model/Sections.h"

#include <array>
#include <vector>

namespace bvr {

namespace {

std::int32_t I32(std::int64_t v) {
  return static_cast<std::int32_t>(v);
}

// Published "Receipt" and "Processing" of a section whose zones are ZoneClass.
template <class Section>
PropInfo ZoneProp(std::string_view name, bool receipt) {
  PropInfo info{.name = name, .kind = PropKind::Object};
  if (receipt) {
    info.getObject = [](const TPersistent& p) -> const TPersistent& {
      return static_cast<const Section&>(p).Receipt();
    };
    info.editObject = [](TPersistent& p) -> TPersistent& {
      return static_cast<Section&>(p).Receipt();
    };
  } else {
    info.getObject = [](const TPersistent& p) -> const TPersistent& {
      return static_cast<const Section&>(p).Processing();
    };
    info.editObject = [](TPersistent& p) -> TPersistent& {
      return static_cast<Section&>(p).Processing();
    };
  }
  return info;
}

template <class Section>
std::vector<PropInfo> ZonePair() {
  return {ZoneProp<Section>("Receipt", true), ZoneProp<Section>("Processing", false)};
}

const TNumberReference& N(const TPersistent& p) {
  return static_cast<const TNumberReference&>(p);
}
TNumberReference& N(TPersistent& p) {
  return static_cast<TNumberReference&>(p);
}

}  // namespace

// ---- TNumberReference --------------------------------------------------------------------

void TNumberReference::Assign(const TPersistent& source) {
  const auto* ref = dynamic_cast<const TNumberReference*>(&source);
  if (ref == nullptr) {
    AssignError(source);
  }
  static_cast<ReferenceLayout&>(*this) = static_cast<const ReferenceLayout&>(*ref);
}

std::span<const PropInfo> TNumberReference::Properties() const {
  static const std::array props = {
      PropInfo{.name = "AccountNumber",
               .kind = PropKind::String,
               .getString = [](const TPersistent& p) { return N(p).AccountNumber; },
               .setString = [](TPersistent& p, const std::string& v) { N(p).AccountNumber = v; }},
      PropInfo{.name = "AccountNumberIndexStart",
               .kind = PropKind::Integer,
               .getOrdinal = [](const TPersistent& p) -> std::int64_t {
                 return N(p).AccountNumberIndexStart;
               },
               .setOrdinal = [](TPersistent& p,
                                std::int64_t v) { N(p).AccountNumberIndexStart = I32(v); }},
      PropInfo{
          .name = "AccountNumberLength",
          .kind = PropKind::Integer,
          .getOrdinal = [](const TPersistent& p) -> std::int64_t {
            return N(p).AccountNumberLength;
          },
          .setOrdinal = [](TPersistent& p, std::int64_t v) { N(p).AccountNumberLength = I32(v); }},
      PropInfo{.name = "InternalNumberIndexStart",
               .kind = PropKind::Integer,
               .getOrdinal = [](const TPersistent& p) -> std::int64_t {
                 return N(p).InternalNumberIndexStart;
               },
               .setOrdinal = [](TPersistent& p,
                                std::int64_t v) { N(p).InternalNumberIndexStart = I32(v); }},
      PropInfo{
          .name = "InternalNumberLength",
          .kind = PropKind::Integer,
          .getOrdinal = [](const TPersistent& p) -> std::int64_t {
            return N(p).InternalNumberLength;
          },
          .setOrdinal = [](TPersistent& p, std::int64_t v) { N(p).InternalNumberLength = I32(v); }},
  };
  return props;
}

// ---- Sections ----------------------------------------------------------------------------

void TVersementPour::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TVersementPour*>(&source);
  if (s == nullptr) {
    AssignError(source);
  }
  AssignZones(*s);
}

std::span<const PropInfo> TVersementPour::Properties() const {
  static const std::vector<PropInfo> props = ZonePair<TVersementPour>();
  return props;
}

void TVersementPar::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TVersementPar*>(&source);
  if (s == nullptr) {
    AssignError(source);
  }
  AssignZones(*s);
}

std::span<const PropInfo> TVersementPar::Properties() const {
  static const std::vector<PropInfo> props = ZonePair<TVersementPar>();
  return props;
}

TCompte::TCompte(TBvrProperties* properties) : TSection(properties) {
  Receipt().SetLineText(number_);
  Processing().SetLineText(number_);
}

void TCompte::Setnumber(const std::string& value) {
  number_ = value;
  Receipt().SetLineText(number_);
  Processing().SetLineText(number_);
}

void TCompte::SetReceipt(const TlineTextZone& zone) {
  TSection::SetReceipt(zone);
  Receipt().SetLineText(number_);
}

void TCompte::SetProcessing(const TlineTextZone& zone) {
  TSection::SetProcessing(zone);
  Processing().SetLineText(number_);
}

void TCompte::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TCompte*>(&source);
  if (s == nullptr) {
    AssignError(source);
  }
  AssignZones(*s);
  Setnumber(s->number_);
}

std::span<const PropInfo> TCompte::Properties() const {
  static const std::vector<PropInfo> props = [] {
    std::vector<PropInfo> v{PropInfo{
        .name = "number",
        .kind = PropKind::String,
        .getString = [](const TPersistent& p) { return static_cast<const TCompte&>(p).number(); },
        .setString = [](TPersistent& p,
                        const std::string& s) { static_cast<TCompte&>(p).Setnumber(s); }}};
    for (const PropInfo& z : ZonePair<TCompte>()) {
      v.push_back(z);
    }
    return v;
  }();
  return props;
}

void TMontant::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TMontant*>(&source);
  if (s == nullptr) {
    AssignError(source);
  }
  AssignZones(*s);
  SetdecimalWidth(s->decimalWidth_);
  SetCommaWidth(s->commaWidth_);
  SetCharWidth(s->charWidth_);
  NegativeAmountChar = s->NegativeAmountChar;
  ShowNegativeAmount = s->ShowNegativeAmount;
}

std::span<const PropInfo> TMontant::Properties() const {
  static const std::vector<PropInfo> props = [] {
    std::vector<PropInfo> v = ZonePair<TMontant>();
    v.push_back(PropInfo{
        .name = "decimalWidth",
        .kind = PropKind::Integer,
        .getOrdinal = [](const TPersistent& p) -> std::int64_t {
          return static_cast<const TMontant&>(p).decimalWidth();
        },
        .setOrdinal = [](TPersistent& p,
                         std::int64_t x) { static_cast<TMontant&>(p).SetdecimalWidth(I32(x)); }});
    v.push_back(PropInfo{
        .name = "CommaWidth",
        .kind = PropKind::Integer,
        .getOrdinal = [](const TPersistent& p) -> std::int64_t {
          return static_cast<const TMontant&>(p).CommaWidth();
        },
        .setOrdinal = [](TPersistent& p,
                         std::int64_t x) { static_cast<TMontant&>(p).SetCommaWidth(I32(x)); }});
    v.push_back(PropInfo{
        .name = "CharWidth",
        .kind = PropKind::Integer,
        .getOrdinal = [](const TPersistent& p) -> std::int64_t {
          return static_cast<const TMontant&>(p).CharWidth();
        },
        .setOrdinal = [](TPersistent& p,
                         std::int64_t x) { static_cast<TMontant&>(p).SetCharWidth(I32(x)); }});
    v.push_back(PropInfo{.name = "NegativeAmountChar",
                         .kind = PropKind::Char,
                         .hasDefault = true,
                         .defaultValue = '*',
                         .getOrdinal = [](const TPersistent& p) -> std::int64_t {
                           return static_cast<const TMontant&>(p).NegativeAmountChar;
                         },
                         .setOrdinal =
                             [](TPersistent& p, std::int64_t x) {
                               static_cast<TMontant&>(p).NegativeAmountChar =
                                   static_cast<std::uint8_t>(x);
                             }});
    v.push_back(PropInfo{.name = "ShowNegativeAmount",
                         .kind = PropKind::Boolean,
                         .hasDefault = true,
                         .defaultValue = 1,
                         .getOrdinal = [](const TPersistent& p) -> std::int64_t {
                           return static_cast<const TMontant&>(p).ShowNegativeAmount;
                         },
                         .setOrdinal =
                             [](TPersistent& p, std::int64_t x) {
                               static_cast<TMontant&>(p).ShowNegativeAmount = x != 0;
                             }});
    return v;
  }();
  return props;
}

void TReference::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TReference*>(&source);
  if (s == nullptr) {
    AssignError(source);
  }
  AssignZones(*s);
  number_.Assign(s->number_);
}

std::span<const PropInfo> TReference::Properties() const {
  static const std::vector<PropInfo> props = [] {
    std::vector<PropInfo> v{PropInfo{.name = "number",
                                     .kind = PropKind::Object,
                                     .getObject = [](const TPersistent& p) -> const TPersistent& {
                                       return static_cast<const TReference&>(p).number();
                                     },
                                     .editObject = [](TPersistent& p) -> TPersistent& {
                                       return static_cast<TReference&>(p).number();
                                     }}};
    for (const PropInfo& z : ZonePair<TReference>()) {
      v.push_back(z);
    }
    return v;
  }();
  return props;
}

}  // namespace bvr
