#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/Settings.h"
#include "app/SystemState.h"
#include "app/qt/SingleInstance.h"
#include "app/qt/frmMainMenu.h"
#include "tests/core/TestSupport.h"
#include "ui/qt/ScreenKit.h"
#include "ui/qt/frmAbout.h"

using namespace zv;

namespace {

const QColor kCyan(0, 255, 255), kBlue(0, 0, 255), kBlack(0, 0, 0), kWhite(255, 255, 255);

std::string clientBytes(const std::vector<std::string>& rawNames) {
  std::string bytes;
  for (const auto& n : rawNames) {
    ClientRecord r;
    r.setRaw(Field::Name, n);
    r.setRaw(Field::Responses, std::string(162, '0'));
    bytes += r.bytes();
  }
  return bytes;
}

std::vector<std::string> numbered(int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) names.push_back("Client" + std::to_string(i));
  return names;
}

struct MenuRig {
  zvtest::TempDir program;
  RealFileSystem real;
  FaultyFileSystem fs{real};
  ScriptedPrompter prompter;
  SystemState state{fs, prompter, program.path()};
  frmMainMenu menu{state};
  std::vector<std::string> calls;
  int ended = 0;
  std::function<void()> inEdit, inAdd, inSupervisor;
  std::vector<std::string> drives;

  explicit MenuRig(const std::vector<std::string>& rawNames = {}) {
    real.makeDirectories(program.file("data"));
    if (!rawNames.empty()) zvtest::writeBytes(program.file("data/DATA401.ZV"), clientBytes(rawNames));
    auto& h = menu.hooks();
    auto hook = [this](const char* name, std::function<void()>& during) {
      return [this, name, &during](SystemState&, QWidget*) {
        calls.push_back(name);
        if (during) during();
      };
    };
    h.editCurrentClient = hook("edit", inEdit);
    h.addNewClient = hook("add", inAdd);
    h.supervisorOptions = hook("supervisor", inSupervisor);
    h.askDrive = [this](const std::string&) {
      if (drives.empty()) throw std::logic_error("drive dialog not expected");
      const std::string d = drives.front();
      drives.erase(drives.begin());
      return d;
    };
    h.endProgram = [this] { ++ended; };
    h.splashTiming = frmAbout::noWaits();
  }

  bool load() {
    const bool ok = menu.Form_Load();
    if (ok) {
      QApplication::setActiveWindow(&menu);
      menu.activation();
      QApplication::processEvents();
    }
    return ok;
  }
  QListWidget* list() { return menu.lbNameDisplay(); }
  QPushButton* cmd(int i) { return menu.cmdMenuChoice(i); }
  void focus(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }
  // The client list frame's colours and caption weight, which follow the focus.
  void expectClientFrame(const QColor& back, const QColor& caption, bool bold) {
    EXPECT_EQ(menu.fraClient()->palette().color(QPalette::Window), back);
    EXPECT_EQ(menu.fraClientCaption()->palette().color(QPalette::WindowText), caption);
    EXPECT_EQ(menu.fraClientCaption()->font().bold(), bold);
  }
  QString help() { return menu.msgPanel()->text(); }
};

}  // namespace

TEST(MainMenuLayout, CaptionsMenuBarButtonsAndAbout) {
  MenuRig rig;
  ASSERT_TRUE(rig.load());
  EXPECT_EQ(rig.menu.windowTitle(), "Zorvex");
  EXPECT_EQ(rig.menu.fraClientCaption()->text(), "Client List");
  const char* captions[] = {"Edit Current Client", "Add New Client", "Supervisor Options", "Exit Application"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rig.cmd(i)->text(), captions[i]);
    EXPECT_EQ(rig.cmd(i)->parentWidget(), rig.menu.sspMenuChoice(i));
    EXPECT_TRUE(rig.menu.frMainMenu()->isAncestorOf(rig.cmd(i)));
  }
  const auto bar = rig.menu.menuBar()->actions();
  ASSERT_EQ(bar.size(), 3);
  EXPECT_EQ(bar[0], rig.menu.mnuExit());
  EXPECT_EQ(bar[0]->text(), "E&xit!");
  EXPECT_EQ(bar[0]->menu(), nullptr) << "a command on the menu bar itself";
  EXPECT_EQ(bar[1]->menu(), rig.menu.mnuAudio());
  EXPECT_EQ(rig.menu.mnuAudio()->title(), "&Options");
  const auto options = rig.menu.mnuAudio()->actions();
  ASSERT_EQ(options.size(), 4);
  EXPECT_EQ(options[0]->text(), "&Change Drive");
  EXPECT_EQ(options[1]->text(), "&Num Lock Always On");
  EXPECT_EQ(options[2]->text(), "&Print Answer Sheet");
  EXPECT_EQ(options[3]->text(), QString::fromUtf8("&Scanner\u2026"));
  EXPECT_EQ(bar[2], rig.menu.mnuHelpAbout());
  EXPECT_EQ(bar[2]->text(), "&About...");
  // The frame with the commands sits centred, 500 twips above the middle.
  const QWidget* form = rig.menu.centralWidget();
  const QFrame* frame = rig.menu.frMainMenu();
  EXPECT_EQ(frame->x(), (form->width() - frame->width()) / 2);
  EXPECT_EQ(frame->y(), std::max(0, form->height() / 2 - (frame->height() + twips(1000)) / 2));
  // About... shows the about box.
  QString title, panel;
  bool okVisible = false;
  QTimer::singleShot(0, [&] {
    auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
    ASSERT_NE(about, nullptr);
    title = about->windowTitle();
    panel = about->pnl1()->text();
    okVisible = about->cmdOK()->isVisible();
    EXPECT_FALSE(about->Splash());
    QTest::keyClick(about->cmdOK(), Qt::Key_Return);
  });
  rig.menu.mnuHelpAbout()->trigger();
  EXPECT_EQ(title, "About ZV");
  EXPECT_EQ(panel, "Zorvex v4.01");
  EXPECT_TRUE(okVisible);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(MainMenuList, EntriesShowNumberHyphenAndTheStoredNameWithPadding) {
  std::vector<std::string> names = numbered(12);
  names[2] = "Jones";
  names[11] = "Smith";
  names[3] = "M\xFC" "ller";  // stored Windows-1252 names are shown as text
  names[4] = "Pe\xF1" "a \x80";
  MenuRig rig(names);
  ASSERT_TRUE(rig.load());
  ASSERT_EQ(rig.list()->count(), 12);
  EXPECT_EQ(rig.list()->item(2)->text(), "3-Jones" + QString(20, ' '));
  EXPECT_EQ(rig.list()->item(11)->text(), "12-Smith" + QString(20, ' '));
  EXPECT_EQ(rig.list()->item(0)->text(), "1-Client1" + QString(18, ' '));
  EXPECT_EQ(rig.list()->item(3)->text(), QString::fromUtf8("4-Müller") + QString(19, ' '));
  EXPECT_EQ(rig.list()->item(4)->text(), QString::fromUtf8("5-Peña €") + QString(19, ' '));

  rig.list()->scrollToItem(rig.list()->item(11));
  QTest::mouseClick(rig.list()->viewport(), Qt::LeftButton, {},
                    rig.list()->visualItemRect(rig.list()->item(11)).center());
  EXPECT_EQ(rig.state.clients.CurrentRecord, 12);
  EXPECT_TRUE(rig.cmd(0)->isEnabled());
}

TEST(MainMenuList, ArrowKeysPickClientsAndDriveTheEditButton) {
  MenuRig rig(numbered(3));
  ASSERT_TRUE(rig.load());
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
  rig.focus(rig.list());
  ASSERT_TRUE(rig.list()->hasFocus());
  EXPECT_FALSE(rig.cmd(0)->isEnabled()) << "nothing picked yet";
  QTest::keyClick(rig.list(), Qt::Key_Down);
  EXPECT_EQ(rig.list()->currentRow(), 0) << "the first arrow key picks the first client";
  EXPECT_EQ(rig.state.clients.CurrentRecord, 1);
  EXPECT_TRUE(rig.cmd(0)->isEnabled());
  QTest::keyClick(rig.list(), Qt::Key_Down);
  QTest::keyClick(rig.list(), Qt::Key_Down);
  EXPECT_EQ(rig.state.clients.CurrentRecord, 3);
  QTest::keyClick(rig.list(), Qt::Key_Up);
  EXPECT_EQ(rig.state.clients.CurrentRecord, 2);

  // A key press re-evaluates the rule even when the selection did not signal.
  rig.list()->blockSignals(true);
  rig.list()->clearSelection();
  rig.list()->blockSignals(false);
  EXPECT_TRUE(rig.cmd(0)->isEnabled());
  QTest::keyClick(rig.list(), Qt::Key_Shift);
  EXPECT_FALSE(rig.cmd(0)->isEnabled());

  // So does getting the focus.
  rig.focus(rig.cmd(1));
  rig.list()->blockSignals(true);
  rig.list()->item(1)->setSelected(true);
  rig.list()->blockSignals(false);
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
  rig.focus(rig.list());
  EXPECT_TRUE(rig.cmd(0)->isEnabled());

  // Every activation disables it until a client is picked again.
  rig.menu.activation();
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
}

TEST(MainMenuList, FocusColoursAndHelpTexts) {
  MenuRig rig(numbered(2));
  ASSERT_TRUE(rig.load());
  rig.focus(rig.list());
  rig.expectClientFrame(kCyan, kBlack, true);
  EXPECT_EQ(rig.help(), "Use up or down arrow keys or mouse to select client.");

  rig.focus(rig.cmd(2));
  rig.expectClientFrame(kBlue, kWhite, false);
  EXPECT_EQ(rig.help(), "Print client report, verify data entry or delete client names.");
  EXPECT_TRUE(rig.menu.menuChoices().isHighlighted(2));
  EXPECT_EQ(rig.menu.sspMenuChoice(2)->palette().color(QPalette::Window), kCyan);
  EXPECT_TRUE(rig.cmd(2)->font().bold());
  EXPECT_EQ(rig.menu.menuChoices().focusedChoice(), 2);

  for (const auto& [i, text] : {std::pair{1, "Enter a new client. Test client on computer or enter data from answer sheet."},
                                 std::pair{3, "Quit the program."}}) {
    rig.focus(rig.cmd(i));
    EXPECT_EQ(rig.help(), text);
  }
  rig.list()->setCurrentRow(0);
  rig.focus(rig.cmd(0));
  EXPECT_EQ(rig.help(), "Edit client's information.");
}

TEST(MainMenuCommands, LettersDoNothingEnterActsAndTheListIsRebuiltOnReturn) {
  MenuRig rig(numbered(3));
  ASSERT_TRUE(rig.load());
  bool hiddenDuring = false, refreshDuring = true;
  rig.inSupervisor = [&] {
    hiddenDuring = !rig.menu.frMainMenu()->isVisible();
    refreshDuring = rig.state.Refresh;
  };
  rig.focus(rig.cmd(2));
  QTest::keyClick(rig.cmd(2), Qt::Key_S);
  QTest::keyClick(rig.cmd(2), Qt::Key_X);
  EXPECT_TRUE(rig.calls.empty());
  QTest::keyClick(rig.cmd(2), Qt::Key_Return);
  ASSERT_EQ(rig.calls, std::vector<std::string>{"supervisor"});
  EXPECT_TRUE(hiddenDuring);
  EXPECT_FALSE(refreshDuring);
  EXPECT_TRUE(rig.menu.frMainMenu()->isVisible());
  EXPECT_TRUE(rig.state.Refresh);
  EXPECT_FALSE(rig.cmd(0)->isEnabled());

  // A client stored by the Add chain appears at the end of the list on return.
  rig.inAdd = [&] {
    EXPECT_FALSE(rig.state.clients.EditMode);
    EXPECT_FALSE(rig.state.ScannedAnswers);
    EXPECT_FALSE(rig.state.Refresh);
    EXPECT_FALSE(rig.menu.frMainMenu()->isVisible());
    auto& slot = rig.state.clients.slot[4];
    slot.setRaw(Field::Name, "Newman");
    rig.state.clients.RecordCount = 4;
    rig.menu.activation();  // an activation during the activity leaves the list alone
    EXPECT_EQ(rig.list()->count(), 3);
  };
  rig.state.ScannedAnswers = true;
  rig.focus(rig.cmd(1));
  QTest::keyClick(rig.cmd(1), Qt::Key_Enter);
  EXPECT_EQ(rig.calls.back(), "add");
  ASSERT_EQ(rig.list()->count(), 4);
  EXPECT_EQ(rig.list()->item(3)->text(), "4-Newman" + QString(19, ' '));
  EXPECT_TRUE(rig.cmd(1)->hasFocus()) << "the focus returns to the command";
}

TEST(MainMenuCommands, EditRunsWithItsFlagsAndKeepsOtherScreensWhileItRuns) {
  MenuRig rig(numbered(3));
  ASSERT_TRUE(rig.load());
  QDialog stray;
  rig.inEdit = [&] {
    EXPECT_FALSE(rig.state.Refresh);
    EXPECT_FALSE(rig.menu.unloadOthers());
    EXPECT_FALSE(rig.menu.frMainMenu()->isVisible());
    EXPECT_EQ(rig.state.clients.CurrentRecord, 2);
    stray.show();
    rig.menu.activation();
    EXPECT_TRUE(stray.isVisible()) << "screens of the running chain stay";
    rig.state.clients.slot[2].setRaw(Field::Name, "Renamed");
  };
  rig.focus(rig.list());
  QTest::keyClick(rig.list(), Qt::Key_Down);
  QTest::keyClick(rig.list(), Qt::Key_Down);
  QTest::keyClick(rig.list(), Qt::Key_Tab);
  ASSERT_TRUE(rig.cmd(0)->hasFocus());
  QTest::keyClick(rig.cmd(0), Qt::Key_Return);
  ASSERT_EQ(rig.calls, std::vector<std::string>{"edit"});
  EXPECT_TRUE(rig.menu.unloadOthers());
  EXPECT_TRUE(rig.state.Refresh);
  EXPECT_TRUE(rig.menu.frMainMenu()->isVisible());
  EXPECT_FALSE(stray.isVisible()) << "the activation on return unloads every other screen";
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
  EXPECT_EQ(rig.list()->item(1)->text(), "2-Renamed" + QString(18, ' '));
  EXPECT_TRUE(rig.list()->hasFocus()) << "the disabled Edit button passes the focus to the list";
}

TEST(MainMenuCommands, A52ndClientIsRefusedBeforeAnyScreenOpensAndExitEnds) {
  MenuRig rig(numbered(51));
  ASSERT_TRUE(rig.load());
  ASSERT_EQ(rig.state.clients.RecordCount, 51);
  // The real chain: an entry-method screen would wait for keys, so the test returns only if none opens.
  rig.menu.hooks().addNewClient = nullptr;
  rig.focus(rig.cmd(1));
  QTest::keyClick(rig.cmd(1), Qt::Key_Return);
  ASSERT_EQ(rig.prompter.asked.size(), 1u);
  EXPECT_EQ(rig.prompter.asked[0].text, clientFileFullMessage());
  EXPECT_EQ(rig.prompter.asked[0].buttons, Buttons::Ok);
  EXPECT_TRUE(rig.state.Refresh);
  EXPECT_TRUE(rig.menu.frMainMenu()->isVisible());
  EXPECT_EQ(rig.real.size(rig.program.file("data/DATA401.ZV")), 51 * kRecordSize);

  // Exit from the button (letters do nothing) and from the menu bar.
  rig.focus(rig.cmd(3));
  QTest::keyClick(rig.cmd(3), Qt::Key_Q);
  EXPECT_EQ(rig.ended, 0);
  QTest::keyClick(rig.cmd(3), Qt::Key_Return);
  EXPECT_EQ(rig.ended, 1);
  rig.menu.mnuExit()->trigger();
  EXPECT_EQ(rig.ended, 2);
}

TEST(MainMenuOptions, NumLockTogglesAndTwiceLeavesTrueAndAFailedWriteIsReportedAndKept) {
  MenuRig rig;
  ASSERT_TRUE(rig.load());
  auto* option = rig.menu.mnuOptionsNumLock();
  auto ini = [&] { return zvtest::readBytes(rig.program.file("zv.ini")); };
  EXPECT_TRUE(rig.menu.numLockOption());
  EXPECT_TRUE(option->isChecked());
  option->trigger();
  EXPECT_FALSE(rig.menu.numLockOption());
  EXPECT_FALSE(option->isChecked());
  EXPECT_NE(ini().find("[Settings]\nNumLock=False\n"), std::string::npos);
  option->trigger();
  EXPECT_TRUE(option->isChecked());
  EXPECT_NE(ini().find("[Settings]\nNumLock=True\n"), std::string::npos);
  EXPECT_TRUE(Settings(rig.real, rig.program.path()).readNumLock());
  // A setting that cannot be written is reported and the option kept.
  rig.fs.arm({"replace", "zv.ini", EROFS, 1});
  option->trigger();
  ASSERT_EQ(rig.prompter.asked.size(), 1u);
  EXPECT_EQ(rig.prompter.asked[0].text.rfind("Error 30:", 0), 0u);
  EXPECT_TRUE(rig.menu.numLockOption());
  EXPECT_TRUE(option->isChecked());
  // Off in the settings starts unticked.
  MenuRig off;
  zvtest::writeBytes(off.program.file("zv.ini"), "[Settings]\nNumLock=False\n");
  ASSERT_TRUE(off.load());
  EXPECT_FALSE(off.menu.mnuOptionsNumLock()->isChecked());
  EXPECT_FALSE(off.menu.numLockOption());
}

TEST(MainMenuOptions, ChangeDriveReloadsTheListAndRemembersTheFolderOrEnds) {
  MenuRig rig(numbered(3));
  ASSERT_TRUE(rig.load());
  const std::string usb = rig.program.file("usb");
  rig.real.makeDirectories(usb);
  zvtest::writeBytes(usb + "/DATA401.ZV", clientBytes({"Brown"}));
  rig.drives = {usb};
  rig.menu.changeDrive()->trigger();
  ASSERT_EQ(rig.list()->count(), 1);
  EXPECT_EQ(rig.list()->item(0)->text(), "1-Brown" + QString(20, ' '));
  EXPECT_EQ(rig.state.dataLocation, usb);
  EXPECT_EQ(Settings(rig.real, rig.program.path()).readFilePath(), usb);
  EXPECT_FALSE(rig.cmd(0)->isEnabled());

  const std::string empty = rig.program.file("empty");
  rig.real.makeDirectories(empty);
  rig.drives = {empty};
  rig.menu.changeDrive()->trigger();
  EXPECT_EQ(rig.list()->count(), 0) << "the list mirrors the new, empty client file";
  EXPECT_EQ(rig.state.clients.RecordCount, 0);

  // No to another drive ends the program.
  rig.drives = {rig.program.file("nowhere")};
  rig.prompter.script(Answer::No);
  rig.menu.changeDrive()->trigger();
  EXPECT_EQ(rig.ended, 1);
  ASSERT_EQ(rig.prompter.asked.size(), 1u);
  EXPECT_EQ(rig.prompter.asked[0].buttons, Buttons::YesNo);
}

TEST(MainMenuStartUp, MoreThan51ClientsAreToldAndTheFirst51Listed) {
  MenuRig rig(numbered(53));
  ASSERT_TRUE(rig.load());
  ASSERT_EQ(rig.prompter.asked.size(), 1u);
  EXPECT_EQ(rig.prompter.asked[0].text, tooManyClientsMessage(53));
  EXPECT_EQ(rig.list()->count(), 51);
  EXPECT_EQ(rig.list()->item(50)->text(), "51-Client51" + QString(17, ' '));
}

TEST(MainMenuStartUp, NoToAnotherDriveEndsWithoutTheMainMenu) {
  MenuRig rig(numbered(1));
  zvtest::writeBytes(rig.program.file("zv.ini"), "[Path]\nFilePath=" + rig.program.file("gone") + "\n");
  rig.prompter.script(Answer::No);
  EXPECT_FALSE(rig.load());
  EXPECT_FALSE(rig.menu.isVisible());
  EXPECT_EQ(rig.list()->count(), 0);
}

TEST(MainMenuStartUp, AFreshInstallationStartsOnItsEmptyDefaultFolderWithSettingsWritten) {
  MenuRig rig;
  ASSERT_TRUE(rig.load());
  EXPECT_TRUE(rig.menu.isVisible());
  EXPECT_TRUE(rig.prompter.asked.empty());
  EXPECT_EQ(rig.state.dataLocation, rig.program.file("data"));
  const std::string ini = zvtest::readBytes(rig.program.file("zv.ini"));
  EXPECT_NE(ini.find("SystemDB=" + rig.program.file("kelvor.mda")), std::string::npos);
  EXPECT_NE(ini.find("FilePath=" + rig.program.file("data")), std::string::npos);
  EXPECT_EQ(rig.state.SectionEnd, (SectionEnds{0, 105, 139, 162}));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the normal pointer is back";
  // An empty client file moves the focus to Add New Client.
  EXPECT_EQ(rig.list()->count(), 0);
  EXPECT_TRUE(rig.cmd(1)->hasFocus());
  rig.focus(rig.cmd(3));
  rig.focus(rig.list());
  EXPECT_TRUE(rig.cmd(1)->hasFocus());
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
  EXPECT_TRUE(rig.menu.menuChoices().isHighlighted(1));
  EXPECT_EQ(rig.menu.fraClient()->palette().color(QPalette::Window), kBlue);
  EXPECT_EQ(rig.help(), "Enter a new client. Test client on computer or enter data from answer sheet.");
}

TEST(MainMenuStartUp, ASecondCopyBringsTheMinimizedMainMenuForward) {
  MenuRig rig(numbered(1));
  ASSERT_TRUE(rig.load());
  const QString name = QString("zorvex-test-%1-forward").arg(QCoreApplication::applicationPid());
  SingleInstance running(name);
  ASSERT_TRUE(running.claim());
  QObject::connect(&running, &SingleInstance::activationRequested, &rig.menu, &frmMainMenu::bringToFront);
  rig.menu.showMinimized();
  QApplication::processEvents();
  ASSERT_TRUE(rig.menu.isMinimized());
  QSignalSpy forward(&running, &SingleInstance::activationRequested);
  SingleInstance second(name);
  EXPECT_FALSE(second.claim());
  EXPECT_TRUE(forward.count() == 1 || forward.wait(2000));
  EXPECT_FALSE(rig.menu.isMinimized());
  EXPECT_TRUE(rig.menu.isVisible());
}
