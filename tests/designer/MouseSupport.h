// Mouse input for the designer tests. Positions are taken in the parent's coordinates, the way
// a physical mouse stays put while the zone under it moves, and converted to the receiver's
// own coordinates at each event.
#pragma once

#include <QTest>
#include <QWidget>

namespace bvr::test {

inline QPoint Local(QWidget* w, QPoint parentPos) {
  return parentPos - w->pos();
}

inline void PressAt(QWidget* w, QPoint parentPos, Qt::MouseButton button = Qt::LeftButton) {
  QTest::mousePress(w, button, Qt::NoModifier, Local(w, parentPos));
}

// While a button is held, QTest sends a real MouseMove carrying the held buttons.
inline void MoveTo(QWidget* w, QPoint parentPos) {
  QTest::mouseMove(w, Local(w, parentPos));
}

// A move with no button held (hover), sent directly: QTest would only move the cursor.
inline void HoverTo(QWidget* w, QPoint parentPos) {
  const QPoint local = Local(w, parentPos);
  QMouseEvent event(QEvent::MouseMove, QPointF(local), QPointF(w->mapToGlobal(local)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

inline void ReleaseAt(QWidget* w, QPoint parentPos, Qt::MouseButton button = Qt::LeftButton) {
  QTest::mouseRelease(w, button, Qt::NoModifier, Local(w, parentPos));
}

}  // namespace bvr::test
