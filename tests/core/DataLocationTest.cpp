#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "app/DataLocation.h"
#include "app/Settings.h"
#include "app/SystemState.h"
#include "tests/core/TestSupport.h"

using namespace zv;

namespace {

std::string clientBytes(const std::vector<std::string>& names) {
  std::string bytes;
  for (const auto& n : names) {
    ClientRecord r;
    r.setRaw(Field::Name, n);
    r.setRaw(Field::Responses, std::string(162, '0'));
    bytes += r.bytes();
  }
  return bytes;
}

struct Fixture {
  zvtest::TempDir program;
  zvtest::TempDir media;
  RealFileSystem real;
  FaultyFileSystem fs{real};
  ScriptedPrompter prompter;
  SystemState state{fs, prompter, program.path()};
  std::vector<std::string> dialogCalls;
  std::vector<std::string> dialogAnswers;

  AskDrive dialog() {
    return [this](const std::string& inForce) {
      dialogCalls.push_back(inForce);
      if (dialogAnswers.empty()) throw std::runtime_error("drive dialog shown more often than expected");
      std::string a = dialogAnswers.front();
      dialogAnswers.erase(dialogAnswers.begin());
      return a;
    };
  }
  std::string folder(const std::string& name, const std::vector<std::string>& clients = {}) {
    const std::string dir = media.file(name);
    real.makeDirectories(dir);
    if (!clients.empty()) zvtest::writeBytes(joinPath(dir, kClientFileName), clientBytes(clients));
    return dir;
  }
  void setFilePath(const std::string& path) { Settings(real, program.path()).writeFilePath(path); }
  std::string filePathInIni() { return Settings(real, program.path()).readFilePath(); }
  std::string ini() { return zvtest::readBytes(program.file("zv.ini")); }
  LocationOutcome run(bool first = true) { return SelectDataLocation(state, first, dialog()); }
  bool probeLeft(const std::string& dir) { return real.exists(joinPath(dir, kWriteTestFile)); }
};

void expectMessage(const ScriptedPrompter::Asked& a, const std::string& text, const std::string& title,
                   Buttons buttons, Icon icon) {
  EXPECT_EQ(a.text, text);
  EXPECT_EQ(a.title, title);
  EXPECT_EQ(a.buttons, buttons);
  EXPECT_EQ(a.icon, icon);
}

const char* kWriteProtected = "Data disk write protected!\r\rSet the data disk to writable and replace in drive.";

}  // namespace

TEST(DataLocationMessages, ExactTexts) {
  EXPECT_EQ(noTestInformationMessage("/media/usb"),
            "No test information found on drive /MEDIA/USB, would you like to try another drive?");
  EXPECT_EQ(dataDiskWriteProtectedMessage(), kWriteProtected);
  EXPECT_EQ(dataDiskNotFoundMessage(), "Data disk not found!\r\rInsert data disk in drive A to continue.");
  EXPECT_EQ(numberedErrorMessage(ZvError::fromErrno(ENOSPC, "/x")), std::string("Error 28:") + std::strerror(ENOSPC));
}

TEST(SelectDataLocation, FreshInstallationStartsInTheDefaultFolderWithoutAQuestion) {
  Fixture f;
  ASSERT_EQ(f.run(), LocationOutcome::Settled);
  const std::string data = f.program.file("data");
  EXPECT_TRUE(f.real.isDirectory(data));
  EXPECT_EQ(f.state.dataLocation, data);
  EXPECT_TRUE(f.real.exists(joinPath(data, kClientFileName)));
  EXPECT_EQ(f.real.size(joinPath(data, kClientFileName)), 0u);
  EXPECT_FALSE(f.real.exists(joinPath(data, kWriteTestFile)));
  EXPECT_TRUE(f.prompter.asked.empty());
  EXPECT_TRUE(f.dialogCalls.empty());
  EXPECT_EQ(f.ini(), "[Path]\nFilePath=" + data + "\n");
  EXPECT_EQ(f.state.clients.RecordCount, 0);
  EXPECT_EQ(f.state.clients.CurrentRecord, 0);
}

TEST(SelectDataLocation, FilePathIsLoadedWithoutTheDialog) {
  Fixture f;
  const std::string usb = f.folder("usb", {"Jones", "Smith", "Brown"});
  f.setFilePath(usb);
  ASSERT_EQ(f.run(), LocationOutcome::Settled);
  EXPECT_TRUE(f.dialogCalls.empty());
  EXPECT_EQ(f.state.dataLocation, usb);
  EXPECT_EQ(f.state.clients.RecordCount, 3);
  EXPECT_EQ(f.state.clients.CurrentRecord, 1);
  EXPECT_EQ(f.state.clients.slot[2].trimmed(Field::Name), "Smith");
  EXPECT_FALSE(f.real.exists(f.program.file("data"))) << "the default folder is only made when it is the candidate";
  EXPECT_TRUE(f.prompter.asked.empty());
}

TEST(SelectDataLocation, UnreadableFirstCandidateAnsweredYesShowsTheDialog) {
  Fixture f;
  const std::string missing = f.media.file("gone");
  const std::string usb = f.folder("usb", {"Jones"});
  f.setFilePath(missing);
  f.prompter.script(Answer::Yes);
  f.dialogAnswers = {usb};
  ASSERT_EQ(f.run(), LocationOutcome::Settled);
  ASSERT_EQ(f.prompter.asked.size(), 1u);
  std::string upper = missing;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  expectMessage(f.prompter.asked[0], "No test information found on drive " + upper + ", would you like to try another drive?",
                kAppTitle, Buttons::YesNo, Icon::None);
  ASSERT_EQ(f.dialogCalls.size(), 1u);
  EXPECT_EQ(f.dialogCalls[0], f.program.file("data")) << "no location in force yet: the default is preselected";
  EXPECT_EQ(f.state.dataLocation, usb);
  EXPECT_EQ(f.state.clients.RecordCount, 1);
  EXPECT_EQ(f.filePathInIni(), usb);
  EXPECT_FALSE(f.real.exists(missing)) << "a missing location is never created";
}

TEST(SelectDataLocation, UnreadableFirstCandidateOrAPlainFileAnsweredNoEndsTheProgram) {
  for (bool plainFile : {false, true}) {
    SCOPED_TRACE(plainFile ? "a file instead of a folder" : "a missing folder");
    Fixture f;
    const std::string path = f.media.file(plainFile ? "plain" : "gone");
    if (plainFile) zvtest::writeBytes(path, "x");
    f.setFilePath(path);
    const std::string before = f.ini();
    f.prompter.script(Answer::No);
    EXPECT_EQ(f.run(), LocationOutcome::EndProgram);
    EXPECT_TRUE(f.dialogCalls.empty());
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text.rfind("No test information found on drive ", 0), 0u);
    EXPECT_EQ(f.ini(), before) << "nothing is remembered";
  }
}

TEST(SelectDataLocation, WriteProtectedOkRetriesTheWriteTest) {
  Fixture f;
  const std::string usb = f.folder("usb", {"Jones"});
  f.setFilePath(usb);
  f.fs.arm({"write", kWriteTestFile, EROFS, 2});
  f.prompter.script(Answer::Ok);
  f.prompter.script(Answer::Ok);
  ASSERT_EQ(f.run(), LocationOutcome::Settled);
  ASSERT_EQ(f.prompter.asked.size(), 2u);
  for (const auto& a : f.prompter.asked) expectMessage(a, kWriteProtected, "Data Disk Error", Buttons::OkCancel, Icon::Critical);
  EXPECT_EQ(f.fs.failures(), 2);
  EXPECT_FALSE(f.probeLeft(usb));
  EXPECT_EQ(f.filePathInIni(), usb);
}

TEST(SelectDataLocation, WriteProtectedCancelLeavesWithTheTableAsLoaded) {
  Fixture f;
  const std::string usb = f.folder("usb", {"Jones", "Smith"});
  const std::string other = f.folder("other");
  f.setFilePath(other);
  f.state.dataLocation = other;
  f.fs.arm({"write", kWriteTestFile, EACCES, -1});
  f.prompter.script(Answer::Cancel);
  f.dialogAnswers = {usb};
  ASSERT_EQ(f.run(false), LocationOutcome::Left);
  ASSERT_EQ(f.dialogCalls.size(), 1u);
  EXPECT_EQ(f.dialogCalls[0], other) << "the location in force is preselected";
  EXPECT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.state.dataLocation, usb);
  EXPECT_EQ(f.state.clients.RecordCount, 2);
  EXPECT_EQ(f.filePathInIni(), other) << "a location that refuses writes is not remembered";
  EXPECT_FALSE(f.probeLeft(usb));
}

TEST(SelectDataLocation, AStaleWriteTestFileIsRemovedAndAFailedRemovalRetried) {
  for (bool failRemoval : {false, true}) {
    SCOPED_TRACE(failRemoval);
    Fixture f;
    const std::string usb = f.folder("usb");
    if (!failRemoval) zvtest::writeBytes(joinPath(usb, kWriteTestFile), "left over from last time");
    f.setFilePath(usb);
    if (failRemoval) {
      f.fs.arm({"remove", kWriteTestFile, EROFS, 1});
      f.prompter.script(Answer::Ok);
    }
    ASSERT_EQ(f.run(), LocationOutcome::Settled);
    EXPECT_EQ(f.prompter.asked.size(), failRemoval ? 1u : 0u);
    EXPECT_FALSE(f.probeLeft(usb));
  }
}

TEST(SelectDataLocation, AnyOtherErrorIsShownWithItsNumberAndLeaves) {
  Fixture f;
  const std::string usb = f.folder("usb", {"Jones"});
  f.setFilePath(usb);
  f.fs.arm({"write", kWriteTestFile, ENOSPC, 1});
  ASSERT_EQ(f.run(), LocationOutcome::Left);
  ASSERT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].text, std::string("Error 28:") + std::strerror(ENOSPC));
  EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::Ok);
  EXPECT_EQ(f.state.dataLocation, usb);
  EXPECT_EQ(f.state.clients.RecordCount, 1);
  EXPECT_FALSE(f.probeLeft(usb)) << "a half-written probe is cleaned up";
}

TEST(SelectDataLocation, ADeviceErrorAsksForAnotherDrive) {
  Fixture f;
  const std::string bad = f.folder("bad", {"Jones"});
  const std::string good = f.folder("good", {"Smith", "Brown"});
  f.setFilePath(bad);
  f.fs.arm({"write", "bad/" + std::string(kWriteTestFile), EIO, 1});
  f.prompter.script(Answer::Yes);
  f.dialogAnswers = {good};
  ASSERT_EQ(f.run(), LocationOutcome::Settled);
  ASSERT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::YesNo);
  EXPECT_EQ(f.state.dataLocation, good);
  EXPECT_EQ(f.state.clients.RecordCount, 2);
}

TEST(SelectDataLocation, AnUnreadableClientFileNeverLeavesAnEmptyTableOverItsRecords) {
  Fixture f;
  const std::string bad = f.folder("bad", {"Jones", "Smith"});
  f.setFilePath(bad);
  f.fs.arm({"read", kClientFileName, EIO, 1});
  f.prompter.script(Answer::Ok);  // the load's own message
  f.prompter.script(Answer::No);  // another drive?
  EXPECT_EQ(f.run(), LocationOutcome::EndProgram);
  ASSERT_EQ(f.prompter.asked.size(), 2u);
  EXPECT_EQ(f.prompter.asked[0].text, std::string(std::strerror(EIO)) + "  5");
  EXPECT_EQ(f.prompter.asked[1].text.rfind("No test information found on drive ", 0), 0u);
  EXPECT_EQ(zvtest::readBytes(joinPath(bad, kClientFileName)).size(), 2 * kRecordSize);
}

TEST(SelectDataLocation, LeavingBeforeTheLoadKeepsTheLocationInForceAndAChangeReloadsAndRemembers) {
  Fixture f;
  const std::string a = f.folder("a", {"Jones", "Smith"});
  const std::string b = f.folder("b", {"Brown"});
  f.setFilePath(a);
  ASSERT_EQ(f.run(), LocationOutcome::Settled);
  f.fs.arm({"exists", "/b", EACCES, -1});
  f.prompter.script(Answer::Cancel);
  f.dialogAnswers = {b};
  EXPECT_EQ(f.run(false), LocationOutcome::Left);
  EXPECT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].text, kWriteProtected);
  EXPECT_EQ(f.state.dataLocation, a);
  EXPECT_EQ(f.state.clients.RecordCount, 2);
  EXPECT_EQ(f.state.clients.slot[2].trimmed(Field::Name), "Smith");

  // Changing drive from the menu reloads and remembers.
  f.fs.clear();
  f.dialogCalls.clear();
  f.state.clients.CurrentRecord = 2;
  f.dialogAnswers = {b};
  ASSERT_EQ(f.run(false), LocationOutcome::Settled);
  EXPECT_EQ(f.dialogCalls, std::vector<std::string>{a});
  EXPECT_EQ(f.state.dataLocation, b);
  EXPECT_EQ(f.state.clients.RecordCount, 1);
  EXPECT_EQ(f.state.clients.CurrentRecord, 1);
  EXPECT_EQ(f.state.clients.slot[1].trimmed(Field::Name), "Brown");
  EXPECT_EQ(f.filePathInIni(), b);
}

TEST(SelectDataLocation, AWriteProtectedSettingsFileIsRetried) {
  Fixture f;
  const std::string usb = f.folder("usb");
  f.setFilePath(f.program.file("data"));
  f.fs.arm({"replace", "zv.ini", EROFS, 1});
  f.prompter.script(Answer::Ok);
  f.dialogAnswers = {usb};
  ASSERT_EQ(f.run(false), LocationOutcome::Settled);
  EXPECT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].text, kWriteProtected);
  EXPECT_EQ(f.filePathInIni(), usb);
}

TEST(SelectDataLocation, ADefaultLocationTooLongForTheSettingsIsUsedButNotWritten) {
  zvtest::TempDir base;
  const std::string program = base.path() + "/" + std::string(40, 'p');
  RealFileSystem fs;
  fs.makeDirectories(program);
  ScriptedPrompter prompter;
  SystemState state(fs, prompter, program);
  const AskDrive never = [](const std::string&) -> std::string { throw std::logic_error("asked"); };
  ASSERT_GT(joinPath(program, "data").size(), Settings::kMaxPathLength);
  ASSERT_EQ(SelectDataLocation(state, true, never), LocationOutcome::Settled);
  EXPECT_EQ(state.dataLocation, joinPath(program, "data"));
  EXPECT_FALSE(fs.exists(joinPath(program, "zv.ini"))) << "a cut path would point elsewhere on the next start";
  // The next start finds the same folder again.
  SystemState again(fs, prompter, program);
  ASSERT_EQ(SelectDataLocation(again, true, never), LocationOutcome::Settled);
  EXPECT_EQ(again.dataLocation, state.dataLocation);
  EXPECT_TRUE(prompter.asked.empty());
}

TEST(SelectDataLocation, MoreThan51ClientsAreToldAndOnly51Kept) {
  Fixture f;
  std::vector<std::string> names;
  for (int i = 1; i <= 53; ++i) names.push_back("Client" + std::to_string(i));
  const std::string usb = f.folder("usb", names);
  f.setFilePath(usb);
  ASSERT_EQ(f.run(), LocationOutcome::Settled);
  ASSERT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].text, tooManyClientsMessage(53));
  EXPECT_EQ(f.state.clients.RecordCount, 51);
  EXPECT_EQ(zvtest::readBytes(joinPath(usb, kClientFileName)).size(), 53 * kRecordSize);
}

TEST(StartUpErrorHandler, MissingDiskWriteProtectedAndOtherErrors) {
  ScriptedPrompter p;
  int calls = 0;
  p.script(Answer::Ok);
  EXPECT_TRUE(RunStartUpStep(p, [&] {
    if (++calls == 1) throw ZvError(ErrorKind::FileNotFound, ENOENT, "No such file or directory");
  }));
  EXPECT_EQ(calls, 2);
  ASSERT_EQ(p.asked.size(), 1u);
  expectMessage(p.asked[0], "Data disk not found!\r\rInsert data disk in drive A to continue.", "Data Disk Error",
                Buttons::OkCancel, Icon::Critical);

  p.script(Answer::Cancel);
  EXPECT_FALSE(RunStartUpStep(p, [] { throw ZvError::fromErrno(ENOMEDIUM, "/media/usb/x"); }));
  EXPECT_EQ(p.asked.back().text, dataDiskNotFoundMessage());

  // Write protection, then any other error.
  p.script(Answer::Cancel);
  EXPECT_FALSE(RunStartUpStep(p, [] { throw ZvError::fromErrno(EROFS, "/x/zv.ini"); }));
  EXPECT_EQ(p.asked.back().text, kWriteProtected);
  EXPECT_EQ(p.asked.back().title, "Data Disk Error");
  EXPECT_FALSE(RunStartUpStep(p, [] { throw ZvError::fromErrno(ENOSPC, "/x/zv.ini"); }));
  EXPECT_EQ(p.asked.back().text, std::string("Error 28:") + std::strerror(ENOSPC));
  EXPECT_EQ(p.asked.back().buttons, Buttons::Ok);
  EXPECT_EQ(p.asked.back().title, kAppTitle);
}
