#include "designer/VYKBVRSelectZone.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "designer/ZoneReach.h"
#include "numbers/Conversions.h"
#include "report/QtFont.h"

namespace bvr {

TShapeZone::TShapeZone(QWidget* parent) : QWidget(parent) {
  // Hover moves set the cursor over the handles of a selected zone.
  setMouseTracking(true);
  setCursor(Qt::ArrowCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TShapeZone::~TShapeZone() = default;

void TShapeZone::SetZoneBounds(const ZoneRect& rect, double viewWidth) {
  viewWidth_ = viewWidth;
  const double k = Scale();
  setGeometry(RoundHalfEven(k * rect.Left), RoundHalfEven(k * rect.Top),
              RoundHalfEven(k * (rect.Right - rect.Left)),
              RoundHalfEven(k * (rect.Bottom - rect.Top)));
}

void TShapeZone::Invalidate() {
  update();
}

void TShapeZone::SetTextFont(const TFont& font) {
  textFont_.Assign(font);
}

void TShapeZone::SetLines(const std::vector<std::string>& lines) {
  lines_ = lines;
}

void TShapeZone::SetLineText(const std::string& text) {
  lineText_ = text;
}

ZoneRect TShapeZone::BoundsRect() const {
  const QRect g = geometry();
  return ZoneRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void TShapeZone::SetOnBoundsChanged(std::function<void()> callback) {
  onBoundsChanged_ = std::move(callback);
}

void TShapeZone::SetSelected(bool value) {
  selected_ = value;
  repaint();
}

int TShapeZone::ScaledFontSize(int size) const {
  return RoundHalfEven(size * viewWidth_ * 2.54 / 2100.0);
}

void TShapeZone::SetColor(const QColor& color) {
  color_ = color;
  update();
}

void TShapeZone::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QColor(0, 0, 0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  // From here on, client coordinates.
  painter.translate(1, 1);
  const QSize client = ClientSize();
  painter.fillRect(QRect(QPoint(0, 0), client), color_);
  if (selected_) {
    for (const HandleInfo& info : kHandles) {
      painter.fillRect(HandleRect(info.handle, client), Qt::black);
    }
  }
  DrawText(painter);
}

void TShapeZone::DrawText(QPainter& painter) {
  if (textKind_ == stNone) {
    return;
  }
  // The model font is never changed: scaling is recomputed from its size at every paint.
  const int points = ScaledFontSize(textFont_.Size());
  if (points <= 0) {
    return;
  }
  QFont font = ToQFont(textFont_);
  font.setPointSize(points);
  painter.setFont(font);
  painter.setPen(ToQColor(textFont_.Color()));
  const QSize client = ClientSize();
  const QRect area(QPoint(4, 4), QPoint(client.width() - 4 - 1, client.height() - 4 - 1));
  if (area.isEmpty()) {
    return;
  }
  painter.setClipRect(area);
  const QFontMetrics metrics(font, this);
  // The line height of "Ab" (the cell height, not the ink), as the canvas measures text.
  const int lineHeight = metrics.size(Qt::TextSingleLine, QStringLiteral("Ab")).height();
  const auto drawLine = [&](int y, const std::string& text) {
    painter.drawText(QPoint(area.left(), y + metrics.ascent()), QString::fromStdString(text));
  };
  if (textKind_ == stLine) {
    drawLine(area.top(), lineText_);
    return;
  }
  int y = area.top();
  for (const std::string& line : lines_) {
    if (y > area.bottom()) {
      break;
    }
    drawLine(y, line);
    y += lineHeight;
  }
}

void TShapeZone::SendToOwner(QEvent::Type type) {
  if (QWidget* owner = parentWidget()) {
    ShapeEvent event(type, this);
    QCoreApplication::sendEvent(owner, &event);
  }
}

void TShapeZone::UpdateCursor(QPoint client) {
  const std::optional<HandleInfo> hit = HitHandle(client, ClientSize());
  setCursor(hit ? hit->cursor : Qt::ArrowCursor);
}

void TShapeZone::mousePressEvent(QMouseEvent* event) {
  // Presses stop here: the view deselects on presses that reach it.
  event->accept();
  if (event->button() != Qt::LeftButton) {
    return;
  }
  // A drag whose release went elsewhere ends before the next one starts.
  EndDrag();
  const QPoint client = ToClient(event->position().toPoint());
  anchor_ = client;
  dragging_ = true;
  emit DragStarted();
  if (!selected_) {
    // The view selects this zone before the message returns, so a press on a handle of a
    // zone that was not selected starts a resize at once.
    SendToOwner(WM_SHAPESELECT);
  }
  if (const std::optional<HandleInfo> hit = HitHandle(client, ClientSize())) {
    dragMode_ = hit->mode;
    setCursor(hit->cursor);
  } else {
    setCursor(Qt::ArrowCursor);
  }
}

void TShapeZone::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  // The button's real state, not the remembered one: a release swallowed by a popup or
  // another window must not leave the zone following the bare mouse.
  if (dragging_ && !(event->buttons() & Qt::LeftButton)) {
    EndDrag();
  }
  if (!selected_) {
    return;
  }
  const QPoint client = ToClient(event->position().toPoint());
  UpdateCursor(client);
  if (!dragging_) {
    return;
  }
  const DragState step = DragStep(dragMode_, DragState{geometry(), anchor_}, client);
  // The anchor moves even when the step is refused: a right or bottom edge that stopped at
  // the limit resumes from where the mouse is, not from where the edge stopped.
  anchor_ = step.anchor;
  const std::optional<QRect> bounds = Limited(step.bounds);
  if (!bounds || *bounds == geometry()) {
    return;
  }
  const QRect before = geometry();
  setGeometry(*bounds);
  if (onBoundsChanged_) {
    lastStep_ = ShapeStep{dragMode_ == dmMove, bounds->left() != before.left(),
                          bounds->top() != before.top(), bounds->right() != before.right(),
                          bounds->bottom() != before.bottom()};
    onBoundsChanged_();
    lastStep_.reset();
  }
  SendToOwner(WM_SHAPECHANGED);
}

std::optional<QRect> TShapeZone::Limited(const QRect& proposed) const {
  const QWidget* view = parentWidget();
  // A move stops at the border of the view; a resize that would take the zone out of reach
  // is refused like one that makes it too small.
  QRect bounds = proposed;
  if (view != nullptr && dragMode_ == dmMove) {
    bounds = ClampIntoReach(proposed, view->size());
  }
  const QScreen* s = screen();
  const QSize screenSize = s != nullptr ? s->geometry().size() : QSize(1 << 20, 1 << 20);
  if (!StepAllowed(bounds, screenSize)) {
    return std::nullopt;
  }
  if (view != nullptr && !KeepsReach(geometry(), bounds, view->size())) {
    return std::nullopt;
  }
  return bounds;
}

void TShapeZone::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) {
    return;
  }
  EndDrag();
  if (!selected_) {
    SendToOwner(WM_SHAPECHANGED);
  }
}

void TShapeZone::EndDrag() {
  dragMode_ = dmMove;
  if (!dragging_) {
    return;
  }
  dragging_ = false;
  emit DragFinished();
}

void TShapeZone::contextMenuEvent(QContextMenuEvent* event) {
  // The zone's own menu, never the view's; the zone is not selected by a right click. The
  // menu takes the left button's release, so a drag ends here.
  event->accept();
  EndDrag();
  if (popupMenu_ != nullptr) {
    popupMenu_->popup(event->globalPos());
  }
}

void TShapeZone::changeEvent(QEvent* event) {
  // Another window (a dialog, another program) took the mouse and the keyboard.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
    EndDrag();
  }
  if (event->type() == QEvent::EnabledChange) {
    if (!isEnabled()) {
      EndDrag();
    }
    color_ = isEnabled() ? kZoneEnabledColor : kZoneDisabledColor;
    repaint();
  }
  QWidget::changeEvent(event);
}

void TShapeZone::hideEvent(QHideEvent* event) {
  EndDrag();
  QWidget::hideEvent(event);
}

}  // namespace bvr
