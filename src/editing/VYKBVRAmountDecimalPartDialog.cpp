#include "editing/VYKBVRAmountDecimalPartDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <optional>

#include "editing/MillimetreEdit.h"
#include "editing/UserNumbers.h"
#include "editing/VYKBVREdit.h"
#include "strings/VYKBVRResources.h"
#include "strings/Windows1252.h"

namespace bvr {

namespace {

// Trims as the classic Trim does: everything up to the space, control characters included.
QString TrimControls(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin].unicode() <= u' ') {
    ++begin;
  }
  while (end > begin && text[end - 1].unicode() <= u' ') {
    --end;
  }
  return text.mid(begin, end - begin);
}

}  // namespace

TVYKAmountDecimalPartDialog::TVYKAmountDecimalPartDialog(QWidget* parent)
    : TVYKDialog(parent, QStringLiteral("VYKAmountDecimalPartDialog"), 272, 336) {
  setWindowTitle(ResString(SDecimalDialogCaption));

  auto* grpbWidth = new QGroupBox(ResString(SDecimalGroup), this);
  grpbWidth->setObjectName(QStringLiteral("grpbWidth"));
  grpbWidth->setGeometry(8, 6, 256, 150);
  AddLabel(grpbWidth, "labDecimalWidth", ResString(SDecimalWidth), 12, 26);
  ediDecimalWidth_ = AddEdit(grpbWidth, "ediDecimalWidth", QRect(180, 22, 60, 21));
  QLabel* labDecimalWidthHelp = AddWrappedLabel(
      grpbWidth, "labDecimalWidthHelp", ResString(SDecimalWidthHelp), QRect(12, 46, 232, 30));
  AddLabel(grpbWidth, "labCommaWidth", ResString(SCommaWidth), 12, 88);
  ediCommaWidth_ = AddEdit(grpbWidth, "ediCommaWidth", QRect(180, 84, 60, 21));
  QLabel* labCommaWidthHelp = AddWrappedLabel(grpbWidth, "labCommaWidthHelp",
                                              ResString(SCommaWidthHelp), QRect(12, 108, 232, 30));

  AddLabel(this, "labCharWidth", ResString(SCharWidth), 20, 172);
  ediCharWidth_ = AddEdit(this, "ediCharWidth", QRect(188, 168, 60, 21));
  QLabel* labCharWidthHelp =
      AddWrappedLabel(this, "labCharWidthHelp", ResString(SCharWidthHelp), QRect(20, 194, 236, 44));

  checkBoxDisplayNegativeAmount_ = new QCheckBox(ResString(SShowNegativeAmount), this);
  checkBoxDisplayNegativeAmount_->setObjectName(QStringLiteral("CheckBoxDisplayNegativeAmount"));
  checkBoxDisplayNegativeAmount_->setLayoutDirection(Qt::RightToLeft);  // caption on the left
  checkBoxDisplayNegativeAmount_->adjustSize();
  checkBoxDisplayNegativeAmount_->move(20, 248);

  AddLabel(this, "labNegativeChar", ResString(SNegativeChar), 20, 278);
  ediNegativeChar_ = AddEdit(this, "ediNegativeChar", QRect(188, 274, 24, 21));
  ediNegativeChar_->SetTypedMaxLength(1);

  for (QLabel* help : {labDecimalWidthHelp, labCommaWidthHelp, labCharWidthHelp}) {
    FitWrappedLabel(help);
  }

  for (TVYKEdit* edit : {ediDecimalWidth_, ediCommaWidth_, ediCharWidth_}) {
    MakeMillimetreEdit(*edit);
  }
  setTabOrder(ediDecimalWidth_, ediCommaWidth_);
  setTabOrder(ediCommaWidth_, ediCharWidth_);
  setTabOrder(ediCharWidth_, checkBoxDisplayNegativeAmount_);
  setTabOrder(checkBoxDisplayNegativeAmount_, ediNegativeChar_);
  setTabOrder(ediNegativeChar_, OkButton());
  setTabOrder(OkButton(), CancelButton());
  ediDecimalWidth_->setFocus();
}

std::int32_t TVYKAmountDecimalPartDialog::decimalWidth() const {
  return MillimetreTextToTenths(ediDecimalWidth_->text());
}
void TVYKAmountDecimalPartDialog::SetdecimalWidth(std::int32_t tenths) {
  ShowTenths(*ediDecimalWidth_, tenths);
}
std::int32_t TVYKAmountDecimalPartDialog::CommaWidth() const {
  return MillimetreTextToTenths(ediCommaWidth_->text());
}
void TVYKAmountDecimalPartDialog::SetCommaWidth(std::int32_t tenths) {
  ShowTenths(*ediCommaWidth_, tenths);
}
std::int32_t TVYKAmountDecimalPartDialog::CharWidth() const {
  return MillimetreTextToTenths(ediCharWidth_->text());
}
void TVYKAmountDecimalPartDialog::SetCharWidth(std::int32_t tenths) {
  ShowTenths(*ediCharWidth_, tenths);
}

std::uint8_t TVYKAmountDecimalPartDialog::NegativeAmountChar() const {
  const QString text = TrimControls(ediNegativeChar_->text());
  if (text.isEmpty()) {
    return 0;
  }
  const char32_t first = text.toUcs4().front();
  const std::optional<std::uint8_t> code = UnicodeToWindows1252(first);
  return code ? *code : presetNegativeAmountChar_;
}

void TVYKAmountDecimalPartDialog::SetNegativeAmountChar(std::uint8_t code) {
  presetNegativeAmountChar_ = code;
  // Code 0 ends a classic edit's text: it shows as an empty edit.
  const char32_t unicode = Windows1252ToUnicode(code);
  ediNegativeChar_->SetProgramText(code == 0 ? QString() : QString::fromUcs4(&unicode, 1));
}

bool TVYKAmountDecimalPartDialog::ShowNegativeAmount() const {
  return checkBoxDisplayNegativeAmount_->isChecked();
}
void TVYKAmountDecimalPartDialog::SetShowNegativeAmount(bool show) {
  checkBoxDisplayNegativeAmount_->setChecked(show);
}

}  // namespace bvr
