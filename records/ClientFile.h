#pragma once
// Loading the client file DATA401.ZV into the client table and writing single
// records back. Each operation opens, uses and closes the file.
#include <functional>
#include <string>

#include "records/ClientTable.h"
#include "records/FileSystem.h"

namespace zv {

class Prompter;

inline constexpr const char* kClientFileName = "DATA401.ZV";

std::string clientFilePath(const std::string& dataLocation);

struct LoadOutcome {
  bool tooManyRecords = false;  // the file holds more than 51 records
  int recordsInFile = 0;        // whole records in the file
};

// Reads every whole record (at most 51) into slots 1..RecordCount and sets
// RecordCount and CurrentRecord; the file is only read. A missing file is
// created empty (on a location that takes no writes it loads as empty). A
// file whose length is not a multiple of 255 keeps its tail. Throws ZvError.
LoadOutcome LoadClientFile(FileSystem& fs, const std::string& path, ClientTable& table);

// Writes slot n as record n (n = RecordCount + 1 appends) and returns once it
// is on disk. The file on disk must still be the one read (its length and the
// record being rewritten), otherwise ZvError FileChanged and nothing is
// written. The whole file is replaced at once (temporary file, fsync, rename,
// fsync of the folder), so a power cut leaves the old or the new file; records
// beyond 51 and a trailing partial record are kept. Refuses slots beyond 51
// and a record that would leave a gap.
void SaveClientRecord(FileSystem& fs, const std::string& path, ClientTable& table, int n);

// The load with the user's messages: drive not ready and write-protected
// offer OK (retry) and Cancel (end the program); any other error ends the
// load with the slots read so far. Returns false when the program must end.
bool LoadClientFileWithMessages(FileSystem& fs, const std::string& path, ClientTable& table, Prompter& prompter,
                                LoadOutcome* outcome = nullptr);

// Writes slot n with the user's messages for the data location: drive not
// ready and write-protected offer OK (retry) and Cancel; any other error is
// shown with its description and number. Returns true once the record is on
// disk, false when the user gave up (the caller keeps what is on screen).
// A client file that changed since it was read is never written: the user is
// told, and the table is read again (reloadKeepingNewClient).
bool SaveClientRecordWithMessages(FileSystem& fs, const std::string& path, ClientTable& table, int n,
                                  Prompter& prompter);

// Any write of the client file with the same messages and outcome.
bool WriteClientFileWithMessages(FileSystem& fs, const std::string& path, ClientTable& table, Prompter& prompter,
                                 const std::function<void()>& write);

// Records beyond 51 live only in the file: `change` sees each one and says
// whether it changed it; the changed ones are written in one replacement.
// Returns how many changed. Throws ZvError (FileChanged when the file is not
// the one read).
int UpdateRecordsBeyondTable(FileSystem& fs, const std::string& path, ClientTable& table,
                             const std::function<bool(ClientRecord&)>& change);

// Reads the client file again; a registration in progress keeps its working
// slot, moved to the new RecordCount + 1, so its answers can still be stored.
void reloadKeepingNewClient(FileSystem& fs, const std::string& path, ClientTable& table, Prompter& prompter);

std::string fileChangedMessage();

// The message telling the user that the data location holds more clients than
// the system keeps.
std::string tooManyClientsMessage(int recordsInFile);
// The message refusing a 52nd registration.
std::string clientFileFullMessage();

}  // namespace zv
