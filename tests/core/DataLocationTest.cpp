#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "app/DataLocation.h"
#include "app/QuestionDb.h"
#include "app/Settings.h"
#include "app/StartUp.h"
#include "tests/core/TestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

// A program folder, and media to hold data locations: none in force yet.
struct Fixture : Office {
  Fixture() { state.dataLocation.clear(); }
  std::vector<std::string> dialogCalls;
  std::string dialogAnswer;  // taken by the one showing expected

  AskDrive dialog() {
    return [this](const std::string& inForce) {
      dialogCalls.push_back(inForce);
      if (dialogAnswer.empty()) throw std::runtime_error("drive dialog shown more often than expected");
      return std::exchange(dialogAnswer, "");
    };
  }
  std::string folder(const std::string& name, const std::vector<std::string>& clients = {}) {
    const std::string dir = data.file(name);
    real.makeDirectories(dir);
    if (!clients.empty()) writeBytes(joinPath(dir, kClientFileName), clientsBytes(clients));
    return dir;
  }
  void setFilePath(const std::string& path) { Settings(real, program.path()).writeFilePath(path); }
  std::string filePathInIni() { return Settings(real, program.path()).readFilePath(); }
  std::string ini() { return readBytes(program.file("zv.ini")); }
  LocationOutcome run(bool first = true) { return SelectDataLocation(state, first, dialog()); }
  bool probeLeft(const std::string& dir) { return real.exists(joinPath(dir, kWriteTestFile)); }
};

// Start-up with each screen it shows a note in `events`.
struct StartRun : Fixture {
  std::vector<std::string> events;

  bool start() {
    StartUpScreens s;
    s.mouseWait = [this] { events.push_back("wait"); };
    s.mouseDefault = [this] { events.push_back("default"); };
    s.askDrive = [this, ask = dialog()](const std::string& inForce) {
      events.push_back("drive dialog");
      return ask(inForce);
    };
    s.splash = [this] { events.push_back("splash with " + state.dataLocation); };
    s.showMainMenu = [this] { events.push_back(std::string("main menu, refresh ") + (state.Refresh ? "on" : "off")); };
    s.numLock = [this](bool on) { events.push_back(std::string("numlock ") + (on ? "on" : "off")); };
    return RunStartUp(state, s);
  }
};

const std::string kWriteProtected = "Data disk write protected!\r\rSet the data disk to writable and replace in drive.";

// A file's fault named, and the program folder named write-protected by a fault of zv.ini.
Asked named(int err, const std::string& path) {
  return Asked{fileErrorMessage(ZvError::fromErrno(err, path)), kAppTitle, Buttons::Ok, Icon::None};
}
Asked folderProtected(const std::string& ini) {
  return Asked{programFolderWriteProtectedMessage(ZvError::fromErrno(EROFS, ini)), "Program Folder Error",
               Buttons::OkCancel, Icon::Critical};
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

TEST(SelectDataLocation, AnUnreadableFirstCandidateAsksForAnotherDrive) {
  for (const char* kind : {"missing folder", "plain file", "answered yes"}) {
    SCOPED_TRACE(kind);
    Fixture f;
    const std::string path = f.data.file("gone");
    if (std::string(kind) == "plain file") writeBytes(path, "x");
    const bool yes = std::string(kind) == "answered yes";
    const std::string usb = f.folder("usb", {"Jones"});
    f.setFilePath(path);
    const std::string ini = f.ini();
    f.prompter.script(yes ? Answer::Yes : Answer::No);
    if (yes) f.dialogAnswer = usb;
    EXPECT_EQ(f.run(), yes ? LocationOutcome::Settled : LocationOutcome::EndProgram);
    EXPECT_EQ(f.prompter.asked, (AskedList{{noTestInformationMessage(path), kAppTitle, Buttons::YesNo, Icon::None}}));
    if (!yes) {
      EXPECT_EQ(f.ini(), ini) << "nothing is remembered";
      continue;
    }
    EXPECT_EQ(f.dialogCalls, std::vector<std::string>{f.program.file("data")}) << "the default is preselected";
    EXPECT_EQ((Texts{f.state.dataLocation, f.filePathInIni()}), (Texts{usb, usb}));
    EXPECT_FALSE(f.real.exists(path)) << "a missing location is never created";
  }
}

// Each message whole: text, title, buttons and icon.
TEST(SelectDataLocation, FaultsOfEachStepAreNamedAndAnsweredAsTheUserChooses) {
  struct Case {
    const char* name;
    FaultyFileSystem::Fault fault;
    std::vector<Answer> answers;
    LocationOutcome outcome;
    std::function<AskedList(const std::string& usb, const std::string& ini)> asked;
  };
  const std::string probe = kWriteTestFile;
  const Asked writeProtected{kWriteProtected, "Data Disk Error", Buttons::OkCancel, Icon::Critical};
  auto another = [](const std::string& usb) { return Asked{noTestInformationMessage(usb), kAppTitle, Buttons::YesNo, Icon::None}; };
  const Asked unreadable{std::string(std::strerror(EIO)) + "  5", kAppTitle, Buttons::Ok, Icon::None};
  const Case cases[] = {
      {"write test write-protected: OK tries again", {"write", probe, EROFS, 2}, {Answer::Ok, Answer::Ok},
       LocationOutcome::Settled, [&](auto&, auto&) { return AskedList{writeProtected, writeProtected}; }},
      {"write test refused: Cancel goes on with the table as loaded", {"write", probe, EACCES, -1}, {Answer::Cancel},
       LocationOutcome::Left, [&](auto&, auto&) { return AskedList{writeProtected}; }},
      {"stale probe cannot be removed: OK tries again", {"remove", probe, EROFS, 1}, {Answer::Ok},
       LocationOutcome::Settled, [&](auto&, auto&) { return AskedList{writeProtected}; }},
      {"write test disk full: named", {"write", probe, ENOSPC, 1}, {}, LocationOutcome::Left,
       [&](auto& usb, auto&) { return AskedList{named(ENOSPC, joinPath(usb, probe))}; }},
      {"write test I/O error: named, the client file was fine", {"write", probe, EIO, 1}, {}, LocationOutcome::Left,
       [&](auto& usb, auto&) { return AskedList{named(EIO, joinPath(usb, probe))}; }},
      {"disk gone during the write test: another drive?", {"write", probe, ENOMEDIUM, 1}, {Answer::No},
       LocationOutcome::EndProgram, [&](auto& usb, auto&) { return AskedList{another(usb)}; }},
      {"zv.ini write-protected: the program folder is named, OK tries again", {"replace", "zv.ini", EROFS, 1},
       {Answer::Ok}, LocationOutcome::Settled, [&](auto&, auto& ini) { return AskedList{folderProtected(ini)}; }},
      {"zv.ini I/O error: named", {"replace", "zv.ini", EIO, 1}, {}, LocationOutcome::Left,
       [&](auto&, auto& ini) { return AskedList{named(EIO, ini)}; }},
      {"client file unreadable: its message, then another drive?", {"read", kClientFileName, EIO, 1},
       {Answer::Ok, Answer::No}, LocationOutcome::EndProgram,
       [&](auto& usb, auto&) { return AskedList{unreadable, another(usb)}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    const std::string usb = f.folder("usb", {"Jones", "Smith"});
    f.setFilePath(usb);
    f.fs.arm(c.fault);
    for (Answer a : c.answers) f.prompter.script(a);
    EXPECT_EQ(f.run(), c.outcome);
    EXPECT_EQ(f.prompter.asked, c.asked(usb, f.program.file("zv.ini")));
    EXPECT_FALSE(f.probeLeft(usb)) << "a half-written probe is cleaned up";
    if (c.outcome != LocationOutcome::EndProgram) {
      EXPECT_EQ(std::pair(f.state.dataLocation, f.state.clients.RecordCount), std::pair(usb, std::int16_t{2}));
    }
    EXPECT_EQ(readBytes(joinPath(usb, kClientFileName)).size(), 2 * kRecordSize);
  }
}

TEST(SelectDataLocation, LeavingBeforeTheLoadKeepsTheLocationInForceAndAChangeReloadsAndRemembers) {
  Fixture f;
  const std::string a = f.folder("a", {"Jones", "Smith"});
  const std::string b = f.folder("b", {"Brown"});
  f.setFilePath(a);
  ASSERT_EQ(f.run(), LocationOutcome::Settled);  // a FilePath is loaded without the dialog
  EXPECT_FALSE(f.real.exists(f.program.file("data"))) << "the default folder is not made";
  f.fs.arm({"exists", "/b", EACCES, -1});
  f.prompter.script(Answer::Cancel);
  f.dialogAnswer = b;
  EXPECT_EQ(f.run(false), LocationOutcome::Left);
  EXPECT_EQ(askedTexts(f.prompter), Texts{kWriteProtected});
  EXPECT_EQ(f.state.dataLocation, a);
  EXPECT_EQ(f.state.clients.slot[2].trimmed(Field::Name), "Smith");

  // Changing drive from the menu reloads and remembers.
  f.fs.clear();
  f.dialogCalls.clear();
  f.state.clients.CurrentRecord = 2;
  f.dialogAnswer = b;
  ASSERT_EQ(f.run(false), LocationOutcome::Settled);
  EXPECT_EQ(f.dialogCalls, std::vector<std::string>{a});
  EXPECT_EQ((Texts{f.state.dataLocation, f.filePathInIni()}), (Texts{b, b}));
  EXPECT_EQ(recordCounts(f.state.clients), (std::vector<int>{1, 1}));
}

TEST(SelectDataLocation, ADefaultLocationTooLongForTheSettingsRemovesFilePath) {
  Office o;
  const std::string program = o.program.file(std::string(40, 'p')), old = o.data.path();
  o.real.makeDirectories(program);
  writeBytes(joinPath(program, "zv.ini"), "[Path]\nFilePath=" + old + "\nSndPath=/snd\n");
  SystemState state(o.real, o.prompter, program);
  state.dataLocation = old;
  ASSERT_GT(joinPath(program, "data").size(), Settings::kMaxPathLength);
  ASSERT_EQ(SelectDataLocation(state, false, [&](const std::string&) { return joinPath(program, "data"); }),
            LocationOutcome::Settled);
  EXPECT_EQ(state.dataLocation, joinPath(program, "data"));
  EXPECT_EQ(readBytes(joinPath(program, "zv.ini")), "[Path]\nSndPath=/snd\n")
      << "a cut path, or the old one, would point elsewhere on the next start";
  // The next start finds the same folder again.
  SystemState again(o.real, o.prompter, program);
  const AskDrive never = [](const std::string&) -> std::string { throw std::logic_error("asked"); };
  ASSERT_EQ(SelectDataLocation(again, true, never), LocationOutcome::Settled);
  EXPECT_EQ(again.dataLocation, state.dataLocation);
  EXPECT_TRUE(o.prompter.asked.empty());
}

// A fresh installation starts in the default folder without a question or the drive dialog.
TEST(StartUp, FreshInstallationRunsEveryStepInOrder) {
  StartRun r;
  r.state.Refresh = false;
  r.state.SectionEnd = {0, 0, 0, 0};
  ASSERT_TRUE(r.start());
  const std::string data = r.program.file("data");
  EXPECT_EQ(r.events, (Texts{"wait", "default", "wait", "splash with " + data, "main menu, refresh on", "numlock on",
                             "default"}));
  EXPECT_TRUE(r.prompter.asked.empty());
  EXPECT_EQ(r.real.size(joinPath(data, kClientFileName)), 0u);
  EXPECT_FALSE(r.probeLeft(data));
  EXPECT_EQ(r.state.clients.CurrentRecord, 0);
  EXPECT_TRUE(r.state.NumLock);
  EXPECT_EQ(r.state.SectionEnd, (SectionEnds{0, 105, 139, 162}));
  const auto file = [&r](const char* name) { return r.program.file(name); };
  EXPECT_EQ((Texts{r.state.dataLocation, r.state.sndPath, r.state.questionDbPath(), r.state.workspace.iniPath(),
                   r.state.workspace.defaultUser()}),
            (Texts{data, file("sounds"), file("ZV.db"), file("zv.ini"), "KLVTest"}));
  EXPECT_EQ(r.ini(), "[Options]\nSystemDB=" + r.program.file("kelvor.mda") + "\n[Path]\nFilePath=" + data + "\n");
}

TEST(StartUp, SettingsAreRead) {
  StartRun r;
  const std::string usb = r.folder("usb");
  writeBytes(r.program.file("zv.ini"), "[Settings]\nNumLock=false\n[Path]\nFilePath=" + usb + "\nSndPath=/snd\n");
  ASSERT_TRUE(r.start());
  EXPECT_EQ((Texts{r.state.dataLocation, r.state.sndPath, r.events[5]}), (Texts{usb, "/snd", "numlock off"}));
  EXPECT_FALSE(r.state.NumLock);
}

// An unreadable location asks for another drive, and No ends before the splash and the main menu. Writing
// SystemDB, the first step, into an unwritable program folder names the folder; OK tries again, Cancel ends.
TEST(StartUp, AnUnreadableLocationOrAnUnwritableProgramFolderCanEndTheStart) {
  for (const bool yes : {false, true}) {
    StartRun r;
    const std::string usb = r.folder("usb");
    r.setFilePath(r.program.file("missing"));
    r.prompter.script(yes ? Answer::Yes : Answer::No);
    if (yes) r.dialogAnswer = usb;
    EXPECT_EQ(r.start(), yes);
    EXPECT_EQ(r.events, (yes ? Texts{"wait", "default", "drive dialog", "wait", "splash with " + usb,
                                     "main menu, refresh on", "numlock on", "default"}
                             : Texts{"wait", "default"}));
  }
  for (const int err : {EROFS, EIO}) {
    StartRun r;
    r.fs.arm({"replace", "zv.ini", err, -1});
    r.prompter.script(Answer::Ok);
    r.prompter.script(Answer::Cancel);
    EXPECT_FALSE(r.start());
    const std::string ini = r.program.file("zv.ini");
    EXPECT_EQ(r.prompter.asked,
              (err == EROFS ? AskedList{folderProtected(ini), folderProtected(ini)} : AskedList{named(EIO, ini)}));
    EXPECT_EQ(r.events, (Texts{"wait", "default"})) << "the busy pointer is restored";
  }
}

// A missing file gives the defaults; paths keep 49 characters, trimmed; NumLock tests the "Tru" prefix
// case-sensitively; writing one key keeps every other line.
TEST(SettingsFile, DefaultsPathsNumLockAndWritingOneKey) {
  TempDir dir;
  RealFileSystem fs;
  Settings s{fs, dir.path()};
  const auto write = [&](const std::string& ini) { writeBytes(dir.file("zv.ini"), ini); };
  EXPECT_TRUE(s.readNumLock());
  EXPECT_EQ((std::vector<std::string>{s.readFilePath(), s.readSndPath()}),
            (std::vector<std::string>{dir.path() + "/data", dir.path() + "/sounds"}));
  EXPECT_FALSE(fs.exists(dir.file("zv.ini")));
  const std::string longPath = "/media/" + std::string(60, 'x');
  write("[Path]\nFilePath=   /media/usb   \nSndPath=" + longPath + "\n");
  EXPECT_EQ((std::vector<std::string>{s.readFilePath(), s.readSndPath()}),
            (std::vector<std::string>{"/media/usb", longPath.substr(0, 49)}));
  write("[settings]\nnumlock=true\n");
  EXPECT_FALSE(s.readNumLock()) << "lower-case value reads as off; names match in any case";
  write("[SETTINGS]\nNUMLOCK = Truthfully\n");
  EXPECT_TRUE(s.readNumLock());
  s.writeNumLock(false);
  EXPECT_FALSE(s.readNumLock());
  s.writeNumLock(true);
  EXPECT_EQ(readBytes(dir.file("zv.ini")), "[SETTINGS]\nNumLock=True\n");
  // Writing one key keeps every other line.
  write("; office settings\r\n[Settings]\r\nNumLock=False\r\n\r\n[Path]\r\nSndPath=/snd\r\n[Other]\r\nx=1\r\n");
  s.writeFilePath("/media/usb");
  s.writeSystemDB();
  EXPECT_EQ(readBytes(dir.file("zv.ini")),
            "; office settings\r\n[Settings]\r\nNumLock=False\r\n\r\n[Path]\r\nSndPath=/snd\r\nFilePath=/media/usb\r\n"
            "[Other]\r\nx=1\r\n[Options]\r\nSystemDB=" + dir.path() + "/kelvor.mda\r\n");
  EXPECT_EQ(s.readFilePath(), "/media/usb");
}

// Edit and Update are checked where the layout positions are stored (SheetPositions).
TEST(QuestionDb, BundledDatabaseHasBothLanguagesInIdOrder) {
  TempDir dir;
  RealFileSystem().copy(std::string(ZV_PROGRAM_DIR) + "/ZV.db", dir.file("ZV.db"));
  auto ws = Workspace::standard(dir.file("zv.ini"));
  auto db = ws.OpenDatabase(dir.file("ZV.db"), true);
  const auto names = db.TableNames();
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "English");
  auto rs = db.SelectAll("English");
  EXPECT_EQ(rs.RecordCount(), 162);
  int expected = 1;
  for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) EXPECT_EQ(rs.fieldInt("ID"), expected++);
  rs.MovePrevious();
  EXPECT_EQ(rs.fieldInt("ID"), 162);
  rs.MoveFirst();
  rs.MovePrevious();
  EXPECT_TRUE(rs.IsBOF());
  rs.MoveNext();
  EXPECT_EQ(rs.field("answer2").empty(), false) << "fields are found by name in any case";
  EXPECT_EQ(rs.field("ANSWER5"), "") << "NULL reads as empty";
  EXPECT_THROW(rs.field("NoSuchField"), ZvError);
  EXPECT_THROW(db.SelectAll("NoTable"), ZvError);
  try {
    ws.OpenDatabase(dir.file("missing.db"));
    FAIL();
  } catch (const ZvError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::FileNotFound);
  }
}
