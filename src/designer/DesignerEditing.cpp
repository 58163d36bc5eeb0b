#include "designer/DesignerEditing.h"

#include <QMenu>

#include "model/BvrProperties.h"

namespace bvr {

QMenu* CreateZoneMenu(std::size_t, QWidget* owner) {
  return new QMenu(owner);
}

void SetZoneMenuProperties(QMenu*, TBvrProperties*) {}

std::optional<CodingLinePosition> ExecuteCodingLineDialog(QWidget*, CodingLinePosition) {
  return std::nullopt;
}

}  // namespace bvr
