#include "records/ClientFile.h"

#include <algorithm>

#include "ui/Prompter.h"

namespace zv {

std::string clientFilePath(const std::string& dataLocation) { return joinPath(dataLocation, kClientFileName); }

LoadOutcome LoadClientFile(FileSystem& fs, const std::string& path, ClientTable& table) {
  // The table is emptied first, so a failed load never pairs old clients with a new file.
  for (auto& r : table.slot) r.clear();
  table.RecordCount = 0;
  table.CurrentRecord = 0;
  fs.ensureFile(path);
  const std::string bytes = fs.readAll(path);
  LoadOutcome outcome;
  outcome.recordsInFile = static_cast<int>(bytes.size() / kRecordSize);
  const int count = std::min(outcome.recordsInFile, kMaxClients);
  outcome.tooManyRecords = outcome.recordsInFile > kMaxClients;
  for (int n = 1; n <= count; ++n)
    table.slot[static_cast<std::size_t>(n)] =
        ClientRecord::fromBytes(std::string_view(bytes).substr(static_cast<std::size_t>(n - 1) * kRecordSize, kRecordSize));
  table.RecordCount = static_cast<std::int16_t>(count);
  table.CurrentRecord = static_cast<std::int16_t>(count >= 1 ? 1 : 0);
  return outcome;
}

void SaveClientRecord(FileSystem& fs, const std::string& path, const ClientTable& table, int n) {
  if (n < 1 || n > kMaxClients)
    throw ZvError(ErrorKind::Other, 0, "Record " + std::to_string(n) + " is outside the client file (1 to 51).", path);
  if (n > table.RecordCount + 1)
    throw ZvError(ErrorKind::Other, 0, "Record " + std::to_string(n) + " would leave a gap in the client file.", path);
  fs.writeAt(path, static_cast<std::uint64_t>(n - 1) * kRecordSize, table.slot[static_cast<std::size_t>(n)].bytes());
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

bool SaveClientRecordWithMessages(FileSystem& fs, const std::string& path, const ClientTable& table, int n,
                                  Prompter& prompter) {
  for (;;) {
    try {
      SaveClientRecord(fs, path, table, n);
      return true;
    } catch (const ZvError& e) {
      if (!askRetry(e, prompter)) return false;
    }
  }
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
