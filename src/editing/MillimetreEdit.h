// The millimetre edits of the zone dialogs. Either decimal separator may be typed or pasted,
// whatever the locale; the edit shows the user's one. A value too large for the layout cannot
// get into the edit at all, so nothing is ever cut or read as something else.
#pragma once

#include <QValidator>
#include <cstdint>

namespace bvr {

class TVYKEdit;

// What can be typed: up to 9999.9 mm either way (the slip is 210 mm wide, an A4 page 297 mm
// high), far inside the layout's 32-bit tenths and the pixel and printer coordinates derived
// from them.
inline constexpr std::int32_t kTypedTenthsLimit = 99999;

class MillimetreValidator : public QValidator {
 public:
  explicit MillimetreValidator(QObject* parent = nullptr);

  // Turns '.' and ',' into the user's separator, then refuses what is not a number being
  // written or lies beyond the limit.
  State validate(QString& input, int& pos) const override;

  // A value the program shows stays editable up to its own size (a file may hold any value).
  void AllowUpTo(std::int32_t tenths);

 private:
  std::int64_t limit_ = kTypedTenthsLimit;
};

// Gives the edit the decimal key filter and the validator.
void MakeMillimetreEdit(TVYKEdit& edit);

// Shows tenths of a millimetre as millimetres, raising the edit's limit to the value.
void ShowTenths(TVYKEdit& edit, std::int32_t tenths);

}  // namespace bvr
