#include "editing/VYKBVRCoordDialog.h"

#include <QGroupBox>
#include <QPushButton>

#include "editing/MillimetreEdit.h"
#include "editing/UserNumbers.h"
#include "editing/VYKBVREdit.h"
#include "strings/VYKBVRResources.h"

namespace bvr {

TVYKCoordoDialog::TVYKCoordoDialog(QWidget* parent)
    : TVYKDialog(parent, QStringLiteral("VYKCoordoDialog"), 190, 216) {
  setWindowTitle(ResString(SCoordDialogCaption));

  auto* grpbPosition = new QGroupBox(QStringLiteral("Position (en mm)"), this);
  grpbPosition->setObjectName(QStringLiteral("grpbPosition"));
  grpbPosition->setGeometry(8, 5, 175, 80);
  AddLabel(grpbPosition, "labx", ResString(SLabelX), 20, 20);
  ediX_ = AddEdit(grpbPosition, "ediX", QRect(80, 16, 75, 21));
  AddLabel(grpbPosition, "labY", ResString(SLabelY), 20, 52);
  ediY_ = AddEdit(grpbPosition, "ediY", QRect(80, 48, 75, 21));

  auto* grpbSize = new QGroupBox(QStringLiteral("Taille (en mm)"), this);
  grpbSize->setObjectName(QStringLiteral("grpbSize"));
  grpbSize->setGeometry(8, 90, 175, 80);
  AddLabel(grpbSize, "labWidth", ResString(SLabelWidth), 20, 20);
  ediWidth_ = AddEdit(grpbSize, "ediWidth", QRect(80, 16, 75, 21));
  AddLabel(grpbSize, "labHeight", ResString(SLabelHeight), 20, 52);
  ediHeight_ = AddEdit(grpbSize, "ediHeight", QRect(80, 48, 75, 21));

  for (TVYKEdit* edit : {ediX_, ediY_, ediWidth_, ediHeight_}) {
    MakeMillimetreEdit(*edit);
  }
  setTabOrder(ediX_, ediY_);
  setTabOrder(ediY_, ediWidth_);
  setTabOrder(ediWidth_, ediHeight_);
  setTabOrder(ediHeight_, OkButton());
  setTabOrder(OkButton(), CancelButton());
  ediX_->setFocus();
}

std::int32_t TVYKCoordoDialog::X() const {
  return MillimetreTextToTenths(ediX_->text());
}
void TVYKCoordoDialog::SetX(std::int32_t tenths) {
  ShowTenths(*ediX_, tenths);
}
std::int32_t TVYKCoordoDialog::Y() const {
  return MillimetreTextToTenths(ediY_->text());
}
void TVYKCoordoDialog::SetY(std::int32_t tenths) {
  ShowTenths(*ediY_, tenths);
}
std::int32_t TVYKCoordoDialog::ZoneWidth() const {
  return MillimetreTextToTenths(ediWidth_->text());
}
void TVYKCoordoDialog::SetZoneWidth(std::int32_t tenths) {
  ShowTenths(*ediWidth_, tenths);
}
std::int32_t TVYKCoordoDialog::ZoneHeight() const {
  return MillimetreTextToTenths(ediHeight_->text());
}
void TVYKCoordoDialog::SetZoneHeight(std::int32_t tenths) {
  ShowTenths(*ediHeight_, tenths);
}

}  // namespace bvr
