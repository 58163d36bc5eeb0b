// A window's first size: the size it asks for, but never more than the screen offers, so that
// on a 1024 x 700 screen without a window manager nothing lies beyond the screen's edge.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QSize>

namespace bvr {

inline QSize FitToScreen(QSize wanted) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? wanted.boundedTo(screen->availableGeometry().size()) : wanted;
}

}  // namespace bvr
