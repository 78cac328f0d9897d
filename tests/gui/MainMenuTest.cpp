// The main menu. Start-up's steps and settings: DataLocationTest; the client
// slot: ClientFileTest.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

#include "app/Settings.h"
#include "app/qt/SingleInstance.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;

namespace {

const QColor kCyan(0, 255, 255), kBlue(0, 0, 255), kBlack(0, 0, 0), kWhite(255, 255, 255);

struct Menu : zvtest::MenuRig {
  using MenuRig::MenuRig;
  // Enter on command i, after the keys in `first`.
  void run(int i, std::initializer_list<Qt::Key> first = {}) {
    zvtest::focusOn(cmd(i));
    for (Qt::Key k : first) QTest::keyClick(cmd(i), k);
    QTest::keyClick(cmd(i), Qt::Key_Return);
  }
  // The client list frame's colours and caption weight, which follow the focus.
  void expectClientFrame(const QColor& back, const QColor& caption, bool bold) {
    EXPECT_EQ(menu.fraClient()->palette().color(QPalette::Window), back);
    EXPECT_EQ(menu.fraClientCaption()->palette().color(QPalette::WindowText), caption);
    EXPECT_EQ(menu.fraClientCaption()->font().bold(), bold);
  }
  // Whether the frame with the commands is shown, and Refresh.
  QString help() { return menu.msgPanel()->text(); }
  std::vector<bool> shownAndRefresh() { return {menu.frMainMenu()->isVisible(), state.Refresh}; }
};

QString testServerName(const char* what) {
  return QString("zorvex-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(what);
}

}  // namespace

TEST(MainMenuLayout, AFreshInstallationShowsTheMenuOnItsEmptyDefaultFolderWithCaptionsMenuBarButtonsAndAbout) {
  Menu rig;
  EXPECT_TRUE(rig.menu.isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the normal pointer is back";
  // An empty client file moves the focus to Add New Client.
  EXPECT_EQ(rig.list()->count(), 0);
  EXPECT_TRUE(rig.cmd(1)->hasFocus());
  zvtest::focusOn(rig.cmd(3));
  zvtest::focusOn(rig.list());
  EXPECT_TRUE(rig.cmd(1)->hasFocus());
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
  EXPECT_EQ(rig.menu.fraClient()->palette().color(QPalette::Window), kBlue);
  EXPECT_EQ(rig.help(), "Enter a new client. Test client on computer or enter data from answer sheet.");
  EXPECT_EQ(rig.menu.windowTitle(), "Zorvex");
  EXPECT_EQ(rig.menu.fraClientCaption()->text(), "Client List");
  EXPECT_EQ(zvtest::captions(&rig.menu.menuChoices()),
            (QStringList{"Edit Current Client", "Add New Client", "Supervisor Options", "Exit Application"}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rig.cmd(i)->parentWidget(), rig.menu.sspMenuChoice(i));
    EXPECT_TRUE(rig.menu.frMainMenu()->isAncestorOf(rig.cmd(i)));
  }
  // The menu bar: Exit a command on the bar itself, Options a menu, About...
  EXPECT_EQ(rig.menu.menuBar()->actions(),
            (QList<QAction*>{rig.menu.mnuExit(), rig.menu.mnuAudio()->menuAction(), rig.menu.mnuHelpAbout()}));
  QStringList bar;
  for (QAction* a : rig.menu.menuBar()->actions()) {
    bar << a->text() + (a->menu() ? ":" : "");
    for (QAction* o : a->menu() ? a->menu()->actions() : QList<QAction*>{}) bar << "  " + o->text();
  }
  EXPECT_EQ(bar, (QStringList{"E&xit!", "&Options:", "  &Change Drive", "  &Num Lock Always On",
                              "  &Print Answer Sheet", QString::fromUtf8("  &Scanner\u2026"), "&About..."}));
  // The frame with the commands sits centred, 500 twips above the middle.
  const QWidget* form = rig.menu.centralWidget();
  const QFrame* frame = rig.menu.frMainMenu();
  EXPECT_EQ(frame->pos(), QPoint((form->width() - frame->width()) / 2,
                                 std::max(0, form->height() / 2 - (frame->height() + twips(1000)) / 2)));
  // About... shows the about box, not the splash (its contents: AboutBox).
  zvtest::ModalScript script;
  script.then("frmAbout", [](QWidget* w) {
    EXPECT_FALSE(static_cast<frmAbout*>(w)->Splash());
    QTest::keyClick(static_cast<frmAbout*>(w)->cmdOK(), Qt::Key_Return);
  });
  script.run([&] { rig.menu.mnuHelpAbout()->trigger(); });
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(MainMenuList, EntriesShowNumberHyphenAndTheStoredNameOfTheFirst51) {
  std::vector<std::string> names = zvtest::clientNames(53);
  names[3] = "M\xFC" "ller";  // stored Windows-1252 names are shown as text
  names[4] = "Pe\xF1" "a \x80";
  Menu rig(names);  // the message on the clients beyond 51: DataLocationTest
  ASSERT_EQ(rig.list()->count(), 51);
  QStringList shown;
  for (int i : {0, 3, 4, 11, 50}) shown << rig.list()->item(i)->text();
  EXPECT_EQ(shown, (QStringList{"1-Client 1" + QString(17, ' '), QString::fromUtf8("4-Müller") + QString(19, ' '),
                                QString::fromUtf8("5-Peña €") + QString(19, ' '), "12-Client 12" + QString(16, ' '),
                                "51-Client 51" + QString(16, ' ')}));
  rig.list()->scrollToItem(rig.list()->item(11));
  QTest::mouseClick(rig.list()->viewport(), Qt::LeftButton, {}, rig.list()->visualItemRect(rig.list()->item(11)).center());
  EXPECT_EQ(rig.state.clients.CurrentRecord, 12);
  EXPECT_TRUE(rig.cmd(0)->isEnabled());
}

TEST(MainMenuList, ArrowKeysPickClientsAndDriveTheEditButtonFocusSetsColoursAndHelpTexts) {
  Menu rig(zvtest::clientNames(3));
  zvtest::focusOn(rig.list());
  ASSERT_TRUE(rig.list()->hasFocus());
  EXPECT_FALSE(rig.cmd(0)->isEnabled()) << "nothing picked yet";
  std::vector<int> picked;
  for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
    QTest::keyClick(rig.list(), k);
    picked.push_back(rig.state.clients.CurrentRecord);
  }
  EXPECT_EQ(picked, (std::vector<int>{1, 2, 3, 2})) << "the first arrow key picks the first client";

  // A key press re-evaluates the rule even when the selection did not signal.
  rig.list()->blockSignals(true);
  rig.list()->clearSelection();
  rig.list()->blockSignals(false);
  EXPECT_TRUE(rig.cmd(0)->isEnabled()) << "picking enabled it";
  QTest::keyClick(rig.list(), Qt::Key_Shift);
  EXPECT_FALSE(rig.cmd(0)->isEnabled());

  // So does getting the focus.
  zvtest::focusOn(rig.cmd(1));
  rig.list()->blockSignals(true);
  rig.list()->item(1)->setSelected(true);
  rig.list()->blockSignals(false);
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
  zvtest::focusOn(rig.list());
  EXPECT_TRUE(rig.cmd(0)->isEnabled());

  // The client frame's colours and the help texts follow the focus.
  rig.expectClientFrame(kCyan, kBlack, true);
  EXPECT_EQ(rig.help(), "Use up or down arrow keys or mouse to select client.");
  EXPECT_EQ(zvtest::helps(&rig.menu.menuChoices(), rig.menu.msgPanel()),
            (QStringList{"Edit client's information.",
                         "Enter a new client. Test client on computer or enter data from answer sheet.",
                         "Print client report, verify data entry or delete client names.", "Quit the program."}));
  zvtest::focusOn(rig.cmd(2));  // the row's own highlight: ScreenKit
  rig.expectClientFrame(kBlue, kWhite, false);
  EXPECT_EQ(rig.menu.menuChoices().focusedChoice(), 2);

  // Every activation disables it until a client is picked again.
  rig.menu.activation();
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
}

TEST(MainMenuCommands, LettersDoNothingEnterActsAndTheListIsRebuiltOnReturn) {
  Menu rig(zvtest::clientNames(3));
  std::vector<bool> during;
  rig.inSupervisor = [&] { during = rig.shownAndRefresh(); };
  rig.run(2, {Qt::Key_S, Qt::Key_X});
  ASSERT_EQ(rig.calls, std::vector<std::string>{"supervisor"});
  EXPECT_EQ(during, (std::vector<bool>{false, false}));
  EXPECT_EQ(rig.shownAndRefresh(), (std::vector<bool>{true, true}));

  // A client stored by the Add chain appears at the end of the list on return.
  rig.inAdd = [&] {
    EXPECT_EQ((std::pair{rig.state.clients.EditMode, rig.state.ScannedAnswers}), std::pair(false, false));
    EXPECT_EQ(rig.shownAndRefresh(), (std::vector<bool>{false, false}));
    rig.state.clients.slot[4].setRaw(Field::Name, "Newman");
    rig.state.clients.RecordCount = 4;
    rig.menu.activation();  // an activation during the activity leaves the list alone
    EXPECT_EQ(rig.list()->count(), 3);
  };
  rig.state.ScannedAnswers = true;
  zvtest::focusOn(rig.cmd(1));
  QTest::keyClick(rig.cmd(1), Qt::Key_Enter);
  EXPECT_EQ(rig.calls.back(), "add");
  ASSERT_EQ(rig.list()->count(), 4);
  EXPECT_EQ(rig.list()->item(3)->text(), "4-Newman" + QString(19, ' '));
  EXPECT_TRUE(rig.cmd(1)->hasFocus()) << "the focus returns to the command";
}

TEST(MainMenuCommands, EditRunsWithItsFlagsAndKeepsOtherScreensWhileItRuns) {
  Menu rig(zvtest::clientNames(3));
  QDialog stray;
  rig.inEdit = [&] {
    EXPECT_EQ(rig.shownAndRefresh(), (std::vector<bool>{false, false}));
    EXPECT_FALSE(rig.menu.unloadOthers());
    EXPECT_EQ(rig.state.clients.CurrentRecord, 2);
    stray.show();
    rig.menu.activation();
    EXPECT_TRUE(stray.isVisible()) << "screens of the running chain stay";
    rig.state.clients.slot[2].setRaw(Field::Name, "Renamed");
  };
  zvtest::focusOn(rig.list());
  for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Tab}) QTest::keyClick(QApplication::focusWidget(), k);
  ASSERT_TRUE(rig.cmd(0)->hasFocus());
  QTest::keyClick(rig.cmd(0), Qt::Key_Return);
  ASSERT_EQ(rig.calls, std::vector<std::string>{"edit"});
  EXPECT_TRUE(rig.menu.unloadOthers());
  EXPECT_EQ(rig.shownAndRefresh(), (std::vector<bool>{true, true}));
  EXPECT_FALSE(stray.isVisible()) << "the activation on return unloads every other screen";
  EXPECT_EQ(rig.list()->item(1)->text(), "2-Renamed" + QString(18, ' '));
  EXPECT_TRUE(rig.list()->hasFocus()) << "the disabled Edit button passes the focus to the list";
}

TEST(MainMenuCommands, A52ndClientIsRefusedBeforeAnyScreenOpensAndExitEnds) {
  Menu rig(zvtest::clientNames(51));
  // The real chain: an entry-method screen would wait for keys, so the test returns only if none opens.
  rig.menu.hooks().addNewClient = nullptr;
  rig.run(1);
  EXPECT_EQ(rig.prompter.asked, (zvtest::AskedList{{clientFileFullMessage(), kAppTitle, Buttons::Ok, Icon::Exclamation}}));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(rig.shownAndRefresh(), (std::vector<bool>{true, true}));

  // Exit from the button (a letter does nothing) and from the menu bar.
  rig.run(3, {Qt::Key_Q});
  EXPECT_EQ(rig.ended, 1);
  rig.menu.mnuExit()->trigger();
  EXPECT_EQ(rig.ended, 2);
}

TEST(MainMenuOptions, NumLockTogglesIsStoredAndAFailedWriteIsReportedAndKept) {
  Menu rig;
  auto* option = rig.menu.mnuOptionsNumLock();
  auto stored = [&] { return Settings(rig.real, rig.program.path()).readNumLock(); };
  std::vector<bool> seen{rig.menu.numLockOption(), option->isChecked()};
  for (int i = 0; i < 2; ++i) {
    option->trigger();
    seen.insert(seen.end(), {rig.menu.numLockOption(), option->isChecked(), stored()});
  }
  EXPECT_EQ(seen, (std::vector<bool>{true, true, false, false, false, true, true, true}));
  // A setting that cannot be written is reported and the option kept.
  rig.fs.arm({"replace", "zv.ini", EROFS, 1});
  option->trigger();
  ASSERT_EQ(rig.prompter.asked.size(), 1u);
  EXPECT_EQ(rig.prompter.asked[0].text.rfind("Error 30:", 0), 0u);
  EXPECT_EQ((std::pair{rig.menu.numLockOption(), option->isChecked()}), (std::pair{true, true}));
  // Off in the settings starts unticked.
  Menu off({}, false);
  zvtest::writeBytes(off.program.file("zv.ini"), "[Settings]\nNumLock=False\n");
  ASSERT_TRUE(off.load());
  EXPECT_EQ((std::pair{off.menu.numLockOption(), off.menu.mnuOptionsNumLock()->isChecked()}), std::pair(false, false));
}

TEST(MainMenuOptions, ChangeDriveReloadsTheListOrEndsAsNoToAnotherDriveAtStartUpDoes) {
  Menu rig(zvtest::clientNames(3));
  const std::string usb = rig.program.file("usb"), empty = rig.program.file("empty");
  for (const std::string& d : {usb, empty}) rig.real.makeDirectories(d);
  zvtest::writeBytes(usb + "/DATA401.ZV", zvtest::TestClient{"Brown"}.record().bytes());
  rig.drives = {usb};
  rig.menu.changeDrive()->trigger();
  ASSERT_EQ(rig.list()->count(), 1);
  EXPECT_EQ(rig.list()->item(0)->text(), "1-Brown" + QString(20, ' '));
  EXPECT_EQ(rig.state.dataLocation, usb);
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
  rig.drives = {empty};
  rig.menu.changeDrive()->trigger();
  EXPECT_EQ(rig.list()->count(), 0) << "the list mirrors the new, empty client file";
  // No to another drive ends the program.
  rig.drives = {rig.program.file("nowhere")};
  rig.prompter.script(Answer::No);
  rig.menu.changeDrive()->trigger();
  EXPECT_EQ(rig.ended, 1);
  EXPECT_EQ(rig.prompter.asked.size(), 1u);

  // At start-up, No to another drive shows no menu.
  Menu gone(zvtest::clientNames(1), false);
  zvtest::writeBytes(gone.program.file("zv.ini"), "[Path]\nFilePath=" + gone.program.file("gone") + "\n");
  gone.prompter.script(Answer::No);
  // Not loaded, not shown, nothing listed.
  EXPECT_EQ((std::vector<bool>{gone.load(), gone.menu.isVisible(), gone.list()->count() > 0}),
            std::vector<bool>(3, false));
}

TEST(MainMenuStartUp, EveryFurtherCopyIsRefusedAndBringsTheMinimizedMainMenuForward) {
  Menu rig(zvtest::clientNames(1));
  const QString name = testServerName("forward");
  SingleInstance running(name);
  ASSERT_TRUE(running.claim());
  QObject::connect(&running, &SingleInstance::activationRequested, &rig.menu, &frmMainMenu::bringToFront);
  QSignalSpy forward(&running, &SingleInstance::activationRequested);
  for (int copy = 1; copy <= 2; ++copy) {
    rig.menu.showMinimized();
    QApplication::processEvents();
    ASSERT_TRUE(rig.menu.isMinimized());
    SingleInstance next(name);
    EXPECT_EQ((std::pair{next.claim(), next.listening()}), std::pair(false, false));
    EXPECT_TRUE(forward.count() == copy || forward.wait(2000));
    EXPECT_EQ(forward.count(), copy);
    EXPECT_EQ((std::pair{rig.menu.isMinimized(), rig.menu.isVisible()}), std::pair(false, true));
  }
}

TEST(SingleInstance, ACopyThatEndedOrCrashedDoesNotBlockTheStart) {
  const QString name = testServerName("after");
  {
    SingleInstance first(name);
    ASSERT_TRUE(first.claim());
  }
  SingleInstance next(name);
  EXPECT_EQ((std::pair{next.claim(), next.listening()}), std::pair(true, true));

  // A socket file left by a crashed copy.
  const QString stale = testServerName("stale");
  ASSERT_TRUE(QFile(QDir::tempPath() + "/" + stale).open(QIODevice::WriteOnly));
  SingleInstance first(stale);
  EXPECT_EQ((std::pair{first.claim(), first.listening()}), std::pair(true, true));
  EXPECT_FALSE(SingleInstance(stale).claim());
  // The name the program uses is its own per user.
  EXPECT_TRUE(SingleInstance::defaultServerName().startsWith("zorvex-"));
  EXPECT_GT(SingleInstance::defaultServerName().size(), QString("zorvex-").size());
}
