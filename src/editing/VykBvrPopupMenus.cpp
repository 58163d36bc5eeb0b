#include "editing/VykBvrPopupMenus.h"

#include <QAction>
#include <QFontDialog>

#include "editing/FontConversion.h"
#include "editing/VYKBVRAmountDecimalPartDialog.h"
#include "editing/VYKBVRClientBvrDialog.h"
#include "editing/VYKBVRCoordDialog.h"
#include "editing/VYKBVRDialog.h"
#include "editing/VYKBVRReferenceDialog.h"
#include "editing/VYKBVRTexteDialog.h"
#include "strings/VYKBVRResources.h"

namespace bvr {

namespace {

bool SelectFontWithDialog(QWidget* parent, const QFont& initial, QFont* chosen) {
  QFontDialog dialog(initial, parent);
  // What the dialog shows may differ from what it was given (a slant or weight the face lacks
  // is shown as the nearest style): confirmed unchanged, it hands back the font it was given.
  const QFont shown = dialog.currentFont();
  if (dialog.exec() != QDialog::Accepted) {
    return false;
  }
  *chosen = dialog.selectedFont() == shown ? initial : dialog.selectedFont();
  return true;
}

QAction* AddItem(QMenu* menu, const char* objectName, int captionId) {
  QAction* item = menu->addAction(ResString(captionId));
  item->setObjectName(QString::fromLatin1(objectName));
  return item;
}

}  // namespace

TGeneralPopupMenu::TGeneralPopupMenu(QWidget* parent) : QMenu(parent) {
  printItem_ = AddItem(this, "PrintItem", SMenuPrint);
  printItem_->setCheckable(true);
  // The toolkit flips a checkable item before reporting the click; the handler wants the
  // mark as it was shown, and the next pop-up rewrites it anyway.
  connect(printItem_, &QAction::triggered, this, [this](bool checked) {
    printItem_->setChecked(!checked);
    if (changeRunner_) {
      changeRunner_([this] { PrintItemClick(); });
    } else {
      PrintItemClick();
    }
  });
  OnItem(AddItem(this, "CoordinatesItem", SMenuCoordinates), [this] { CoordinatesItemClick(); });
  OnItem(AddItem(this, "FontItem", SMenuFont), [this] { FontItemClick(); });
  connect(this, &QMenu::aboutToShow, this, [this] { MenuPopup(); });
}

void TGeneralPopupMenu::OnItem(QAction* item, std::function<void()> handler) {
  connect(item, &QAction::triggered, this, [this, handler = std::move(handler)] {
    if (changeRunner_) {
      changeRunner_(handler);
    } else {
      handler();
    }
  });
}

QAction* TGeneralPopupMenu::AddSectionItem(const char* objectName, int captionId) {
  addSeparator();
  return AddItem(this, objectName, captionId);
}

void TGeneralPopupMenu::MenuPopup() {
  if (properties_ != nullptr) {
    printItem_->setChecked(GetZoneImprime());
  }
}

void TGeneralPopupMenu::PrintItemClick() {
  if (properties_ == nullptr) {
    return;
  }
  properties_->Changed();
  SetZoneImprime(!printItem_->isChecked());
}

void TGeneralPopupMenu::CoordinatesItemClick() {
  TVYKCoordoDialog dialog(DialogParent());
  dialog.SetX(GetZoneLeft());
  dialog.SetY(GetZoneTop());
  dialog.SetZoneWidth(GetZoneWidth());
  dialog.SetZoneHeight(GetZoneHeight());
  if (!dialog.Execute()) {
    return;
  }
  properties_->Changed();
  SetZoneLeft(dialog.X());
  SetZoneTop(dialog.Y());
  SetZoneWidth(dialog.ZoneWidth());
  SetZoneHeight(dialog.ZoneHeight());
  RefreshZone();
}

void TGeneralPopupMenu::FontItemClick() {
  TFont font;
  font.Assign(GetZoneFont());  // a copy: the zone changes only through SetZoneFont
  const QFont initial = OfferedFont(font);
  QFont chosen;
  const bool confirmed = fontSelector_ ? fontSelector_(DialogParent(), initial, &chosen)
                                       : SelectFontWithDialog(DialogParent(), initial, &chosen);
  if (!confirmed) {
    return;
  }
  properties_->Changed();
  FromQFont(chosen, font);
  SetZoneFont(font);
  RefreshZone();
}

TVersementPourPopupMenu::TVersementPourPopupMenu(QWidget* parent) : TSectionPopupMenu(parent) {
  OnItem(AddSectionItem("TextItem", SMenuText), [this] { TextItemClick(); });
}

void TVersementPourPopupMenu::TextItemClick() {
  TVYKTextDialog dialog(DialogParent());
  dialog.SetZoneText(LinesToText(Zone().Text()));
  if (!dialog.Execute()) {
    return;
  }
  Properties()->Changed();
  Zone().SetText(TextToLines(dialog.ZoneText()));
  Zone().UpdateShape();
}

TComptePopupMenu::TComptePopupMenu(QWidget* parent) : TSectionPopupMenu(parent) {
  OnItem(AddSectionItem("AccountNumberItem", SMenuAccountNumber),
         [this] { AccountNumberItemClick(); });
}

void TComptePopupMenu::AccountNumberItemClick() {
  TCompte& account = TheSection();
  TVYKCliBvrDialog dialog(DialogParent());
  dialog.SetAccountNumber(account.number());
  if (!dialog.Execute()) {
    return;
  }
  Properties()->Changed();
  account.Setnumber(dialog.AccountNumber());
  // The number shows in both zones, whichever side the menu serves.
  account.Receipt().UpdateShape();
  account.Processing().UpdateShape();
}

TMontantPopupMenu::TMontantPopupMenu(QWidget* parent) : TSectionPopupMenu(parent) {
  OnItem(AddSectionItem("DecimalZoneItem", SMenuDecimalZone), [this] { DecimalZoneItemClick(); });
}

void TMontantPopupMenu::DecimalZoneItemClick() {
  TMontant& amount = TheSection();
  TVYKAmountDecimalPartDialog dialog(DialogParent());
  dialog.SetdecimalWidth(amount.decimalWidth());
  dialog.SetCommaWidth(amount.CommaWidth());
  dialog.SetCharWidth(amount.CharWidth());
  dialog.SetNegativeAmountChar(amount.NegativeAmountChar);
  dialog.SetShowNegativeAmount(amount.ShowNegativeAmount);
  if (!dialog.Execute()) {
    return;
  }
  Properties()->Changed();
  amount.SetdecimalWidth(dialog.decimalWidth());
  amount.SetCommaWidth(dialog.CommaWidth());
  amount.SetCharWidth(dialog.CharWidth());
  amount.NegativeAmountChar = dialog.NegativeAmountChar();
  amount.ShowNegativeAmount = dialog.ShowNegativeAmount();
  amount.Receipt().UpdateShape();
  amount.Processing().UpdateShape();
}

TReferencePopupMenu::TReferencePopupMenu(QWidget* parent) : TSectionPopupMenu(parent) {
  OnItem(AddSectionItem("ReferenceItem", SMenuReference), [this] { ReferenceItemClick(); });
}

void TReferencePopupMenu::ReferenceItemClick() {
  TNumberReference& number = TheSection().number();
  TVYKRefDialog dialog(DialogParent());
  // The number first: it derives a participant length that the stored one then replaces.
  dialog.SetAccountNumber(number.AccountNumber);
  dialog.SetAccountNumberIndexStart(number.AccountNumberIndexStart);
  dialog.SetAccountNumberLength(number.AccountNumberLength);
  dialog.SetInternalNumberIndexStart(number.InternalNumberIndexStart);
  dialog.SetInternalNumberLength(number.InternalNumberLength);
  if (!dialog.Execute()) {
    return;
  }
  Properties()->Changed();
  number.AccountNumber = dialog.AccountNumber();
  number.AccountNumberIndexStart = dialog.AccountNumberIndexStart();
  number.AccountNumberLength = dialog.AccountNumberLength();
  number.InternalNumberIndexStart = dialog.InternalNumberIndexStart();
  number.InternalNumberLength = dialog.InternalNumberLength();
}

}  // namespace bvr
