#include <gtest/gtest.h>

#include <cerrno>

#include "app/QuestionDb.h"
#include "app/Settings.h"
#include "app/StartUp.h"
#include "app/SystemState.h"
#include "tests/core/TestSupport.h"

using namespace zv;

namespace {

struct StartRun {
  zvtest::TempDir program;
  RealFileSystem real;
  FaultyFileSystem fs{real};
  ScriptedPrompter prompter;
  SystemState state{fs, prompter, program.path()};
  std::vector<std::string> events;
  std::vector<std::string> drives;

  StartUpScreens screens() {
    StartUpScreens s;
    s.mouseWait = [this] { events.push_back("wait"); };
    s.mouseDefault = [this] { events.push_back("default"); };
    s.askDrive = [this](const std::string&) {
      events.push_back("drive dialog");
      if (drives.empty()) throw std::logic_error("drive dialog not expected");
      const std::string d = drives.front();
      drives.erase(drives.begin());
      return d;
    };
    s.splash = [this] { events.push_back("splash with " + state.dataLocation); };
    s.showMainMenu = [this] { events.push_back(std::string("main menu, refresh ") + (state.Refresh ? "on" : "off")); };
    s.numLock = [this](bool on) { events.push_back(std::string("numlock ") + (on ? "on" : "off")); };
    return s;
  }
};

}  // namespace

TEST(StartUp, FreshInstallationRunsEveryStepInOrder) {
  StartRun r;
  r.state.Refresh = false;
  r.state.SectionEnd = {0, 0, 0, 0};
  ASSERT_TRUE(RunStartUp(r.state, r.screens()));
  const std::string data = r.program.file("data");
  const std::vector<std::string> expected = {"wait", "default", "wait", "splash with " + data, "main menu, refresh on",
                                             "numlock on", "default"};
  EXPECT_EQ(r.events, expected);
  EXPECT_TRUE(r.prompter.asked.empty());
  EXPECT_EQ(r.state.dataLocation, data);
  EXPECT_EQ(r.state.sndPath, r.program.file("sounds"));
  EXPECT_TRUE(r.state.NumLock);
  EXPECT_EQ(r.state.SectionEnd, (SectionEnds{0, 105, 139, 162}));
  EXPECT_EQ(r.state.questionDbPath(), r.program.file("ZV.db"));
  const std::string ini = zvtest::readBytes(r.program.file("zv.ini"));
  EXPECT_NE(ini.find("[Options]\nSystemDB=" + r.program.file("kelvor.mda") + "\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[Path]\nFilePath=" + data + "\n"), std::string::npos) << ini;
  EXPECT_EQ(r.state.workspace.defaultUser(), "KLVTest");
  EXPECT_EQ(r.state.workspace.iniPath(), r.program.file("zv.ini"));
}

TEST(StartUp, SettingsAreRead) {
  StartRun r;
  r.real.makeDirectories(r.program.file("usb"));
  zvtest::writeBytes(r.program.file("zv.ini"), "[Settings]\nNumLock=false\n[Path]\nFilePath=" + r.program.file("usb") +
                                                   "\nSndPath=/srv/sounds\n");
  ASSERT_TRUE(RunStartUp(r.state, r.screens()));
  EXPECT_EQ(r.state.dataLocation, r.program.file("usb"));
  EXPECT_EQ(r.state.sndPath, "/srv/sounds");
  EXPECT_FALSE(r.state.NumLock) << "lower-case value reads as off";
  EXPECT_EQ(r.events[5], "numlock off");
}

TEST(StartUp, NoToAnotherDriveEndsBeforeTheSplashAndTheMainMenu) {
  StartRun r;
  zvtest::writeBytes(r.program.file("zv.ini"), "[Path]\nFilePath=" + r.program.file("missing") + "\n");
  r.prompter.script(Answer::No);
  EXPECT_FALSE(RunStartUp(r.state, r.screens()));
  const std::vector<std::string> expected = {"wait", "default"};
  EXPECT_EQ(r.events, expected);
  ASSERT_EQ(r.prompter.asked.size(), 1u);
  EXPECT_EQ(r.prompter.asked[0].buttons, Buttons::YesNo);
}

TEST(StartUp, YesToAnotherDriveShowsTheDialogAndGoesOn) {
  StartRun r;
  r.real.makeDirectories(r.program.file("usb"));
  zvtest::writeBytes(r.program.file("zv.ini"), "[Path]\nFilePath=" + r.program.file("missing") + "\n");
  r.prompter.script(Answer::Yes);
  r.drives = {r.program.file("usb")};
  ASSERT_TRUE(RunStartUp(r.state, r.screens()));
  EXPECT_EQ(r.events[2], "drive dialog");
  EXPECT_EQ(r.events[4], "splash with " + r.program.file("usb"));
  EXPECT_EQ(Settings(r.real, r.program.path()).readFilePath(), r.program.file("usb"));
}

TEST(StartUp, AnUnwritableProgramFolderIsReportedAndCancelEnds) {
  StartRun r;
  r.fs.arm({"replace", "zv.ini", EROFS, -1});
  r.prompter.script(Answer::Ok);
  r.prompter.script(Answer::Cancel);
  EXPECT_FALSE(RunStartUp(r.state, r.screens()));
  ASSERT_EQ(r.prompter.asked.size(), 2u) << "OK retried the step once";
  EXPECT_EQ(r.prompter.asked[1].title, "Program Folder Error");
  EXPECT_NE(r.prompter.asked[1].text.find("Folder: " + r.program.path()), std::string::npos);
  EXPECT_EQ(r.events, (std::vector<std::string>{"wait", "default"})) << "the busy pointer is restored";
}

namespace {
struct SettingsFile : ::testing::Test {
  zvtest::TempDir dir;
  RealFileSystem fs;
  Settings s{fs, dir.path()};
  void write(const std::string& ini) { zvtest::writeBytes(dir.file("zv.ini"), ini); }
};
}  // namespace

TEST_F(SettingsFile, MissingFileGivesDefaultsAndThePathKeeps49CharactersTrimmed) {
  EXPECT_TRUE(s.readNumLock());
  EXPECT_EQ((std::vector<std::string>{s.readFilePath(), s.readSndPath()}),
            (std::vector<std::string>{dir.path() + "/data", dir.path() + "/sounds"}));
  EXPECT_FALSE(fs.exists(dir.file("zv.ini")));
  const std::string longPath = "/media/" + std::string(60, 'x');
  write("[Path]\nFilePath=   /media/usb   \nSndPath=" + longPath + "\n");
  EXPECT_EQ((std::vector<std::string>{s.readFilePath(), s.readSndPath()}),
            (std::vector<std::string>{"/media/usb", longPath.substr(0, 49)}));
}

TEST_F(SettingsFile, NumLockTestsTheTruPrefixCaseSensitively) {
  write("[settings]\nnumlock=true\n");
  EXPECT_FALSE(s.readNumLock()) << "lower-case value reads as off; names match in any case";
  write("[SETTINGS]\nNUMLOCK = Truthfully\n");
  EXPECT_TRUE(s.readNumLock());
  s.writeNumLock(false);
  EXPECT_FALSE(s.readNumLock());
  s.writeNumLock(true);
  EXPECT_EQ(zvtest::readBytes(dir.file("zv.ini")), "[SETTINGS]\nNumLock=True\n");
}

TEST_F(SettingsFile, WritingOneKeyKeepsEveryOtherLine) {
  write("; office settings\r\n[Settings]\r\nNumLock=False\r\n\r\n[Path]\r\nSndPath=/snd\r\n[Other]\r\nx=1\r\n");
  s.writeFilePath("/media/usb");
  s.writeSystemDB();
  EXPECT_EQ(zvtest::readBytes(dir.file("zv.ini")),
            "; office settings\r\n[Settings]\r\nNumLock=False\r\n\r\n[Path]\r\nSndPath=/snd\r\nFilePath=/media/usb\r\n"
            "[Other]\r\nx=1\r\n[Options]\r\nSystemDB=" + dir.path() + "/kelvor.mda\r\n");
  EXPECT_EQ(s.readFilePath(), "/media/usb");
}

TEST(QuestionDb, BundledDatabaseHasBothLanguagesInIdOrder) {
  auto ws = Workspace::standard(std::string(ZV_PROGRAM_DIR) + "/zv.ini");
  EXPECT_EQ(ws.defaultUser(), "KLVTest");
  auto db = ws.OpenDatabase(std::string(ZV_PROGRAM_DIR) + "/ZV.db", true);
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
}

TEST(QuestionDb, EditUpdateStoresAndMissingFileFails) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  fs.copy(std::string(ZV_PROGRAM_DIR) + "/ZV.db", dir.file("ZV.db"));
  auto ws = Workspace::standard(dir.file("zv.ini"));
  {
    auto db = ws.OpenDatabase(dir.file("ZV.db"), false, true);
    auto rs = db.OpenTable("English");
    rs.MoveFirst();
    rs.MoveNext();
    rs.Edit();
    rs.setField("QuestionAudio", "changed");
    rs.Update();
    db.Close();
  }
  auto db = ws.OpenDatabase(dir.file("ZV.db"));
  auto rs = db.OpenTable("English");
  rs.MoveNext();
  EXPECT_EQ(rs.field("QuestionAudio"), "changed");
  EXPECT_THROW(db.SelectAll("NoTable"), ZvError);
  try {
    ws.OpenDatabase(dir.file("missing.db"));
    FAIL();
  } catch (const ZvError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::FileNotFound);
  }
}
