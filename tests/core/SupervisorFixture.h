#pragma once
// A data location and program folder with a stand-in for the report writer.
#include <algorithm>
#include <string>
#include <vector>

#include "app/SystemState.h"
#include "records/ClientFile.h"
#include "supervisor/ReportBatch.h"
#include "tests/core/TestSupport.h"
#include "ui/Prompter.h"

namespace zvtest {

// Client n's report as the stand-in writes it: n pages, the first line naming
// the client; the one-page summary last when asked for.
inline std::string fakeReport(int n, bool summary = false) {
  std::string text = "\r\n       NAME: client " + std::to_string(n) + "\r\n       line two\r\n";
  for (int p = 2; p <= n; ++p) text += "\f\r\n       page " + std::to_string(p) + " of client " + std::to_string(n) + "\r\n";
  if (summary) text += "\f\r\n       ONE-PAGE SUMMARY\r\n";
  return text;
}

struct SupervisorFixture : Office {
  std::vector<int> composed;    // the clients whose report the stand-in wrote
  std::vector<int> broken;      // clients whose report cannot be produced

  explicit SupervisorFixture(int clients = 0) {
    for (int i = 1; i <= clients; ++i) addClient("Client " + std::to_string(i));
  }

  // Stores a client as the next record of the client file.
  int addClient(const std::string& name, const std::string& responses = std::string(162, '1'),
                const std::string& nameDeleted = "0") {
    const int n = state.clients.RecordCount + 1;
    zv::ClientRecord& r = state.clients.slot[static_cast<std::size_t>(n)];
    r.clear();
    r.setRaw(zv::Field::Name, name);
    r.setRaw(zv::Field::SSN, "N");
    r.setRaw(zv::Field::Responses, responses);
    r.setRaw(zv::Field::NameDeleted, nameDeleted);
    zv::SaveClientRecord(fs, state.clientFile(), state.clients, n);
    state.clients.RecordCount = static_cast<std::int16_t>(n);
    state.clients.CurrentRecord = 1;
    return n;
  }

  // Record n as the client file holds it.
  std::string recordOnDisk(int n) const {
    return readBytes(state.clientFile()).substr(static_cast<std::size_t>(n - 1) * 255, 255);
  }

  // The report writer's stand-in, writing report.prn for the current client.
  void writeReport(const zv::ClientTable& clients, bool summary) {
    const int n = clients.CurrentRecord;
    composed.push_back(n);
    if (std::find(broken.begin(), broken.end(), n) != broken.end())
      throw zv::ZvError(zv::ErrorKind::BadData, 0, "ZVRPT.TXT:7: the scale line has 3 fields, 5 expected");
    writeBytes(program.file("report.prn"), fakeReport(n, summary));
  }
  zv::ReportComposer composer() {
    return [this](const zv::ClientTable& c) { writeReport(c, false); };
  }
};

}  // namespace zvtest
