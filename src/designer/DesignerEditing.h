// What the designer view takes from the zone-editing library: the ten zone menus and the
// coding line position dialog, kept behind these few functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

class QMenu;
class QWidget;

namespace bvr {

class TBvrProperties;

// The menu of the zone at this index of the designer's zone order, owned by owner, with its
// side (receipt for even indexes, processing for odd ones) already set.
QMenu* CreateZoneMenu(std::size_t index, QWidget* owner);
// Hands the layout (or none) to a menu made by CreateZoneMenu.
void SetZoneMenuProperties(QMenu* menu, TBvrProperties* properties);

struct CodingLinePosition {
  std::int32_t fromRight;
  std::int32_t fromBottom;
};

// Shows the coding line position dialog preset with current; the confirmed values, or none
// when the user cancelled.
std::optional<CodingLinePosition> ExecuteCodingLineDialog(QWidget* owner,
                                                          CodingLinePosition current);

}  // namespace bvr
