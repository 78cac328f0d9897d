#pragma once
// Scrambling every client name not yet deleted, record by record.
#include <string>

namespace zv {

struct SystemState;

// The confirmation asked before anything changes.
std::string deleteNamesWarning();

// Asks for confirmation, then for each record 1..RecordCount whose
// NameDeleted is "0": scrambles its Name, sets NameDeleted to "1" and writes
// the record at once, so an interruption leaves whole records only. When a
// record cannot be written the run stops there (that slot is put back as the
// file holds it) and the user is told; a later run completes the rest.
// Returns the number of records scrambled and written.
int DeleteNames(SystemState& state);

}  // namespace zv
