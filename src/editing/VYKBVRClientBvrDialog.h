// The postal account number as its three parts (2-digit code, 6-digit order number, key),
// with the key recomputed as the user types in the first two.
#pragma once

#include <string>

#include "editing/VYKBVRDialog.h"

namespace bvr {

class TVYKEdit;

class TVYKCliBvrDialog : public TVYKDialog {
 public:
  explicit TVYKCliBvrDialog(QWidget* parent = nullptr);

  // Composes code-order-key; empty parts are first set to 00, 000000 and 0. Not padded.
  std::string AccountNumber() const;
  // Splits at single non-digit characters into the three edits; an empty number shows
  // 00-000000-0. The key is shown as given, not recomputed.
  void SetAccountNumber(const std::string& number);

  // The key of the code (padded to 2) followed by the order number (padded to 6).
  void ComputeKey();

 private:
  TVYKEdit* ediCodeBvr_;
  TVYKEdit* ediNumeroOrdre_;
  TVYKEdit* ediKey_;
};

}  // namespace bvr
