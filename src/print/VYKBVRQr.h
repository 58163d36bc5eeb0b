// The printed slip control: one payment (amount, internal number, payer lines) drawn with a
// linked slip layout into a report band, or the calibration overlay in setting mode.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/BvrProperties.h"
#include "model/Component.h"
#include "model/Payment.h"
#include "model/Persistent.h"
#include "report/QuickRep.h"

namespace bvr {

// The payment's own number, placed into the reference number.
class TReferenceValue : public TPersistent {
 public:
  std::string_view ClassName() const override { return "TReferenceValue"; }
  void Assign(const TPersistent& source) override;
  std::span<const PropInfo> Properties() const override;

  std::string InternalNumber;
};

class TVYKqrBVR : public TQRCustomLabel {
 public:
  TVYKqrBVR();
  ~TVYKqrBVR() override;

  double Amount() const { return amount_; }
  void SetAmount(double value) { amount_ = value; }
  TReferenceValue& Reference() { return *reference_; }
  const TReferenceValue& Reference() const { return *reference_; }
  void SetReference(const TReferenceValue& value) { reference_->Assign(value); }
  // Not owned; dropped when the layout object is destroyed.
  TBvrProperties* BvrProperties() const { return bvrProperties_.Get(); }
  void SetBvrProperties(TBvrProperties* value) { bvrProperties_.Set(value); }
  bool SettingMode() const { return settingMode_; }
  void SetSettingMode(bool value) { settingMode_ = value; }
  const std::vector<std::string>& PayedBy() const { return *payedBy_; }
  void SetPayedBy(const std::vector<std::string>& lines) { *payedBy_ = lines; }

  // Shift of the whole slip on the page, tenths of a millimetre (printer feed correction).
  double SlipOffsetX = 0;
  double SlipOffsetY = 0;
  // Where the slip's top-left corner lands on the page for a band at that offset.
  double SlipOriginX(double bandOffsetX) const { return bandOffsetX + Size.Left + SlipOffsetX; }
  double SlipOriginY(double bandOffsetY) const { return bandOffsetY + Size.Top + SlipOffsetY; }

  virtual void GetPaymentValues(std::vector<std::string>& lines, double& amount,
                                std::string& internalNumber) const;
  // The amount, internal number and payer lines together: what each printed slip changes.
  PaymentValues Payment() const;
  void SetPayment(const PaymentValues& payment);

  // The identification shown where the control is edited on screen.
  void Paint(ICanvas& canvas) override;
  // The slip, or the overlay in setting mode. Number errors leave it; with no layout linked
  // it fails with the string SNoSlipLayout and draws nothing.
  void Print(double offsetX, double offsetY) override;

 private:
  double amount_ = 0.0;
  std::unique_ptr<TReferenceValue> reference_;
  ComponentLink<TBvrProperties> bvrProperties_;
  bool settingMode_ = false;
  std::unique_ptr<std::vector<std::string>> payedBy_;
};

}  // namespace bvr
