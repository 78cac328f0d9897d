#include "supervisor/DeleteNames.h"

#include "app/SystemState.h"
#include "records/ClientFile.h"
#include "records/Encrypt.h"
#include "ui/Prompter.h"

namespace zv {

std::string deleteNamesWarning() {
  return "You are about to delete the Client Name from\r"
         "all tests on this diskette. This should not be done\r"
         "until you have printed all reports and are finished\r"
         "with this diskette and ready to return it.\r"
         "\r"
         "Are you SURE you want to do this?";
}

namespace {

// Scrambles a name not deleted yet; false for one already deleted.
bool scrambleName(ClientRecord& record) {
  if (record.raw(Field::NameDeleted) != "0") return false;
  std::string name = record.raw(Field::Name);
  Encrypt(name, false);
  record.setRaw(Field::Name, name);
  record.setRaw(Field::NameDeleted, "1");
  return true;
}

int stopped(SystemState& state, const std::string& which, int written) {
  state.Refresh = true;
  state.prompter.ask(which + " could not be written, so its name and the names after it were not deleted.\r"
                     "Run Delete Names again to complete the rest.",
                     "Delete Names", Buttons::Ok, Icon::Exclamation);
  return written;
}

}  // namespace

int DeleteNames(SystemState& state) {
  Prompter& p = state.prompter;
  if (p.ask(deleteNamesWarning(), "WARNING!", Buttons::YesNo, Icon::Critical) != Answer::Yes) return 0;

  int written = 0;
  ClientTable& table = state.clients;
  for (int i = 1; i <= table.RecordCount; ++i) {
    ClientRecord& record = table.slot[static_cast<std::size_t>(i)];
    if (!scrambleName(record)) continue;
    if (!SaveClientRecordWithMessages(state.fs, state.clientFile(), table, i, p)) {
      record = table.stored[static_cast<std::size_t>(i)];  // as the file holds it (read again if it changed)
      return stopped(state, "Client " + std::to_string(i), written);
    }
    table.NameDeleted = 1;
    ++written;
  }
  // Clients beyond the 51 this system shows are in the file all the same:
  // their names are deleted too.
  int beyond = 0;
  if (!WriteClientFileWithMessages(state.fs, state.clientFile(), table, p, [&] {
        beyond = UpdateRecordsBeyondTable(state.fs, state.clientFile(), table, scrambleName);
      }))
    return stopped(state, "The clients after 51", written);
  written += beyond;
  p.ask("Process complete. Press Enter to continue.", kAppTitle, Buttons::Ok, Icon::None);
  state.Refresh = true;
  return written;
}

}  // namespace zv
