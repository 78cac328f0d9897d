#pragma once
// Helpers for the supervisor screen tests: a data location with clients, a
// recording printer and the stand-in report writer.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

#include "report/Printer.h"
#include "supervisor/ReportBatch.h"
#include "tests/core/SupervisorFixture.h"
#include "tests/gui/GuiSupport.h"

namespace zvtest {

struct SupervisorScreens : SupervisorFixture {
  zv::RecordingPrinter printer;

  explicit SupervisorScreens(int clients = 0) : SupervisorFixture(clients) { state.printer = &printer; }

  std::function<void(const zv::ClientTable&, bool)> summaryComposer() {
    return [this](const zv::ClientTable& c, bool s) { writeReport(c, s); };
  }
};

// Runs `action` on the next modal dialog once it is up (for nested exec()).
template <typename Dialog>
void whenModal(std::function<void(Dialog*)> action, int tries = 200) {
  QTimer::singleShot(10, [action, tries] {
    auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (d && d->isVisible()) {
      // Focus checks need an active window, also when this test runs alone.
      QApplication::setActiveWindow(d);
      action(d);
    }
    else if (tries > 0) whenModal<Dialog>(action, tries - 1);
  });
}

// Lets events run until `done` holds (a shortcut clicks its button after a short animation).
inline bool waitFor(const std::function<bool()>& done, int ms = 2000) {
  for (int waited = 0; waited <= ms; waited += 10) {
    if (done()) return true;
    QTest::qWait(10);
  }
  return done();
}

}  // namespace zvtest
