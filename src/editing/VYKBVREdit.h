// The one-line edit of the zone dialogs: a per-character key filter, a limit on typed length
// that never cuts text the program puts in, and a key-up signal.
#pragma once

#include <QLineEdit>
#include <functional>
#include <optional>

class QKeyEvent;

namespace bvr {

// The character a key press types, as a classic edit control sees it: Enter is 13, Backspace
// 8, Escape 27, Ctrl+letter its control character (Ctrl+V is 22). Keys that type nothing
// (arrows, Delete, Home, ...) give no character.
std::optional<QChar> TypedCharacter(const QKeyEvent& event);

class TVYKEdit : public QLineEdit {
  Q_OBJECT

 public:
  // True when the typed character may reach the edit.
  using KeyFilter = std::function<bool(const QLineEdit& edit, QChar typed)>;

  explicit TVYKEdit(QWidget* parent = nullptr);

  // Typed characters are filtered; pasted text and program text are not. Enter always passes
  // on, so that it reaches the dialog's default button.
  void SetKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }

  // At most this many characters can be typed (0: no limit). maxLength() follows it, but is
  // raised when the program puts in a longer text, which is shown whole.
  int TypedMaxLength() const { return typedMaxLength_; }
  void SetTypedMaxLength(int length);

  // Replaces the text when it differs (only then textChanged runs), never truncated.
  void SetProgramText(const QString& text);

 signals:
  // A key was released while the edit had the focus.
  void KeyUp();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  KeyFilter keyFilter_;
  int typedMaxLength_ = 0;
};

}  // namespace bvr
