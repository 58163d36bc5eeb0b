#include "editing/VYKBVRClientBvrDialog.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "editing/UserNumbers.h"
#include "editing/VYKBVREdit.h"
#include "model/Font.h"
#include "numbers/VYKBVRFunctions.h"
#include "report/QtFont.h"
#include "strings/VYKBVRResources.h"

namespace bvr {

namespace {

// The run of digits from pos on; pos ends on the first other character.
QString DigitRun(const QString& text, qsizetype& pos) {
  const qsizetype start = pos;
  while (pos < text.size() && IsAsciiDigit(text[pos])) {
    ++pos;
  }
  return text.mid(start, pos - start);
}

// Skips one character, a surrogate pair counting as one.
void SkipOne(const QString& text, qsizetype& pos) {
  if (pos < text.size()) {
    pos += text[pos].isHighSurrogate() && pos + 1 < text.size() ? 2 : 1;
  }
}

// Pasted text is not filtered: only its digits count for the key.
std::string DigitsPadded(const QString& text, qsizetype width) {
  std::string digits;
  for (QChar c : text) {
    if (IsAsciiDigit(c)) {
      digits += static_cast<char>(c.unicode());
    }
  }
  if (static_cast<qsizetype>(digits.size()) < width) {
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  }
  return digits;
}

QLabel* AddSeparator(QWidget* parent, const char* objectName, int x) {
  QLabel* label = AddLabel(parent, objectName, QStringLiteral("-"), x, 0);
  QFont font = label->font();
  font.setPixelSize(16);
  font.setBold(true);
  label->setFont(font);
  label->adjustSize();
  label->move(x, 27 - label->height() / 2);
  return label;
}

}  // namespace

TVYKCliBvrDialog::TVYKCliBvrDialog(QWidget* parent)
    : TVYKDialog(parent, QStringLiteral("VYKCliBvrDialog"), 177, 87) {
  setWindowTitle(ResString(SAccountDialogCaption));

  ediCodeBvr_ = AddEdit(this, "ediCodeBvr", QRect(16, 16, 28, 21));
  AddSeparator(this, "labSeparator1", 50);
  ediNumeroOrdre_ = AddEdit(this, "ediNumeroOrdre", QRect(62, 16, 62, 21));
  AddSeparator(this, "labSeparator2", 130);
  ediKey_ = AddEdit(this, "ediKey", QRect(142, 16, 20, 21));

  ediCodeBvr_->SetTypedMaxLength(2);
  ediNumeroOrdre_->SetTypedMaxLength(6);
  ediKey_->SetTypedMaxLength(1);
  ediCodeBvr_->SetProgramText(QStringLiteral("00"));
  ediNumeroOrdre_->SetProgramText(QStringLiteral("000000"));
  for (TVYKEdit* edit : {ediCodeBvr_, ediNumeroOrdre_, ediKey_}) {
    edit->SetKeyFilter(
        [](const QLineEdit&, QChar c) { return IsAsciiDigit(c) || c == kBackspace; });
  }
  connect(ediCodeBvr_, &TVYKEdit::KeyUp, this, &TVYKCliBvrDialog::ComputeKey);
  connect(ediNumeroOrdre_, &TVYKEdit::KeyUp, this, &TVYKCliBvrDialog::ComputeKey);

  // The key can be typed over, but it is no tab stop and looks computed.
  ediKey_->setFocusPolicy(Qt::ClickFocus);
  QPalette palette = ediKey_->palette();
  palette.setColor(QPalette::Base, ToQColor(SystemColor(4)));  // the menu colour
  ediKey_->setPalette(palette);

  setTabOrder(ediCodeBvr_, ediNumeroOrdre_);
  setTabOrder(ediNumeroOrdre_, OkButton());
  setTabOrder(OkButton(), CancelButton());
  ediCodeBvr_->setFocus();
}

std::string TVYKCliBvrDialog::AccountNumber() const {
  if (ediCodeBvr_->text().isEmpty()) {
    ediCodeBvr_->SetProgramText(QStringLiteral("00"));
  }
  if (ediNumeroOrdre_->text().isEmpty()) {
    ediNumeroOrdre_->SetProgramText(QStringLiteral("000000"));
  }
  if (ediKey_->text().isEmpty()) {
    ediKey_->SetProgramText(QStringLiteral("0"));
  }
  return (ediCodeBvr_->text() + u'-' + ediNumeroOrdre_->text() + u'-' + ediKey_->text())
      .toStdString();
}

void TVYKCliBvrDialog::SetAccountNumber(const std::string& number) {
  const QString text = QString::fromStdString(number.empty() ? "00-000000-0" : number);
  qsizetype pos = 0;
  ediCodeBvr_->SetProgramText(DigitRun(text, pos));
  SkipOne(text, pos);
  ediNumeroOrdre_->SetProgramText(DigitRun(text, pos));
  SkipOne(text, pos);
  ediKey_->SetProgramText(DigitRun(text, pos));
}

void TVYKCliBvrDialog::ComputeKey() {
  const std::string digits =
      DigitsPadded(ediCodeBvr_->text(), 2) + DigitsPadded(ediNumeroOrdre_->text(), 6);
  ediKey_->SetProgramText(QString(QChar(u'0' + CheckDigit(digits))));
}

}  // namespace bvr
