#include "editing/VYKBVRReferenceDialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "editing/UserNumbers.h"
#include "editing/VYKBVREdit.h"
#include "strings/VYKBVRResources.h"

namespace bvr {

namespace {

constexpr int kPlaces = 26;

bool Covers(std::int64_t start, std::int64_t length, std::int64_t place) {
  return length > 0 && start <= place && place <= start + length - 1;
}

std::int32_t Clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The part's length cut so that it ends at place 26 at the latest.
std::int32_t CutLength(std::int32_t start, std::int32_t length) {
  if (std::int64_t{start} + length - 1 > kPlaces) {
    return Clamp32(std::int64_t{kPlaces} + 1 - start);
  }
  return length;
}

// OCR-B, bold, 19 pixels, or smaller when the 26 places would not fit in `width`: OCR-B
// faces differ in width, and a cut sample is no sample.
QFont SampleFont(int width) {
  QFont font(QStringLiteral("OCR-B"));
  font.setBold(true);
  for (int pixels = 19; pixels > 8; --pixels) {
    font.setPixelSize(pixels);
    if (QFontMetrics(font).horizontalAdvance(QString(kPlaces, QChar(u'0'))) <= width) {
      break;
    }
  }
  return font;
}

QLabel* AddSampleLabel(QWidget* parent, const char* objectName, const QString& text,
                       const QFont& font, int x, int y) {
  QLabel* label = AddLabel(parent, objectName, text, x, y);
  label->setFont(font);
  label->setAutoFillBackground(false);
  label->adjustSize();
  return label;
}

}  // namespace

QString ReferenceSample(std::int32_t accountStart, std::int32_t accountLength,
                        std::int32_t internalStart, std::int32_t internalLength) {
  QString sample;
  sample.reserve(kPlaces);
  for (int place = 1; place <= kPlaces; ++place) {
    const bool account = Covers(accountStart, accountLength, place);
    const bool internal = Covers(internalStart, internalLength, place);
    sample += account && internal ? u'!' : account ? u'1' : internal ? u'2' : u'0';
  }
  return sample;
}

TVYKRefDialog::TVYKRefDialog(QWidget* parent)
    : TVYKDialog(parent, QStringLiteral("VYKRefDialog"), 299, 240) {
  setWindowTitle(ResString(SReferenceDialogCaption));

  constexpr int kEditX = 180;
  const QFont sampleFont = SampleFont(width() - 2 * 8);
  AddLabel(this, "labAccountNumber", ResString(SParticipantNumber), 8, 12);
  ediAccountNumber_ = AddEdit(this, "ediAccountNumber", QRect(kEditX - 60, 8, 171, 21));
  AddLabel(this, "labStartAccountNumber", ResString(SParticipantStart), 8, 44);
  ediAccountIndex_ = AddEdit(this, "ediAccountIndex", QRect(kEditX, 40, 33, 21));
  AddLabel(this, "labLengthAccountNumber", ResString(SParticipantLength), 8, 70);
  ediAccountlength_ = AddEdit(this, "ediAccountlength", QRect(kEditX, 66, 33, 21));
  AddSampleLabel(this, "LabAccountNumberSample", QStringLiteral("(1)"), sampleFont, kEditX + 44,
                 52);

  AddLabel(this, "labStartInternalNumber", ResString(SInternalStart), 8, 104);
  ediInternalNumberIndex_ = AddEdit(this, "ediInternalNumberIndex", QRect(kEditX, 100, 33, 21));
  AddLabel(this, "labLengthInternalNumber", ResString(SInternalLength), 8, 130);
  ediInternalNumberLength_ = AddEdit(this, "ediInternalNumberLength", QRect(kEditX, 126, 33, 21));
  AddSampleLabel(this, "LabInternalNumberSample", QStringLiteral("(2)"), sampleFont, kEditX + 44,
                 112);

  labReferenceSample_ =
      AddSampleLabel(this, "labReferenceSample", QString(kPlaces, QChar(u'0')), sampleFont, 8, 166);
  labReferenceSample_->move((width() - labReferenceSample_->width()) / 2, 166);

  ediAccountNumber_->SetTypedMaxLength(kPlaces);
  for (TVYKEdit* edit :
       {ediAccountIndex_, ediAccountlength_, ediInternalNumberIndex_, ediInternalNumberLength_}) {
    edit->SetTypedMaxLength(2);
    edit->SetProgramText(QStringLiteral("0"));
    connect(edit, &QLineEdit::textChanged, this, &TVYKRefDialog::ediChange);
  }
  for (TVYKEdit* edit : {ediAccountNumber_, ediAccountIndex_, ediAccountlength_,
                         ediInternalNumberIndex_, ediInternalNumberLength_}) {
    edit->SetKeyFilter(DigitKeyFilter);
  }
  connect(ediAccountNumber_, &QLineEdit::textChanged, this, &TVYKRefDialog::ediAccountNumberChange);

  // The participant length follows the number: shown, not typed.
  ediAccountlength_->setReadOnly(true);
  QPalette palette = ediAccountlength_->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  ediAccountlength_->setPalette(palette);

  setTabOrder(ediAccountNumber_, ediAccountIndex_);
  setTabOrder(ediAccountIndex_, ediAccountlength_);
  setTabOrder(ediAccountlength_, ediInternalNumberIndex_);
  setTabOrder(ediInternalNumberIndex_, ediInternalNumberLength_);
  setTabOrder(ediInternalNumberLength_, OkButton());
  setTabOrder(OkButton(), CancelButton());
  ediAccountNumber_->setFocus();
}

void TVYKRefDialog::ediAccountNumberChange() {
  ediAccountlength_->SetProgramText(QString::number(ediAccountNumber_->text().size()));
}

void TVYKRefDialog::ediChange() {
  labReferenceSample_->setText(ReferenceSample(AccountNumberIndexStart(), AccountNumberLength(),
                                               InternalNumberIndexStart(), InternalNumberLength()));
}

void TVYKRefDialog::FormCloseQuery() {
  SetAccountNumberLength(CutLength(AccountNumberIndexStart(), AccountNumberLength()));
  SetInternalNumberLength(CutLength(InternalNumberIndexStart(), InternalNumberLength()));
}

std::string TVYKRefDialog::AccountNumber() const {
  return ediAccountNumber_->text().toStdString();
}
void TVYKRefDialog::SetAccountNumber(const std::string& number) {
  ediAccountNumber_->SetProgramText(QString::fromStdString(number));
}
std::int32_t TVYKRefDialog::AccountNumberIndexStart() const {
  return IntegerTextOrZero(ediAccountIndex_->text());
}
void TVYKRefDialog::SetAccountNumberIndexStart(std::int32_t value) {
  ediAccountIndex_->SetProgramText(QString::number(value));
}
std::int32_t TVYKRefDialog::AccountNumberLength() const {
  return IntegerTextOrZero(ediAccountlength_->text());
}
void TVYKRefDialog::SetAccountNumberLength(std::int32_t value) {
  ediAccountlength_->SetProgramText(QString::number(value));
}
std::int32_t TVYKRefDialog::InternalNumberIndexStart() const {
  return IntegerTextOrZero(ediInternalNumberIndex_->text());
}
void TVYKRefDialog::SetInternalNumberIndexStart(std::int32_t value) {
  ediInternalNumberIndex_->SetProgramText(QString::number(value));
}
std::int32_t TVYKRefDialog::InternalNumberLength() const {
  return IntegerTextOrZero(ediInternalNumberLength_->text());
}
void TVYKRefDialog::SetInternalNumberLength(std::int32_t value) {
  ediInternalNumberLength_->SetProgramText(QString::number(value));
}

}  // namespace bvr
