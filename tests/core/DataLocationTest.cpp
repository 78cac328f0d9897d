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

const std::string kWriteProtected = "Data disk write protected!\r\rSet the data disk to writable and replace in drive.";

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TEST(DataLocationMessages, ExactTexts) {
  EXPECT_EQ(noTestInformationMessage("/media/usb"),
            "No test information found on drive /MEDIA/USB, would you like to try another drive?");
  EXPECT_EQ(dataDiskWriteProtectedMessage(), kWriteProtected);
  const ZvError full = ZvError::fromErrno(ENOSPC, "/media/usb/checkWriteTest");
  EXPECT_EQ(numberedErrorMessage(full), std::string("Error 28:") + std::strerror(ENOSPC));
  EXPECT_EQ(fileErrorMessage(full),
            std::string("Error 28:") + std::strerror(ENOSPC) + "\r\rFile: checkWriteTest\rFolder: /media/usb");
  EXPECT_EQ(programFolderWriteProtectedMessage(ZvError::fromErrno(EROFS, "/opt/zv/zv.ini")),
            "Program folder write protected!\r\rFile: zv.ini\rFolder: /opt/zv\r\rSet the program folder to writable to "
            "continue.");
}

TEST(SelectDataLocation, FreshInstallationStartsInTheDefaultFolderWithoutAQuestion) {
  Fixture f;
  ASSERT_EQ(f.run(), LocationOutcome::Settled);
  const std::string data = f.program.file("data");
  EXPECT_EQ(f.state.dataLocation, data);
  EXPECT_EQ(f.real.size(joinPath(data, kClientFileName)), 0u);
  EXPECT_FALSE(f.probeLeft(data));
  EXPECT_TRUE(f.prompter.asked.empty());
  EXPECT_TRUE(f.dialogCalls.empty());
  EXPECT_EQ(f.ini(), "[Path]\nFilePath=" + data + "\n");
  EXPECT_EQ(f.state.clients.CurrentRecord, 0);

  // A FilePath is loaded without the dialog; the default folder is not made.
  Fixture g;
  const std::string usb = g.folder("usb", {"Jones", "Smith", "Brown"});
  g.setFilePath(usb);
  ASSERT_EQ(g.run(), LocationOutcome::Settled);
  EXPECT_TRUE(g.dialogCalls.empty());
  EXPECT_EQ(g.state.dataLocation, usb);
  EXPECT_EQ(g.state.clients.RecordCount, 3);
  EXPECT_EQ(g.state.clients.slot[2].trimmed(Field::Name), "Smith");
  EXPECT_FALSE(g.real.exists(g.program.file("data")));
}

TEST(SelectDataLocation, AnUnreadableFirstCandidateAsksForAnotherDrive) {
  for (const char* kind : {"missing folder", "plain file", "answered yes"}) {
    SCOPED_TRACE(kind);
    Fixture f;
    const std::string path = f.media.file("gone");
    if (std::string(kind) == "plain file") zvtest::writeBytes(path, "x");
    const bool yes = std::string(kind) == "answered yes";
    const std::string usb = f.folder("usb", {"Jones"});
    f.setFilePath(path);
    const std::string ini = f.ini();
    f.prompter.script(yes ? Answer::Yes : Answer::No);
    if (yes) f.dialogAnswers = {usb};
    EXPECT_EQ(f.run(), yes ? LocationOutcome::Settled : LocationOutcome::EndProgram);
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    expectMessage(f.prompter.asked[0],
                  "No test information found on drive " + upper(path) + ", would you like to try another drive?",
                  kAppTitle, Buttons::YesNo, Icon::None);
    if (!yes) {
      EXPECT_EQ(f.ini(), ini) << "nothing is remembered";
      continue;
    }
    EXPECT_EQ(f.dialogCalls, std::vector<std::string>{f.program.file("data")}) << "the default is preselected";
    EXPECT_EQ(f.state.dataLocation, usb);
    EXPECT_EQ(f.filePathInIni(), usb);
    EXPECT_FALSE(f.real.exists(path)) << "a missing location is never created";
  }
}

TEST(SelectDataLocation, FaultsOfEachStepAreNamedAndAnsweredAsTheUserChooses) {
  struct Case {
    const char* name;
    FaultyFileSystem::Fault fault;
    std::vector<Answer> answers;
    LocationOutcome outcome;
    std::function<std::vector<std::string>(const std::string& usb, const std::string& ini)> texts;
    const char* title;
  };
  const std::string probe = kWriteTestFile;
  auto error = [](int err, const std::string& path) { return fileErrorMessage(ZvError::fromErrno(err, path)); };
  const Case cases[] = {
      {"write test write-protected: OK tries again", {"write", probe, EROFS, 2}, {Answer::Ok, Answer::Ok},
       LocationOutcome::Settled, [](auto&, auto&) { return std::vector<std::string>{kWriteProtected, kWriteProtected}; },
       "Data Disk Error"},
      {"write test refused: Cancel goes on with the table as loaded", {"write", probe, EACCES, -1}, {Answer::Cancel},
       LocationOutcome::Left, [](auto&, auto&) { return std::vector<std::string>{kWriteProtected}; }, "Data Disk Error"},
      {"stale probe cannot be removed: OK tries again", {"remove", probe, EROFS, 1}, {Answer::Ok},
       LocationOutcome::Settled, [](auto&, auto&) { return std::vector<std::string>{kWriteProtected}; },
       "Data Disk Error"},
      {"write test disk full: named", {"write", probe, ENOSPC, 1}, {}, LocationOutcome::Left,
       [&](auto& usb, auto&) { return std::vector<std::string>{error(ENOSPC, joinPath(usb, probe))}; }, kAppTitle},
      {"write test I/O error: named, the client file was fine", {"write", probe, EIO, 1}, {}, LocationOutcome::Left,
       [&](auto& usb, auto&) { return std::vector<std::string>{error(EIO, joinPath(usb, probe))}; }, kAppTitle},
      {"disk gone during the write test: another drive?", {"write", probe, ENOMEDIUM, 1}, {Answer::No},
       LocationOutcome::EndProgram, [](auto& usb, auto&) { return std::vector<std::string>{noTestInformationMessage(usb)}; },
       kAppTitle},
      {"zv.ini write-protected: the program folder is named, OK tries again", {"replace", "zv.ini", EROFS, 1},
       {Answer::Ok}, LocationOutcome::Settled,
       [](auto&, auto& ini) {
         return std::vector<std::string>{programFolderWriteProtectedMessage(ZvError::fromErrno(EROFS, ini))};
       },
       "Program Folder Error"},
      {"zv.ini I/O error: named", {"replace", "zv.ini", EIO, 1}, {}, LocationOutcome::Left,
       [&](auto&, auto& ini) { return std::vector<std::string>{error(EIO, ini)}; }, kAppTitle},
      {"client file unreadable: its message, then another drive?", {"read", kClientFileName, EIO, 1},
       {Answer::Ok, Answer::No}, LocationOutcome::EndProgram,
       [](auto& usb, auto&) {
         return std::vector<std::string>{std::string(std::strerror(EIO)) + "  5", noTestInformationMessage(usb)};
       },
       kAppTitle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    const std::string usb = f.folder("usb", {"Jones", "Smith"});
    f.setFilePath(usb);
    f.fs.arm(c.fault);
    for (Answer a : c.answers) f.prompter.script(a);
    EXPECT_EQ(f.run(), c.outcome);
    std::vector<std::string> asked;
    for (const auto& a : f.prompter.asked) asked.push_back(a.text);
    EXPECT_EQ(asked, c.texts(usb, f.program.file("zv.ini")));
    EXPECT_EQ(f.prompter.asked.back().title, c.title);
    EXPECT_FALSE(f.probeLeft(usb)) << "a half-written probe is cleaned up";
    if (c.outcome != LocationOutcome::EndProgram) {
      EXPECT_EQ(f.state.dataLocation, usb);
      EXPECT_EQ(f.state.clients.RecordCount, 2);
    }
    EXPECT_EQ(zvtest::readBytes(joinPath(usb, kClientFileName)).size(), 2 * kRecordSize);
  }
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
  EXPECT_EQ(f.filePathInIni(), b);
}

TEST(SelectDataLocation, ADefaultLocationTooLongForTheSettingsRemovesFilePath) {
  zvtest::TempDir base;
  const std::string program = base.path() + "/" + std::string(40, 'p');
  RealFileSystem fs;
  fs.makeDirectories(program);
  ScriptedPrompter prompter;
  const std::string old = base.path();
  zvtest::writeBytes(joinPath(program, "zv.ini"), "[Path]\nFilePath=" + old + "\nSndPath=/snd\n");
  SystemState state(fs, prompter, program);
  state.dataLocation = old;
  ASSERT_GT(joinPath(program, "data").size(), Settings::kMaxPathLength);
  ASSERT_EQ(SelectDataLocation(state, false, [&](const std::string&) { return joinPath(program, "data"); }),
            LocationOutcome::Settled);
  EXPECT_EQ(state.dataLocation, joinPath(program, "data"));
  EXPECT_EQ(zvtest::readBytes(joinPath(program, "zv.ini")), "[Path]\nSndPath=/snd\n")
      << "a cut path, or the old one, would point elsewhere on the next start";
  // The next start finds the same folder again.
  SystemState again(fs, prompter, program);
  const AskDrive never = [](const std::string&) -> std::string { throw std::logic_error("asked"); };
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

TEST(ProgramFolderStep, WriteProtectedAndOtherErrorsNameTheFile) {
  ScriptedPrompter p;
  int calls = 0;
  p.script(Answer::Ok);
  EXPECT_TRUE(RunProgramFolderStep(p, [&] {
    if (++calls == 1) throw ZvError::fromErrno(EROFS, "/opt/zv/zv.ini");
  }));
  EXPECT_EQ(calls, 2);
  ASSERT_EQ(p.asked.size(), 1u);
  expectMessage(p.asked[0], programFolderWriteProtectedMessage(ZvError::fromErrno(EROFS, "/opt/zv/zv.ini")),
                "Program Folder Error", Buttons::OkCancel, Icon::Critical);
  p.script(Answer::Cancel);
  EXPECT_FALSE(RunProgramFolderStep(p, [] { throw ZvError::fromErrno(EACCES, "/opt/zv/zv.ini"); }));
  EXPECT_EQ(p.asked.size(), 2u);
  EXPECT_FALSE(RunProgramFolderStep(p, [] { throw ZvError::fromErrno(EIO, "/opt/zv/zv.ini"); }));
  expectMessage(p.asked.back(), fileErrorMessage(ZvError::fromErrno(EIO, "/opt/zv/zv.ini")), kAppTitle, Buttons::Ok,
                Icon::None);
}
