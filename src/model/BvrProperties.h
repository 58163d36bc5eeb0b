// TBvrProperties: the complete, printable description of one payment slip layout. It owns its
// five sections (each with two zones) and the coding-line offsets; it holds no values of a
// single payment.
#pragma once

#include <memory>
#include <string>

#include "model/Component.h"
#include "model/Sections.h"

namespace bvr {

class TBvrProperties : public TComponent {
 public:
  TBvrProperties();
  ~TBvrProperties() override;

  std::string_view ClassName() const override { return "TBvrProperties"; }
  // Copies the five sections and the coding-line offsets; readOnly is not copied.
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;

  // Resets positions, sizes, font names and sizes, print flags and texts to the defaults.
  void SetDefaults();
  // UpdateShape on the ten zones, in a fixed order.
  void UpdateZones();
  // Hands the designer view's width to the ten zones; does not redraw.
  void SetViewWidth(std::int32_t width);
  // The layout file (.BVR): the object as text, and a text read back into this object.
  // Loading resets to the defaults first and raises EBvrError with the reader's messages.
  std::string SaveToText() const;
  void LoadFromText(const std::string& text);

  // Change hook called by every zone setter and section-property setter. Does nothing here.
  virtual void Changed() {}

  TVersementPour& PaymentFor() { return *paymentFor_; }
  const TVersementPour& PaymentFor() const { return *paymentFor_; }
  void SetPaymentFor(const TVersementPour& v);
  TVersementPar& PaymentBy() { return *paymentBy_; }
  const TVersementPar& PaymentBy() const { return *paymentBy_; }
  void SetPaymentBy(const TVersementPar& v);
  TCompte& Account() { return *account_; }
  const TCompte& Account() const { return *account_; }
  void SetAccount(const TCompte& v);
  TMontant& Amount() { return *amount_; }
  const TMontant& Amount() const { return *amount_; }
  void SetAmount(const TMontant& v);
  TReference& Reference() { return *reference_; }
  const TReference& Reference() const { return *reference_; }
  void SetReference(const TReference& v);
  TDecalCodageZone& CodageZone() { return *codageZone_; }
  const TDecalCodageZone& CodageZone() const { return *codageZone_; }
  void SetCodageZone(const TDecalCodageZone& v);

  // Stored and saved; nothing in the system reads it.
  bool readOnly = false;

  // The ten zones in the order UpdateZones visits them.
  std::array<TBaseZone*, 10> Zones();

 private:
  std::unique_ptr<TCompte> account_;
  std::unique_ptr<TMontant> amount_;
  std::unique_ptr<TVersementPour> paymentFor_;
  std::unique_ptr<TVersementPar> paymentBy_;
  std::unique_ptr<TReference> reference_;
  std::unique_ptr<TDecalCodageZone> codageZone_;
};

}  // namespace bvr
