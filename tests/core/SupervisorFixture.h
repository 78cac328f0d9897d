#pragma once
// A data location and program folder in a fresh temporary folder, with a
// system state on the real file system and a scripted prompter.
#include <string>

#include "app/SystemState.h"
#include "records/ClientFile.h"
#include "tests/core/TestSupport.h"
#include "ui/Prompter.h"

namespace zvtest {

struct SupervisorFixture {
  TempDir dir;
  zv::RealFileSystem realFs;
  zv::FaultyFileSystem fs{realFs};
  zv::ScriptedPrompter prompter;
  zv::SystemState state{fs, prompter, dir.path()};

  SupervisorFixture() { state.dataLocation = dir.path(); }

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
};

}  // namespace zvtest
