#include "editing/VYKBVREdit.h"

#include <QKeyEvent>
#include <algorithm>

#include "editing/UserNumbers.h"

namespace bvr {

namespace {
constexpr int kUnlimited = 32767;  // QLineEdit's own default
}

std::optional<QChar> TypedCharacter(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return QChar(kEnter);
    case Qt::Key_Backspace:
      return QChar(kBackspace);
    case Qt::Key_Escape:
      return QChar(27);
    case Qt::Key_Delete:  // some platforms give it the text "\x7f"; it types nothing
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return std::nullopt;
    default:
      break;
  }
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) &&
      event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) {
    return QChar(static_cast<char16_t>(event.key() - Qt::Key_A + 1));
  }
  if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier)) {
    return std::nullopt;  // menu and button mnemonics
  }
  const QString text = event.text();
  if (text.isEmpty()) {
    return std::nullopt;
  }
  return text.front();
}

TVYKEdit::TVYKEdit(QWidget* parent) : QLineEdit(parent) {}

void TVYKEdit::SetTypedMaxLength(int length) {
  typedMaxLength_ = std::max(0, length);
  const int limit = typedMaxLength_ > 0 ? typedMaxLength_ : kUnlimited;
  setMaxLength(std::max(limit, static_cast<int>(text().size())));
}

void TVYKEdit::SetProgramText(const QString& value) {
  if (value == text()) {
    return;
  }
  // setText cuts at maxLength: raise it first, so the program's text shows whole.
  if (value.size() > maxLength()) {
    setMaxLength(static_cast<int>(value.size()));
  }
  setText(value);
  const int limit = typedMaxLength_ > 0 ? typedMaxLength_ : kUnlimited;
  if (maxLength() > limit && value.size() <= limit) {
    setMaxLength(limit);  // cuts nothing: the text fits
  }
}

void TVYKEdit::keyPressEvent(QKeyEvent* event) {
  if (const std::optional<QChar> typed = TypedCharacter(*event)) {
    const QChar c = *typed;
    if (c == kEnter) {
      QLineEdit::keyPressEvent(event);  // ignored there: goes on to the default button
      return;
    }
    if (keyFilter_ && !keyFilter_(*this, c)) {
      event->accept();  // dropped
      return;
    }
    const bool inserts = c.unicode() >= 0x20 && c.unicode() != 0x7F;
    if (inserts && typedMaxLength_ > 0 &&
        text().size() - selectedText().size() >= typedMaxLength_) {
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void TVYKEdit::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  emit KeyUp();
}

}  // namespace bvr
