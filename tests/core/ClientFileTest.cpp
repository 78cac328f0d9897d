// The client file and the one owner of the client a chain works on: what
// reaches the disk, when, and what is left after every kind of failure.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "records/ClientFile.h"
#include "records/ClientSlot.h"
#include "report/ReportTool.h"
#include "tests/core/TestSupport.h"

using namespace zv;

using namespace zvtest;
using Ints = std::vector<int>;

namespace {

// A data location holding `content` as its client file (none when nullopt).
struct Disk : Office {
  ClientTable t;
  std::string path = clientFilePath(data.path());

  explicit Disk(std::optional<std::string> content = std::string()) {
    if (content) writeBytes(path, *content);
  }
  LoadOutcome load() { return LoadClientFile(fs, path, t); }
  std::string bytes() const { return readBytes(path); }
  ClientSlot slot() { return ClientSlot(t); }
  bool storeAnswers(char code) { return slot().storeAnswers(fs, path, prompter, std::string(162, code)); }
};

// The same, its client file loaded, with client `current` (if any) current.
struct Loaded : Disk {
  explicit Loaded(std::optional<std::string> content = std::string(), int current = 0) : Disk(std::move(content)) {
    load();
    if (current) t.CurrentRecord = static_cast<std::int16_t>(current);
  }
};

}  // namespace

TEST(ClientFile, LoadReadsWholeRecordsAndOnlyReads) {
  Loaded missing(std::nullopt);
  EXPECT_EQ(recordCounts(missing.t), (Ints{0, 0}));
  EXPECT_EQ(missing.real.size(missing.path), 0u);  // created empty

  // A missing file on a location that takes no writes loads as empty.
  Disk readOnly(std::nullopt);
  readOnly.fs.arm({"ensure", "", EROFS, -1});
  readOnly.load();
  EXPECT_EQ(readOnly.t.RecordCount, 0);

  // Three records and a partial tail: the tail is not a client. Loading never
  // writes, so a client file that takes no writes still loads.
  const std::string content = clientsBytes({"One", "Two", "Three"}) + "partial";
  Disk d(content);
  for (const char* op : {"write", "ensure", "replace", "rename"}) d.fs.arm({op, "", EROFS, -1});
  d.load();
  EXPECT_EQ(recordCounts(d.t), (Ints{3, 1}));
  EXPECT_EQ(d.t.slot[3], namedClient("Three"));
  EXPECT_EQ(d.t.slot[4], ClientRecord());
  EXPECT_EQ(d.t.stored, d.t.slot);
  EXPECT_EQ(d.t.fileLength, content.size());
  EXPECT_EQ(d.fs.failures(), 0);
}

TEST(ClientFile, SavesKeepEveryOtherByteAndRecordPositions) {
  // A foreign record (every byte value) goes back byte for byte.
  std::string foreign(255, ' ');
  for (int i = 0; i < 255; ++i) foreign[static_cast<std::size_t>(i)] = static_cast<char>(33 + (i * 7) % 200);
  Loaded f(foreign);
  SaveClientRecord(f.fs, f.path, f.t, 1);
  EXPECT_EQ(f.bytes(), foreign);

  // Append before a partial tail, then rewrite in place: the tail is kept.
  Loaded d(clientsBytes({"One", "Two"}) + "tail");
  d.t.slot[3] = namedClient("Three");
  SaveClientRecord(d.fs, d.path, d.t, 3);
  EXPECT_EQ(d.bytes(), clientsBytes({"One", "Two", "Three"}) + "tail");
  d.t.slot[2].setRaw(Field::Age, "44");
  SaveClientRecord(d.fs, d.path, d.t, 2);
  EXPECT_EQ(d.bytes(), clientsBytes({"One"}) + d.t.slot[2].bytes() + clientsBytes({"Three"}) + "tail");
  EXPECT_EQ(d.t.stored[2], d.t.slot[2]);
  EXPECT_FALSE(d.real.exists(FileSystem::temporaryFor(d.path)));

  // Records beyond 51 stay; slot 52 and gaps are refused.
  const std::string many = storedClientsBytes(53);
  Disk big(many);
  LoadOutcome o;
  ASSERT_TRUE(LoadClientFileWithMessages(big.fs, big.path, big.t, big.prompter, &o));
  EXPECT_EQ((Ints{o.tooManyRecords, o.recordsInFile, big.t.RecordCount}), (Ints{1, 53, 51}));
  EXPECT_EQ(big.prompter.asked, (AskedList{{tooManyClientsMessage(53), kAppTitle, Buttons::Ok, Icon::Exclamation}}));
  big.t.slot[51].setRaw(Field::Age, "51");
  SaveClientRecord(big.fs, big.path, big.t, 51);
  EXPECT_EQ(big.bytes(), many.substr(0, 50 * 255) + big.t.slot[51].bytes() + many.substr(51 * 255));
  EXPECT_THROW(SaveClientRecord(big.fs, big.path, big.t, 52), ZvError);
  Loaded empty;
  EXPECT_THROW(SaveClientRecord(empty.fs, empty.path, empty.t, 2), ZvError);
  EXPECT_EQ(empty.bytes(), "");
}

TEST(ClientFile, APowerCutAtAnyStepLeavesTheOldOrTheNewFileAndAFileChangedSinceLoadingIsNeverWritten) {
  const std::string old = clientsBytes({"One", "Two", "Three"}) + "tail";
  // A failing step, and whether the new file had landed by then.
  const std::pair<FaultyFileSystem::Fault, bool> steps[] = {
      {{"write", "", EIO, 1, 0}, false}, {{"write", "", EIO, 1, 300}, false}, {{"write", "", ENOSPC, 1}, false},
      {{"rename", "", EIO, 1}, false},   {{"syncdir", "", EIO, 1}, true}};
  for (const auto& [fault, newFileLanded] : steps) {
    for (const bool append : {false, true}) {
      SCOPED_TRACE(fault.operation + " torn " + std::to_string(fault.tornAfter) + (append ? " append" : " rewrite"));
      Loaded d(old);
      const int n = append ? 4 : 2;
      d.t.slot[static_cast<std::size_t>(n)] = namedClient("Changed");
      const std::string expectNew = append ? clientsBytes({"One", "Two", "Three", "Changed"}) + "tail"
                                           : clientsBytes({"One", "Changed", "Three"}) + "tail";
      d.fs.arm(fault);
      EXPECT_THROW(SaveClientRecord(d.fs, d.path, d.t, n), ZvError);
      EXPECT_EQ(d.bytes(), newFileLanded ? expectNew : old);
      EXPECT_FALSE(d.real.exists(FileSystem::temporaryFor(d.path)));
      // Trying again completes the save whichever step failed.
      SaveClientRecord(d.fs, d.path, d.t, n);
      EXPECT_EQ(d.bytes(), expectNew);
    }
  }

  // A file changed since loading is never written.
  const std::string loaded = clientsBytes({"One", "Two", "Three"});
  const std::string swaps[] = {clientsBytes({"One", "Two"}), clientsBytes({"One", "Two", "Three", "Four"}),
                               clientsBytes({"One", "Other", "Three"}), loaded + "x"};
  for (const std::string& swapped : swaps) {
    for (const int n : {2, 4}) {
      SCOPED_TRACE("length " + std::to_string(swapped.size()) + " record " + std::to_string(n));
      Loaded d(loaded);
      writeBytes(d.path, swapped);
      d.t.slot[static_cast<std::size_t>(n)] = namedClient("Mine");
      try {
        SaveClientRecord(d.fs, d.path, d.t, n);
        // Appending only checks the length; a rewrite checks its own record too.
        EXPECT_TRUE(swapped.size() == loaded.size() && (n == 4 || swapped.substr(255, 255) == loaded.substr(255, 255)));
      } catch (const ZvError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::FileChanged);
        EXPECT_EQ(d.bytes(), swapped);
      }
    }
  }
}

TEST(ClientFile, MessagesOfLoadAndSave) {
  // The read error, the answer given to its message, the message, and whether loading goes on.
  const std::tuple<int, Answer, Asked, bool> loads[] = {
      {ENOMEDIUM, Answer::Ok,
       {"Diskette is not found in the disk drive, insert disk and press Enter.\r\rPress Enter to continue.",
        "Disk Error", Buttons::OkCancel, Icon::Critical}, true},
      {EACCES, Answer::Cancel,
       {"Data disk write protected!\r\rSet the data disk to writable and replace in drive.", "Data Disk Error",
        Buttons::OkCancel, Icon::Critical}, false},
      {EIO, Answer::Ok, {std::string(std::strerror(EIO)) + "  5", "Zorvex", Buttons::Ok, Icon::None}, true},
  };
  for (const auto& [err, answer, asked, goesOn] : loads) {
    SCOPED_TRACE(asked.text);
    Disk d(clientsBytes({"One"}));
    d.fs.arm({"read", "", err, 1});
    d.prompter.script(answer);
    EXPECT_EQ(LoadClientFileWithMessages(d.fs, d.path, d.t, d.prompter), goesOn);
    EXPECT_EQ(d.prompter.asked, AskedList{asked});
    EXPECT_EQ(d.t.RecordCount, err == ENOMEDIUM ? 1 : 0);  // retried, or the load ended
  }

  // Saving: OK retries, Cancel gives up; other errors offer OK only.
  Loaded d(clientsBytes({"One"}));
  d.t.slot[1] = namedClient("Uno");
  d.fs.arm({"write", "", EROFS, 1});
  d.prompter.script(Answer::Ok);
  EXPECT_TRUE(SaveClientRecordWithMessages(d.fs, d.path, d.t, 1, d.prompter));
  EXPECT_EQ(d.prompter.asked.back().title, "Data Disk Error");
  d.fs.arm({"write", "", ENOSPC, 1});
  d.t.slot[2] = namedClient("Two");
  EXPECT_FALSE(SaveClientRecordWithMessages(d.fs, d.path, d.t, 2, d.prompter));
  EXPECT_EQ(d.prompter.asked.back().text, std::string(std::strerror(ENOSPC)) + "  " + std::to_string(ENOSPC));
  EXPECT_EQ(d.bytes(), clientsBytes({"Uno"}));  // the first save went through, the second left it
}

TEST(ClientSlot, ANewClientIsStoredOnlyWithItsAnswers) {
  Loaded d(clientsBytes({"One", "Two"}), 2);
  ASSERT_TRUE(d.slot().beginNew(d.prompter));
  EXPECT_EQ(d.t.CurrentRecord, 2);  // the selection stands until the information is accepted
  ASSERT_TRUE(d.slot().placeNew("05/06/2025", d.prompter));
  EXPECT_EQ(d.t.CurrentRecord, 3);
  EXPECT_TRUE(d.slot().holdsNewClient());
  ClientRecord expected;
  expected.setRaw(Field::Responses, std::string(162, '0'));
  expected.setRaw(Field::NameDeleted, "0");
  expected.setRaw(Field::DateTested, "05/06/2025");
  EXPECT_EQ(d.t.slot[3], expected);
  d.t.slot[3].setRaw(Field::Name, "Newcomer");
  EXPECT_EQ(d.bytes(), clientsBytes({"One", "Two"}));

  // A failed write keeps count and slot; SAVE again stores it.
  d.fs.arm({"write", "", ENXIO, 1});
  d.prompter.script(Answer::Cancel);
  EXPECT_FALSE(d.storeAnswers('2'));
  EXPECT_EQ(d.prompter.asked.back().title, "Disk Error");
  EXPECT_EQ(d.t.RecordCount, 2);
  EXPECT_EQ(d.t.slot[3].raw(Field::Responses), std::string(162, '0'));
  EXPECT_TRUE(d.slot().active());
  ASSERT_TRUE(d.storeAnswers('2'));
  EXPECT_EQ(d.t.RecordCount, 3);
  EXPECT_FALSE(d.t.EditMode);
  EXPECT_EQ(d.bytes(), clientsBytes({"One", "Two"}) + d.t.slot[3].bytes());
  EXPECT_EQ(d.bytes().substr(2 * 255 + 91, 162), std::string(162, '2'));
  d.slot().abandon();  // a stored client stays
  EXPECT_EQ(d.t.CurrentRecord, 3);

  // Abandoned: the slot is emptied and the first client is current (none without clients).
  ASSERT_TRUE(d.slot().beginNew(d.prompter));
  ASSERT_TRUE(d.slot().placeNew("05/06/2025", d.prompter));
  d.slot().abandon();
  EXPECT_EQ(d.t.CurrentRecord, 1);
  EXPECT_EQ(d.t.slot[4], ClientRecord());
  Loaded first;
  ASSERT_TRUE(first.slot().placeNew("05/06/2025", first.prompter));
  first.slot().abandon();
  EXPECT_EQ(first.t.CurrentRecord, 0);
  EXPECT_EQ(first.bytes(), "");

  // A 52nd client is refused with its message.
  d.t.RecordCount = kMaxClients;
  EXPECT_FALSE(d.slot().beginNew(d.prompter));
  EXPECT_FALSE(d.slot().placeNew("05/06/2025", d.prompter));
  EXPECT_EQ(d.prompter.asked.back().text, clientFileFullMessage());
}

TEST(ClientSlot, AnEditIsWrittenInPlaceOrTakenBack) {
  Loaded d(clientsBytes({"One", "Two", "Three"}), 2);
  ASSERT_TRUE(d.slot().beginEdit());
  d.t.slot[2].setRaw(Field::Name, "Deux");
  ASSERT_TRUE(d.slot().storeInformation(d.fs, d.path, d.prompter));
  EXPECT_EQ(d.bytes().substr(255, 255), d.t.slot[2].bytes());
  // Court history held in the slot is taken back when the chain is given up.
  d.t.slot[2].setRaw(Field::TimesJail, "9");
  d.slot().abandon();
  EXPECT_EQ(d.t.slot[2].bytes(), d.bytes().substr(255, 255));
  EXPECT_EQ(d.t.CurrentRecord, 2);
  EXPECT_FALSE(d.t.EditMode);

  // Answers rewrite the record in place; the neighbours stay.
  ASSERT_TRUE(d.slot().beginEdit());
  ASSERT_TRUE(d.storeAnswers('2'));
  EXPECT_EQ(d.t.RecordCount, 3);
  EXPECT_EQ(d.bytes().substr(255 + 91, 162), std::string(162, '2'));
  EXPECT_EQ(d.bytes().substr(2 * 255), clientsBytes({"Three"}));

  // A given-up write of the information leaves the slot as stored.
  ASSERT_TRUE(d.slot().beginEdit());
  d.t.slot[2].setRaw(Field::Name, "Lost");
  d.fs.arm({"write", "", EROFS, 1});
  d.prompter.script(Answer::Cancel);
  EXPECT_FALSE(d.slot().storeInformation(d.fs, d.path, d.prompter));
  EXPECT_EQ(d.t.slot[2], d.t.stored[2]);
  d.t.CurrentRecord = 4;
  EXPECT_FALSE(d.slot().beginEdit());
}

TEST(ClientSlot, AClientFileChangedOnDiskIsReadAgain) {
  // A registration keeps its working slot at the new end of the list and can still be stored.
  Loaded d(clientsBytes({"One", "Two"}));
  ASSERT_TRUE(d.slot().placeNew("05/06/2025", d.prompter));
  d.t.slot[3].setRaw(Field::Name, "Newcomer");
  writeBytes(d.path, clientsBytes({"A", "B", "C"}));
  EXPECT_FALSE(d.storeAnswers('2'));
  EXPECT_EQ(d.prompter.asked, (AskedList{{fileChangedMessage(), "Data Disk Error", Buttons::Ok, Icon::Critical}}));
  EXPECT_EQ(recordCounts(d.t), (Ints{3, 4}));
  EXPECT_EQ(d.t.slot[4].trimmed(Field::Name), "Newcomer");
  ASSERT_TRUE(d.storeAnswers('2'));
  EXPECT_EQ(d.bytes(), clientsBytes({"A", "B", "C"}) + d.t.slot[4].bytes());

  // An edit cannot go on: another client may sit in its place now.
  Loaded e(clientsBytes({"One", "Two"}), 2);
  ASSERT_TRUE(e.slot().beginEdit());
  writeBytes(e.path, clientsBytes({"A", "B"}));
  EXPECT_FALSE(e.storeAnswers('2'));
  EXPECT_FALSE(e.slot().active());
  EXPECT_EQ(e.bytes(), clientsBytes({"A", "B"}));
  EXPECT_EQ(e.t.slot[2].trimmed(Field::Name), "B");
}

TEST(ClientFile, AReallyReadOnlyClientFileIsReadAndReported) {
  // As an unprivileged user (root ignores permission bits), a client file of
  // mode 0444 in a folder of mode 0555 loads, and zvreport reports from it.
  Disk d(clientsBytes({"One", "Two"}));
  ASSERT_EQ(::chmod(d.path.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(d.data.path().c_str(), 0555), 0);
  // The child's exit status: 0 both work, 1 the load failed, 2 the report tool failed.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    ClientTable t;
    LoadClientFile(d.real, d.path, t);
    if (t.RecordCount != 2) ::_exit(1);
    std::ostringstream out, err;
    RealFileSystem fs;
    const std::string program = ZV_PROGRAM_DIR;  // the tool's part needs a program folder this user may enter
    const bool reported = ::access(program.c_str(), X_OK) != 0 ||
                          RunReportTool({"--program-dir", program, "--data-location", d.data.path(), "--client", "2",
                                         "--output", "/dev/null"},
                                        out, err, fs) == kToolOk;
    ::_exit(reported ? 0 : 2);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  ::chmod(d.data.path().c_str(), 0755);

  // The same by injected faults: neither loading nor the report tool writes.
  for (const char* op : {"write", "ensure", "replace", "rename"}) d.fs.arm({op, kClientFileName, EACCES, -1});
  std::ostringstream out, err;
  EXPECT_EQ(RunReportTool({"--program-dir", ZV_PROGRAM_DIR, "--data-location", d.data.path(), "--client", "1",
                           "--output", "/dev/null"},
                          out, err, d.fs),
            kToolOk)
      << err.str();
  EXPECT_EQ(d.fs.failures(), 0);
}
