// The five sections of a slip layout. Each owns its receipt zone (left part of the slip) and
// its processing zone (right part); setting a zone copies the given one into the owned one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/Zones.h"
#include "numbers/VYKBVRFunctions.h"

namespace bvr {

// Where the participant number and the internal (invoice) number go among the 26 data places
// of the reference number. Plain fields without notification.
class TNumberReference : public TPersistent, public ReferenceLayout {
 public:
  std::string_view ClassName() const override { return "TNumberReference"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;
};

template <class ZoneClass>
class TSection : public TPersistent {
 public:
  explicit TSection(TBvrProperties* properties)
      : receipt_(std::make_unique<ZoneClass>(properties)),
        processing_(std::make_unique<ZoneClass>(properties)) {}

  ZoneClass& Receipt() { return *receipt_; }
  const ZoneClass& Receipt() const { return *receipt_; }
  ZoneClass& Processing() { return *processing_; }
  const ZoneClass& Processing() const { return *processing_; }
  virtual void SetReceipt(const ZoneClass& zone) { receipt_->Assign(zone); }
  virtual void SetProcessing(const ZoneClass& zone) { processing_->Assign(zone); }

 protected:
  void AssignZones(const TSection& source) {
    receipt_->Assign(*source.receipt_);
    processing_->Assign(*source.processing_);
  }

 private:
  std::unique_ptr<ZoneClass> receipt_;
  std::unique_ptr<ZoneClass> processing_;
};

// Creditor ("versement pour"): zones with their own text.
class TVersementPour : public TSection<TZone> {
 public:
  using TSection::TSection;
  std::string_view ClassName() const override { return "TVersementPour"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;
};

// Payer ("versement par"): the payer lines come with each payment.
class TVersementPar : public TSection<TFontBaseZone> {
 public:
  using TSection::TSection;
  std::string_view ClassName() const override { return "TVersementPar"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;
};

// Postal account number; both zones show it as their line text.
class TCompte : public TSection<TlineTextZone> {
 public:
  explicit TCompte(TBvrProperties* properties);
  std::string_view ClassName() const override { return "TCompte"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;

  const std::string& number() const { return number_; }
  // Stores the number and copies it into both zones' line text.
  void Setnumber(const std::string& value);
  void SetReceipt(const TlineTextZone& zone) override;
  void SetProcessing(const TlineTextZone& zone) override;

 private:
  std::string number_;
};

// Amount zones and how the amount is laid out in them (tenths of a millimetre).
class TMontant : public TSection<TFontBaseZone> {
 public:
  using TSection::TSection;
  std::string_view ClassName() const override { return "TMontant"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;

  std::int32_t decimalWidth() const { return decimalWidth_; }
  void SetdecimalWidth(std::int32_t v) { decimalWidth_ = v; }
  std::int32_t CommaWidth() const { return commaWidth_; }
  void SetCommaWidth(std::int32_t v) { commaWidth_ = v; }
  std::int32_t CharWidth() const { return charWidth_; }
  void SetCharWidth(std::int32_t v) { charWidth_ = v; }

  // Printed in place of a negative (or zero) amount when ShowNegativeAmount is false.
  // A Windows-1252 character code.
  std::uint8_t NegativeAmountChar = '*';
  bool ShowNegativeAmount = true;

 private:
  std::int32_t decimalWidth_ = 0;
  std::int32_t commaWidth_ = 0;
  std::int32_t charWidth_ = 0;
};

// Reference number zones and how the reference is composed.
class TReference : public TSection<TFontBaseZone> {
 public:
  using TSection::TSection;
  std::string_view ClassName() const override { return "TReference"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;

  TNumberReference& number() { return number_; }
  const TNumberReference& number() const { return number_; }
  void Setnumber(const TNumberReference& value) { number_.Assign(value); }

 private:
  TNumberReference number_;
};

}  // namespace bvr
