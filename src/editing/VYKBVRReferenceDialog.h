// The layout of the reference number: the participant number and where it and the internal
// (invoice) number go among the reference's 26 data places, with a live sample of the places.
#pragma once

#include <cstdint>
#include <string>

#include "editing/VYKBVRDialog.h"

class QLabel;

namespace bvr {

class TVYKEdit;

// 26 characters, one per place from 1: "1" participant part, "2" internal part, "!" both,
// "0" neither. A part with a length of 0 or less has no place.
QString ReferenceSample(std::int32_t accountStart, std::int32_t accountLength,
                        std::int32_t internalStart, std::int32_t internalLength);

class TVYKRefDialog : public TVYKDialog {
 public:
  explicit TVYKRefDialog(QWidget* parent = nullptr);

  // Write the number first: it sets the participant length, which a later write replaces.
  std::string AccountNumber() const;
  void SetAccountNumber(const std::string& number);
  // Integer values: 0 when the edit's text is empty or not an integer.
  std::int32_t AccountNumberIndexStart() const;
  void SetAccountNumberIndexStart(std::int32_t value);
  std::int32_t AccountNumberLength() const;
  void SetAccountNumberLength(std::int32_t value);
  std::int32_t InternalNumberIndexStart() const;
  void SetInternalNumberIndexStart(std::int32_t value);
  std::int32_t InternalNumberLength() const;
  void SetInternalNumberLength(std::int32_t value);

 protected:
  // Cuts a part that runs past place 26 (a start beyond 27 gives a negative length).
  void FormCloseQuery() override;

 private:
  void ediAccountNumberChange();
  void ediChange();

  TVYKEdit* ediAccountNumber_;
  TVYKEdit* ediAccountIndex_;
  TVYKEdit* ediAccountlength_;
  TVYKEdit* ediInternalNumberIndex_;
  TVYKEdit* ediInternalNumberLength_;
  QLabel* labReferenceSample_;
};

}  // namespace bvr
