#pragma once
// What every screen test needs.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "ui/qt/ScreenKit.h"

namespace zvtest {

// Shows a screen without blocking and makes it the active window.
inline void showActive(QWidget* w) {
  w->show();
  QApplication::setActiveWindow(w);
  (void)QTest::qWaitForWindowActive(w, 1000);
  QApplication::processEvents();
}

// The captions of a screen's command rows.
inline QStringList captions(const zv::MenuChoices* m) {
  QStringList out;
  for (int i = 0; i < m->count(); ++i) out << m->button(i)->text();
  return out;
}

// The help text each row puts into the message panel when it takes the focus.
inline QStringList helps(const zv::MenuChoices* m, const QLabel* panel) {
  QStringList out;
  for (int i = 0; i < m->count(); ++i) {
    m->button(i)->setFocus();
    QApplication::processEvents();
    out << panel->text();
  }
  return out;
}

// Enter on row i, as the user gives it.
inline void choose(const zv::MenuChoices* m, int row) {
  m->button(row)->setFocus();
  QTest::keyClick(m->button(row), Qt::Key_Return);
  QApplication::processEvents();
}

}  // namespace zvtest
