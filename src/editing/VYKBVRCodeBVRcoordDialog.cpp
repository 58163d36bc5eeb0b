#include "editing/VYKBVRCodeBVRcoordDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "editing/MillimetreEdit.h"
#include "editing/UserNumbers.h"
#include "editing/VYKBVREdit.h"
#include "strings/VYKBVRResources.h"

namespace bvr {

TVYKCodeBVRCoordoDialog::TVYKCodeBVRCoordoDialog(QWidget* parent)
    : TVYKDialog(parent, QStringLiteral("VYKCodeBVRCoordoDialog"), 190, 204) {
  setWindowTitle(ResString(SMenuCodingLinePosition));

  auto* grpbPosition = new QGroupBox(QStringLiteral("Position (en mm)"), this);
  grpbPosition->setObjectName(QStringLiteral("grpbPosition"));
  grpbPosition->setGeometry(8, 5, 175, 156);
  AddLabel(grpbPosition, "labx", ResString(SLabelX), 20, 20);
  ediX_ = AddEdit(grpbPosition, "ediX", QRect(80, 16, 75, 21));
  QLabel* labXHelp = AddWrappedLabel(grpbPosition, "labXHelp", ResString(SCodingLineXHelp),
                                     QRect(12, 41, 152, 40));
  AddLabel(grpbPosition, "labY", ResString(SLabelY), 20, 92);
  ediY_ = AddEdit(grpbPosition, "ediY", QRect(80, 88, 75, 21));
  QLabel* labYHelp = AddWrappedLabel(grpbPosition, "labYHelp", ResString(SCodingLineYHelp),
                                     QRect(12, 112, 152, 40));

  FitWrappedLabel(labXHelp);
  FitWrappedLabel(labYHelp);

  MakeMillimetreEdit(*ediX_);
  MakeMillimetreEdit(*ediY_);
  setTabOrder(ediX_, ediY_);
  setTabOrder(ediY_, OkButton());
  setTabOrder(OkButton(), CancelButton());
  ediX_->setFocus();
}

std::int32_t TVYKCodeBVRCoordoDialog::X() const {
  return MillimetreTextToTenths(ediX_->text());
}
void TVYKCodeBVRCoordoDialog::SetX(std::int32_t tenths) {
  ShowTenths(*ediX_, tenths);
}
std::int32_t TVYKCodeBVRCoordoDialog::Y() const {
  return MillimetreTextToTenths(ediY_->text());
}
void TVYKCodeBVRCoordoDialog::SetY(std::int32_t tenths) {
  ShowTenths(*ediY_, tenths);
}

}  // namespace bvr
