// Position and size of one zone, shown and typed in millimetres, carried in tenths of a
// millimetre.
#pragma once

#include <cstdint>

#include "editing/VYKBVRDialog.h"

namespace bvr {

class TVYKEdit;

class TVYKCoordoDialog : public TVYKDialog {
 public:
  explicit TVYKCoordoDialog(QWidget* parent = nullptr);

  std::int32_t X() const;
  void SetX(std::int32_t tenths);
  std::int32_t Y() const;
  void SetY(std::int32_t tenths);
  std::int32_t ZoneWidth() const;
  void SetZoneWidth(std::int32_t tenths);
  std::int32_t ZoneHeight() const;
  void SetZoneHeight(std::int32_t tenths);

 private:
  TVYKEdit* ediX_;
  TVYKEdit* ediY_;
  TVYKEdit* ediWidth_;
  TVYKEdit* ediHeight_;
};

}  // namespace bvr
