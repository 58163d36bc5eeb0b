// Position of the coding line, in millimetres: X from the slip's right edge to the line's
// first character, Y from the slip's bottom edge to the middle of the line. Carried in tenths
// of a millimetre.
#pragma once

#include <cstdint>

#include "editing/VYKBVRDialog.h"

namespace bvr {

class TVYKEdit;

class TVYKCodeBVRCoordoDialog : public TVYKDialog {
 public:
  explicit TVYKCodeBVRCoordoDialog(QWidget* parent = nullptr);

  std::int32_t X() const;
  void SetX(std::int32_t tenths);
  std::int32_t Y() const;
  void SetY(std::int32_t tenths);

 private:
  TVYKEdit* ediX_;
  TVYKEdit* ediY_;
};

}  // namespace bvr
