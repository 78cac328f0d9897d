#include "records/ClientFile.h"

#include <algorithm>
#include <filesystem>
#include <functional>

#include "ui/Prompter.h"

namespace zv {

std::string clientFilePath(const std::string& dataLocation) { return joinPath(dataLocation, kClientFileName); }

LoadOutcome LoadClientFile(FileSystem& fs, const std::string& path, ClientTable& table) {
  // The table is emptied first, so a failed load never pairs old clients with a new file.
  table = ClientTable{};
  if (!fs.exists(path)) {
    // A missing file is created empty; a location that takes no writes is
    // found out by the write test, so it still opens with no clients.
    try {
      fs.ensureFile(path);
    } catch (const ZvError& e) {
      if (e.kind() != ErrorKind::WriteProtected) throw;
    }
  }
  const std::string bytes = fs.exists(path) ? fs.readAll(path) : std::string();
  LoadOutcome outcome;
  outcome.recordsInFile = static_cast<int>(bytes.size() / kRecordSize);
  const int count = std::min(outcome.recordsInFile, kMaxClients);
  outcome.tooManyRecords = outcome.recordsInFile > kMaxClients;
  for (int n = 1; n <= count; ++n)
    table.slot[static_cast<std::size_t>(n)] =
        ClientRecord::fromBytes(std::string_view(bytes).substr(static_cast<std::size_t>(n - 1) * kRecordSize, kRecordSize));
  table.stored = table.slot;
  table.fileLength = bytes.size();
  table.RecordCount = static_cast<std::int16_t>(count);
  table.CurrentRecord = static_cast<std::int16_t>(count >= 1 ? 1 : 0);
  return outcome;
}

namespace {

std::string changedFileText(const std::string& path) {
  return "The client file " + path + " is not the one that was read (another disk, or another program wrote to it).";
}

}  // namespace

void SaveClientRecord(FileSystem& fs, const std::string& path, ClientTable& table, int n) {
  if (n < 1 || n > kMaxClients)
    throw ZvError(ErrorKind::Other, 0, "Record " + std::to_string(n) + " is outside the client file (1 to 51).", path);
  if (n > table.RecordCount + 1)
    throw ZvError(ErrorKind::Other, 0, "Record " + std::to_string(n) + " would leave a gap in the client file.", path);
  const auto at = static_cast<std::size_t>(n - 1) * kRecordSize;
  const auto i = static_cast<std::size_t>(n);
  const bool append = n == table.RecordCount + 1;
  const std::string record = table.slot[i].bytes();

  // The whole file is written anew, so records beyond 51 and a trailing
  // partial record are kept byte for byte; an appended record goes before
  // such a tail, at its own place.
  const std::string disk = fs.exists(path) ? fs.readAll(path) : std::string();
  std::string next = disk;
  if (append) next.insert(std::min(at, next.size()), record);
  else if (at + kRecordSize <= next.size()) next.replace(at, kRecordSize, record);

  const bool asLoaded = disk.size() == table.fileLength &&
                        (append || (at + kRecordSize <= disk.size() && disk.compare(at, kRecordSize, table.stored[i].bytes()) == 0));
  // A write whose last step failed may already be on disk: then only that step is left.
  const bool alreadyWritten = !asLoaded && disk.size() == table.fileLength + (append ? kRecordSize : 0) &&
                              at + kRecordSize <= disk.size() && disk.compare(at, kRecordSize, record) == 0;
  if (!asLoaded && !alreadyWritten) throw ZvError(ErrorKind::FileChanged, 0, changedFileText(path), path);
  if (alreadyWritten) fs.syncFolder(std::filesystem::path(path).parent_path().string());
  else fs.replaceAll(path, next);
  table.stored[i] = table.slot[i];
  table.fileLength = alreadyWritten ? disk.size() : next.size();
}

bool LoadClientFileWithMessages(FileSystem& fs, const std::string& path, ClientTable& table, Prompter& prompter,
                                LoadOutcome* outcome) {
  for (;;) {
    try {
      const LoadOutcome o = LoadClientFile(fs, path, table);
      if (outcome) *outcome = o;
      if (o.tooManyRecords) prompter.tell(tooManyClientsMessage(o.recordsInFile), kAppTitle, Icon::Exclamation);
      return true;
    } catch (const ZvError& e) {
      switch (e.kind()) {
        case ErrorKind::DriveNotReady:
          if (prompter.ask("Diskette is not found in the disk drive, insert disk and press Enter.\r\rPress Enter to continue.",
                           "Disk Error", Buttons::OkCancel, Icon::Critical) == Answer::Ok)
            continue;
          return false;
        case ErrorKind::WriteProtected:
          if (prompter.ask("Data disk write protected!\r\rSet the data disk to writable and replace in drive.",
                           "Data Disk Error", Buttons::OkCancel, Icon::Critical) == Answer::Ok)
            continue;
          return false;
        default:
          prompter.ask(e.description() + "  " + std::to_string(e.number()), kAppTitle, Buttons::Ok, Icon::None);
          return true;
      }
    }
  }
}

namespace {

// The data-location messages; returns true when the user asks to retry.
bool askRetry(const ZvError& e, Prompter& prompter) {
  switch (e.kind()) {
    case ErrorKind::DriveNotReady:
    case ErrorKind::PathNotFound:
      return prompter.ask("Diskette is not found in the disk drive, insert disk and press Enter.\r\rPress Enter to continue.",
                          "Disk Error", Buttons::OkCancel, Icon::Critical) == Answer::Ok;
    case ErrorKind::WriteProtected:
      return prompter.ask("Data disk write protected!\r\rSet the data disk to writable and replace in drive.",
                          "Data Disk Error", Buttons::OkCancel, Icon::Critical) == Answer::Ok;
    default:
      prompter.ask(e.description() + "  " + std::to_string(e.number()), kAppTitle, Buttons::Ok, Icon::None);
      return false;
  }
}

}  // namespace

bool SaveClientRecordWithMessages(FileSystem& fs, const std::string& path, ClientTable& table, int n,
                                  Prompter& prompter) {
  return WriteClientFileWithMessages(fs, path, table, prompter, [&] { SaveClientRecord(fs, path, table, n); });
}

bool WriteClientFileWithMessages(FileSystem& fs, const std::string& path, ClientTable& table, Prompter& prompter,
                                 const std::function<void()>& write) {
  for (;;) {
    try {
      write();
      return true;
    } catch (const ZvError& e) {
      if (e.kind() == ErrorKind::FileChanged) {
        prompter.ask(fileChangedMessage(), "Data Disk Error", Buttons::Ok, Icon::Critical);
        reloadKeepingNewClient(fs, path, table, prompter);
        return false;
      }
      if (!askRetry(e, prompter)) return false;
    }
  }
}

int UpdateRecordsBeyondTable(FileSystem& fs, const std::string& path, ClientTable& table,
                              const std::function<bool(ClientRecord&)>& change) {
  const std::string disk = fs.exists(path) ? fs.readAll(path) : std::string();
  if (disk.size() != table.fileLength) throw ZvError(ErrorKind::FileChanged, 0, changedFileText(path), path);
  std::string next = disk;
  int changed = 0;
  for (std::size_t at = kMaxClients * kRecordSize; at + kRecordSize <= next.size(); at += kRecordSize) {
    ClientRecord r = ClientRecord::fromBytes(std::string_view(next).substr(at, kRecordSize));
    if (!change(r)) continue;
    next.replace(at, kRecordSize, r.bytes());
    ++changed;
  }
  if (changed > 0) fs.replaceAll(path, next);
  return changed;
}

void reloadKeepingNewClient(FileSystem& fs, const std::string& path, ClientTable& table, Prompter& prompter) {
  const bool newClient = table.holdsNewClient();
  const ClientRecord working = newClient ? table.current() : ClientRecord();
  LoadClientFileWithMessages(fs, path, table, prompter);
  if (newClient && !table.full()) {
    table.CurrentRecord = static_cast<std::int16_t>(table.RecordCount + 1);
    table.current() = working;
  }
}

std::string fileChangedMessage() {
  return "The client file on the data disk has changed since it was read (another disk, or another program "
         "wrote to it).\rNothing was written. The client list is read again from the disk.";
}

std::string tooManyClientsMessage(int recordsInFile) {
  return "This data location holds " + std::to_string(recordsInFile) +
         " clients, more than the 51 this system can keep.\rOnly clients 1 to 51 are shown; the others are left "
         "untouched in the file.";
}

std::string clientFileFullMessage() {
  return "This data location already holds 51 clients, the most it can keep.\rUse another data disk to add a new "
         "client.";
}

}  // namespace zv
