#include <gtest/gtest.h>

#include <cerrno>

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
