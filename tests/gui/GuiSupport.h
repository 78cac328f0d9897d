#pragma once
// What every screen test needs.
#include <QApplication>
#include <QTest>
#include <QWidget>

namespace zvtest {

// Shows a screen without blocking and makes it the active window.
inline void showActive(QWidget* w) {
  w->show();
  QApplication::setActiveWindow(w);
  (void)QTest::qWaitForWindowActive(w, 1000);
  QApplication::processEvents();
}

}  // namespace zvtest
