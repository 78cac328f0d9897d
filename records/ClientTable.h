#pragma once
// The in-memory client table: slots 1 to 51 mirror records 1 to 51 of the
// client file; slot 0 never holds a record.
#include <array>
#include <cstdint>

#include "records/ClientRecord.h"

namespace zv {

constexpr int kMaxClients = 51;

struct ClientTable {
  std::array<ClientRecord, kMaxClients + 1> slot{};
  // What the client file held for each slot when it was last read or
  // written, and its length then: a save first checks that the file on disk
  // is still this one, and a given-up edit goes back to it.
  std::array<ClientRecord, kMaxClients + 1> stored{};
  std::uint64_t fileLength = 0;
  std::int16_t RecordCount = 0;
  std::int16_t CurrentRecord = 0;
  bool EditMode = false;
  // Working copies kept by the client information screen.
  int EditCount = 0;
  int NameDeleted = 0;

  ClientRecord& current() { return slot.at(static_cast<std::size_t>(CurrentRecord)); }
  const ClientRecord& current() const { return slot.at(static_cast<std::size_t>(CurrentRecord)); }
  bool full() const { return RecordCount >= kMaxClients; }
  // The current slot is a registration whose answers are not stored yet.
  bool holdsNewClient() const {
    return !EditMode && CurrentRecord == RecordCount + 1 && CurrentRecord >= 1 && CurrentRecord <= kMaxClients;
  }
};

}  // namespace zv
