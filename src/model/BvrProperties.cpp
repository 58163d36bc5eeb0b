#include "model/BvrProperties.h"

#include <vector>

namespace bvr {

TBvrProperties::TBvrProperties()
    : account_(std::make_unique<TCompte>(this)),
      amount_(std::make_unique<TMontant>(this)),
      paymentFor_(std::make_unique<TVersementPour>(this)),
      paymentBy_(std::make_unique<TVersementPar>(this)),
      reference_(std::make_unique<TReference>(this)) {
  SetDefaults();
  codageZone_ = std::make_unique<TDecalCodageZone>();
}

// Observers are told before anything is freed, so that a designer can unlink its rectangles
// from zones that still exist.
TBvrProperties::~TBvrProperties() {
  NotifyDestroying();
}

namespace {

struct ZoneDefault {
  std::int32_t left, top, width, height;
};

template <class Zone>
void ApplyDefault(Zone& zone, const ZoneDefault& d) {
  zone.SetLeft(d.left);
  zone.SetTop(d.top);
  zone.SetWidth(d.width);
  zone.Setheight(d.height);
  zone.Font().SetName("arial");
  zone.Font().SetSize(11);
  zone.Imprime = true;
}

}  // namespace

void TBvrProperties::SetDefaults() {
  ApplyDefault(PaymentFor().Receipt(), {10, 80, 550, 300});
  PaymentFor().Receipt().SetText({});
  ApplyDefault(PaymentFor().Processing(), {640, 80, 550, 300});
  PaymentFor().Processing().SetText({});
  ApplyDefault(PaymentBy().Receipt(), {10, 700, 550, 300});
  ApplyDefault(PaymentBy().Processing(), {1230, 480, 830, 300});
  ApplyDefault(Account().Receipt(), {270, 400, 300, 85});
  Account().Receipt().SetLineText("");
  ApplyDefault(Account().Processing(), {860, 400, 300, 85});
  Account().Processing().SetLineText("");
  ApplyDefault(Amount().Receipt(), {20, 500, 550, 85});
  ApplyDefault(Amount().Processing(), {630, 500, 550, 85});
  Amount().SetdecimalWidth(90);
  Amount().SetCommaWidth(100);
  ApplyDefault(Reference().Receipt(), {10, 610, 550, 85});
  ApplyDefault(Reference().Processing(), {1230, 310, 830, 85});
  TNumberReference& n = Reference().number();
  n.AccountNumber.clear();
  n.InternalNumberIndexStart = 1;
  n.AccountNumberIndexStart = 1;
  n.InternalNumberLength = 26;
  n.AccountNumberLength = 0;
}

std::array<TBaseZone*, 10> TBvrProperties::Zones() {
  return {&Account().Receipt(),      &Account().Processing(), &PaymentBy().Receipt(),
          &PaymentBy().Processing(), &PaymentFor().Receipt(), &PaymentFor().Processing(),
          &Amount().Receipt(),       &Amount().Processing(),  &Reference().Receipt(),
          &Reference().Processing()};
}

void TBvrProperties::UpdateZones() {
  for (TBaseZone* zone : Zones()) {
    zone->UpdateShape();
  }
}

void TBvrProperties::SetViewWidth(std::int32_t width) {
  for (TBaseZone* zone : Zones()) {
    zone->SetViewWidth(static_cast<double>(width));
  }
}

void TBvrProperties::SetPaymentFor(const TVersementPour& v) {
  paymentFor_->Assign(v);
  Changed();
}
void TBvrProperties::SetPaymentBy(const TVersementPar& v) {
  paymentBy_->Assign(v);
  Changed();
}
void TBvrProperties::SetAccount(const TCompte& v) {
  account_->Assign(v);
  Changed();
}
void TBvrProperties::SetAmount(const TMontant& v) {
  amount_->Assign(v);
  Changed();
}
void TBvrProperties::SetReference(const TReference& v) {
  reference_->Assign(v);
  Changed();
}
void TBvrProperties::SetCodageZone(const TDecalCodageZone& v) {
  codageZone_->Assign(v);
  Changed();
}

void TBvrProperties::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TBvrProperties*>(&source);
  if (s == nullptr) {
    AssignError(source);
  }
  paymentBy_->Assign(*s->paymentBy_);
  paymentFor_->Assign(*s->paymentFor_);
  account_->Assign(*s->account_);
  amount_->Assign(*s->amount_);
  reference_->Assign(*s->reference_);
  codageZone_->Assign(*s->codageZone_);
}

namespace {

template <class Section, Section& (TBvrProperties::*Edit)(),
          const Section& (TBvrProperties::*Get)() const>
PropInfo SectionProp(std::string_view name) {
  return PropInfo{
      .name = name,
      .kind = PropKind::Object,
      .getObject = [](const TPersistent& p) -> const TPersistent& {
        return (static_cast<const TBvrProperties&>(p).*Get)();
      },
      .editObject = [](TPersistent& p) -> TPersistent& {
        return (static_cast<TBvrProperties&>(p).*Edit)();
      },
  };
}

}  // namespace

std::span<const PropInfo> TBvrProperties::Properties() const {
  using P = TBvrProperties;
  static const std::vector<PropInfo> props = {
      // The component base's two: the name is never written (the header line carries it).
      PropInfo{
          .name = "Name",
          .kind = PropKind::String,
          .stored = false,
          .getString = [](const TPersistent& p) { return static_cast<const P&>(p).Name; },
          .setString = [](TPersistent& p, const std::string& v) { static_cast<P&>(p).Name = v; }},
      PropInfo{.name = "Tag",
               .kind = PropKind::Integer,
               .hasDefault = true,
               .defaultValue = 0,
               .getOrdinal = [](const TPersistent& p) -> std::int64_t {
                 return static_cast<const P&>(p).Tag;
               },
               .setOrdinal =
                   [](TPersistent& p, std::int64_t v) {
                     static_cast<P&>(p).Tag = static_cast<std::int32_t>(v);
                   }},
      SectionProp<TVersementPour, &P::PaymentFor, &P::PaymentFor>("PaymentFor"),
      SectionProp<TVersementPar, &P::PaymentBy, &P::PaymentBy>("PaymentBy"),
      SectionProp<TCompte, &P::Account, &P::Account>("Account"),
      SectionProp<TMontant, &P::Amount, &P::Amount>("Amount"),
      SectionProp<TReference, &P::Reference, &P::Reference>("Reference"),
      PropInfo{.name = "readOnly",
               .kind = PropKind::Boolean,
               .getOrdinal = [](const TPersistent& p) -> std::int64_t {
                 return static_cast<const P&>(p).readOnly;
               },
               .setOrdinal = [](TPersistent& p,
                                std::int64_t v) { static_cast<P&>(p).readOnly = v != 0; }},
      SectionProp<TDecalCodageZone, &P::CodageZone, &P::CodageZone>("CodageZone"),
  };
  return props;
}

}  // namespace bvr
