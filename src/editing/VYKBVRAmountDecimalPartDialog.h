// How the amount is printed: widths of the decimals' area, of the separator and of each digit
// (shown in millimetres, carried in tenths), and what a negative amount prints.
#pragma once

#include <cstdint>

#include "editing/VYKBVRDialog.h"

class QCheckBox;

namespace bvr {

class TVYKEdit;

class TVYKAmountDecimalPartDialog : public TVYKDialog {
 public:
  explicit TVYKAmountDecimalPartDialog(QWidget* parent = nullptr);

  std::int32_t decimalWidth() const;
  void SetdecimalWidth(std::int32_t tenths);
  std::int32_t CommaWidth() const;
  void SetCommaWidth(std::int32_t tenths);
  std::int32_t CharWidth() const;
  void SetCharWidth(std::int32_t tenths);

  // A Windows-1252 character code. Read back: the edit's text without surrounding spaces and
  // control characters, its first character, 0 when nothing is left. A character that
  // Windows-1252 cannot hold gives back the value last written.
  std::uint8_t NegativeAmountChar() const;
  void SetNegativeAmountChar(std::uint8_t code);

  bool ShowNegativeAmount() const;
  void SetShowNegativeAmount(bool show);

 private:
  TVYKEdit* ediDecimalWidth_;
  TVYKEdit* ediCommaWidth_;
  TVYKEdit* ediCharWidth_;
  TVYKEdit* ediNegativeChar_;
  QCheckBox* checkBoxDisplayNegativeAmount_;
  std::uint8_t presetNegativeAmountChar_ = '*';
};

}  // namespace bvr
