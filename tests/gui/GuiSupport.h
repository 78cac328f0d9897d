#pragma once
// What every screen test needs, and the supervisor screens' data location
// with clients, a recording printer and the stand-in report writer.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <functional>

#include "report/Printer.h"
#include "supervisor/ReportBatch.h"
#include "tests/core/SupervisorFixture.h"
#include "ui/qt/ScreenKit.h"

namespace zvtest {

// Shows a screen without blocking and makes it the active window.
inline void showActive(QWidget* w) {
  w->show();
  QApplication::setActiveWindow(w);
  (void)QTest::qWaitForWindowActive(w, 1000);
  QApplication::processEvents();
}

// Keys go where the focus is, as a user's keys do.
inline QWidget* focused() { return QApplication::focusWidget(); }
inline void press(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
  QTest::keyClick(focused(), k, m);
  QApplication::processEvents();
}
// The widget with the focus after a key.
inline QWidget* focusAfter(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
  press(k, m);
  return focused();
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

struct SupervisorScreens : SupervisorFixture {
  zv::RecordingPrinter printer;

  explicit SupervisorScreens(int clients = 0) : SupervisorFixture(clients) { state.printer = &printer; }

  std::function<void(const zv::ClientTable&, bool)> summaryComposer() {
    return [this](const zv::ClientTable& c, bool s) { writeReport(c, s); };
  }
};

// Whether a screen is shown, and how it was closed.
inline std::pair<bool, int> shownAndResult(const QDialog& d) { return {d.isVisible(), d.result()}; }
const std::pair<bool, int> kClosedAccepted{false, QDialog::Accepted}, kClosedRejected{false, QDialog::Rejected};

// Lets events run until `done` holds (a shortcut clicks its button after a short animation).
inline bool waitFor(const std::function<bool()>& done, int ms = 2000) {
  for (int waited = 0; waited <= ms; waited += 10) {
    if (done()) return true;
    QTest::qWait(10);
  }
  return done();
}

}  // namespace zvtest
