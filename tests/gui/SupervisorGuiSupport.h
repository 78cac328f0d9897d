#pragma once
// Helpers for the supervisor screen tests: a data location with clients, a
// recording printer and a stand-in report writer.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

#include "report/Printer.h"
#include "supervisor/ReportBatch.h"
#include "tests/core/SupervisorFixture.h"
#include "tests/gui/GuiSupport.h"

namespace zvtest {

// Client n's report: n pages, the first line naming the client.
inline std::string fakeReport(int n, bool summary = false) {
  std::string text = "\r\n       NAME: client " + std::to_string(n) + "\r\n       line two\r\n";
  for (int p = 2; p <= n; ++p) text += "\f\r\n       page " + std::to_string(p) + " of client " + std::to_string(n) + "\r\n";
  if (summary) text += "\f\r\n       ONE-PAGE SUMMARY\r\n";
  return text;
}

struct SupervisorScreens : SupervisorFixture {
  zv::RecordingPrinter printer;
  std::vector<int> composed;
  std::vector<bool> summaries;
  std::vector<int> broken;

  explicit SupervisorScreens(int clients = 0) {
    for (int i = 1; i <= clients; ++i) addClient("Client " + std::to_string(i));
    state.printer = &printer;
  }

  // The report writer's stand-in, as the options screen calls it.
  void writeReport(const zv::ClientTable& clients, bool summary) {
    const int n = clients.CurrentRecord;
    composed.push_back(n);
    summaries.push_back(summary);
    if (std::find(broken.begin(), broken.end(), n) != broken.end())
      throw zv::ZvError(zv::ErrorKind::BadData, 0, "ZVRPT.TXT:7: the scale line has 3 fields, 5 expected");
    writeBytes(dir.file("report.prn"), fakeReport(n, summary));
  }
  std::function<void(const zv::ClientTable&, bool)> summaryComposer() {
    return [this](const zv::ClientTable& c, bool s) { writeReport(c, s); };
  }
  zv::ReportComposer composer() {
    return [this](const zv::ClientTable& c) { writeReport(c, false); };
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
