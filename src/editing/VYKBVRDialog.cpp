#include "editing/VYKBVRDialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "editing/VYKBVREdit.h"
#include "report/QtFont.h"
#include "strings/VYKBVRResources.h"

namespace bvr {

namespace {
constexpr int kBottomHeight = 36;
constexpr int kBottomRightWidth = 159;
}  // namespace

QString ResString(int id) {
  const std::string_view text = LoadResString(id);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* AddLabel(QWidget* parent, const char* objectName, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(objectName));
  label->move(x, y);
  label->adjustSize();
  return label;
}

namespace {

// `grown` became dy taller at its bottom: move down its siblings below it, and grow its
// parent in turn; the dialog itself keeps a fixed size.
void PushDownBelow(QWidget* grown, int dy) {
  QWidget* parent = grown->parentWidget();
  if (parent == nullptr) {
    return;
  }
  const int oldBottom = grown->y() + grown->height() - dy;
  for (QObject* child : parent->children()) {
    auto* sibling = qobject_cast<QWidget*>(child);
    if (sibling != nullptr && sibling != grown && sibling->y() >= oldBottom) {
      sibling->move(sibling->x(), sibling->y() + dy);
    }
  }
  if (parent->isWindow()) {
    parent->setFixedSize(parent->width(), parent->height() + dy);
  } else {
    parent->resize(parent->width(), parent->height() + dy);
    PushDownBelow(parent, dy);
  }
}

}  // namespace

QLabel* AddWrappedLabel(QWidget* parent, const char* objectName, const QString& text,
                        const QRect& bounds) {
  QLabel* label = AddLabel(parent, objectName, text, bounds.x(), bounds.y());
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setFixedSize(bounds.size());
  return label;
}

void FitWrappedLabel(QLabel* label) {
  // The texts were laid out for a narrower face than its substitute: a smaller size of the
  // same face keeps the dialog at its own size; below a legible size the label grows instead.
  constexpr int kSmallestPixels = 9;
  QFont font = label->font();
  while (font.pixelSize() > kSmallestPixels &&
         label->heightForWidth(label->width()) > label->height()) {
    font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
  }
  const int needed = label->heightForWidth(label->width());
  if (needed > label->height()) {
    const int dy = needed - label->height();
    label->setFixedHeight(needed);
    PushDownBelow(label, dy);
  }
}

TVYKEdit* AddEdit(QWidget* parent, const char* objectName, const QRect& bounds) {
  auto* edit = new TVYKEdit(parent);
  edit->setObjectName(QString::fromLatin1(objectName));
  edit->setGeometry(bounds);
  return edit;
}

TVYKDialog::TVYKDialog(QWidget* parent, const QString& objectName, int clientWidth,
                       int clientHeight)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  InstallFontSubstitutions();
  setObjectName(objectName);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(clientWidth, clientHeight);

  pnlBottom_ = new QWidget(this);
  pnlBottom_->setObjectName(QStringLiteral("pnlBottom"));
  pnlBottom_->setGeometry(0, clientHeight - kBottomHeight, clientWidth, kBottomHeight);
  auto* right = new QWidget(pnlBottom_);
  right->setObjectName(QStringLiteral("pnlBottomRight"));
  right->setGeometry(clientWidth - kBottomRightWidth, 0, kBottomRightWidth, kBottomHeight);

  butOk_ = new QPushButton(ResString(SButtonOk), right);
  butOk_->setObjectName(QStringLiteral("butOk"));
  butOk_->setGeometry(3, 8, 70, 25);
  butOk_->setDefault(true);
  butCancel_ = new QPushButton(ResString(SButtonCancel), right);
  butCancel_->setObjectName(QStringLiteral("butCancel"));
  butCancel_->setGeometry(83, 8, 70, 25);
  connect(butOk_, &QPushButton::clicked, this, &TVYKDialog::accept);
  connect(butCancel_, &QPushButton::clicked, this, &TVYKDialog::reject);
}

bool TVYKDialog::Execute() {
  const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : nullptr;
  if (screen == nullptr) {
    screen = QGuiApplication::primaryScreen();
  }
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  return exec() == QDialog::Accepted;
}

void TVYKDialog::accept() {
  FormCloseQuery();
  QDialog::accept();
}

void TVYKDialog::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();  // no cancel button: Escape does not close
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace bvr
