#pragma once
// The one owner of the client a chain of screens works on: which slot it is
// (CurrentRecord), whether it is a new client or an edited one (EditMode),
// and what becomes of the slot at every exit of the chain.
//
//   registering: beginNew → placeNew (information accepted) → storeAnswers | abandon
//   editing:     beginEdit → storeInformation → storeAnswers | abandon
//
// A new client is built in slot RecordCount + 1 and becomes a record of the
// client file only when its answers are stored; until then the file is never
// touched. An edited client's slot goes back to the record as stored when the
// chain is given up. The owner keeps no state of its own: everything it
// decides lives in the client table, so any screen may make one on the spot.
#include <string>

#include "records/ClientTable.h"
#include "records/FileSystem.h"

namespace zv {

class Prompter;

class ClientSlot {
 public:
  explicit ClientSlot(ClientTable& table) : t_(table) {}

  // A registration starts (EditMode false). Refused with a message when the
  // table already holds 51 clients; CurrentRecord stays as selected until
  // the new client's information is accepted.
  bool beginNew(Prompter& prompter);
  // The new client's information was accepted: CurrentRecord becomes
  // RecordCount + 1 and its slot starts empty with 162 "0" responses,
  // NameDeleted "0" and DateTested `today`. Refused (false, with a message)
  // when no slot is free.
  bool placeNew(const std::string& today, Prompter& prompter);
  // An edit starts on CurrentRecord; false when it is no stored client.
  bool beginEdit();

  bool editing() const { return t_.EditMode; }
  // The current slot is a registration whose answers are not stored yet.
  bool holdsNewClient() const { return t_.holdsNewClient(); }
  // The chain still has its client: false once a store found the client
  // file changed on disk and an edit could not go on.
  bool active() const;

  // Writes the edited client's slot at once (client information). When the
  // user gives up the write, the slot goes back to the record as stored.
  bool storeInformation(FileSystem& fs, const std::string& clientFile, Prompter& prompter);
  // Puts the 162 answer codes into the slot and stores it: a new client is
  // appended and RecordCount grows by one; an edited client is rewritten.
  // Ends the chain (EditMode false) once stored. When the user gives up the
  // write, nothing changes (the slot keeps its previous responses), so the
  // screen can stay open with the answers and try again.
  bool storeAnswers(FileSystem& fs, const std::string& clientFile, Prompter& prompter, const std::string& responses);
  // The chain is given up: a new client's slot is emptied and CurrentRecord
  // goes back to 1 (0 while no client is stored); an edited client's slot
  // gets back the record as stored. EditMode ends false.
  void abandon();

 private:
  ClientTable& t_;
};

}  // namespace zv
