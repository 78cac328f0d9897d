#include <gtest/gtest.h>

#include <QTabBar>

#include "records/Encrypt.h"
#include "report/qt/frmViewReport.h"
#include "supervisor/qt/frmMyInputBox.h"
#include "supervisor/qt/frmSupervisorOptions.h"
#include "tests/gui/SupervisorGuiSupport.h"

using namespace zv;

namespace {

// The options screen with the screens it opens replaced by a note of which one.
class OptionsUnderTest : public frmSupervisorOptions {
 public:
  using frmSupervisorOptions::frmSupervisorOptions;
  std::vector<std::string> opened;

 protected:
  void showReportViewer() override { opened.push_back("viewer"); }
  void showPrintSelected() override { opened.push_back("select"); }
  void showVerify() override { opened.push_back("verify"); }
};

struct Options {
  zvtest::SupervisorScreens s;
  ScriptedInputPrompt input;
  OptionsUnderTest screen;
  explicit Options(int clients) : s(clients), screen(s.state, s.printer, input, s.summaryComposer()) {
    zvtest::showActive(&screen);
  }
  void press(int row) {
    screen.menu()->button(row)->setFocus();
    QTest::keyClick(screen.menu()->button(row), Qt::Key_Return);
    QApplication::processEvents();
  }
};

}  // namespace

TEST(SupervisorOptions, CaptionsTabsOptionsAndRows) {
  Options o(2);
  o.s.state.clients.CurrentRecord = 1;
  EXPECT_EQ(o.screen.windowTitle(), "Supervisor Options");
  QTabWidget* tabs = o.screen.sstSupervisorOperations();
  ASSERT_EQ(tabs->count(), 3);
  const QStringList tabTexts = {"&Reports", "&Verify Data", "&Delete Names"};
  const QStringList options = {"Print above current client's report", "Select and print multiple clients' reports",
                               "Print all clients' reports"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(tabs->tabText(i), tabTexts[i]) << i;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(o.screen.optPrintOption(i)->text(), options[i]) << i;
  EXPECT_TRUE(o.screen.optPrintOption(0)->isChecked());
  EXPECT_EQ(o.screen.chkPrintSummaryPage()->text(), "One page summary report");
  EXPECT_FALSE(o.screen.chkPrintSummaryPage()->isChecked());
  EXPECT_EQ(o.screen.menu()->button(0)->text(), "Execute Selection");
  EXPECT_EQ(o.screen.menu()->button(1)->text(), "Go to Main Menu");
  EXPECT_EQ(o.screen.lblNameDisplay()->text(), "Client 1                 ");
  EXPECT_TRUE(o.screen.menu()->button(0)->hasFocus());
  EXPECT_EQ(o.screen.msgPanel()->text(), "Perform the selected operation.");
  o.screen.menu()->button(1)->setFocus();
  EXPECT_EQ(o.screen.msgPanel()->text(), "Close the utilities window returning to the Main Menu.");
}

TEST(SupervisorOptions, NoClientsGivesTheEmptyDiskNoticeAndExecuteNamesTheOperation) {
  zvtest::SupervisorScreens s(0);
  ScriptedInputPrompt input;
  OptionsUnderTest screen(s.state, s.printer, input, s.summaryComposer());
  EXPECT_EQ(screen.lblNameDisplay()->text(), "No Clients");
  zvtest::showActive(&screen);
  EXPECT_TRUE(zvtest::waitFor([&] { return screen.finished(); }));
  ASSERT_EQ(s.prompter.asked.size(), 1u);
  EXPECT_EQ(s.prompter.asked[0].text, "There are no clients on this data disk.\rReturning to main menu.");
  EXPECT_EQ(s.prompter.asked[0].title, "Empty Data Disk");
  EXPECT_EQ(s.prompter.asked[0].icon, Icon::Information);
  EXPECT_FALSE(screen.isVisible());
  // Execute on any tab names the operation it cannot perform.
  const char* titles[3] = {"Print Report", "Verify Data", "Delete Names"};
  for (int tab = 0; tab < 3; ++tab) {
    zvtest::SupervisorScreens e(0);
    ScriptedInputPrompt noInput;
    OptionsUnderTest idle(e.state, e.printer, noInput, e.summaryComposer());
    idle.sstSupervisorOperations()->setCurrentIndex(tab);
    idle.menu()->button(0)->click();
    ASSERT_EQ(e.prompter.asked.size(), 1u);
    EXPECT_EQ(e.prompter.asked[0].text, "Database empty.\rCannot perform this function.");
    EXPECT_EQ(e.prompter.asked[0].title, titles[tab]);
    EXPECT_TRUE(noInput.requests.empty());
    EXPECT_TRUE(idle.finished());
  }
}

TEST(SupervisorOptions, ExecuteOpensTheChosenScreenAndGoToMainMenuDoesNothing) {
  const struct { int clients, tab, row; const char* code; std::vector<std::string> opened; } cases[] = {
      {2, 0, 0, "k", {"viewer"}},  // the access code in lower case opens the viewer
      {1, 1, 0, nullptr, {"verify"}},  // verification needs no code
      {2, 0, 1, nullptr, {}}};  // Go to Main Menu
  for (const auto& c : cases) {
    SCOPED_TRACE(c.opened.empty() ? "main menu" : c.opened[0]);
    Options o(c.clients);
    o.screen.sstSupervisorOperations()->setCurrentIndex(c.tab);
    if (c.code) o.input.type(c.code);
    o.press(c.row);
    ASSERT_EQ(o.input.requests.size(), c.code ? 1u : 0u);
    for (const auto& r : o.input.requests) EXPECT_EQ(r.caption, "Enter Secret Code");
    EXPECT_EQ(o.screen.opened, c.opened);
    EXPECT_TRUE(o.s.prompter.asked.empty());
    EXPECT_TRUE(o.screen.finished());
  }
}

TEST(SupervisorOptions, CancellingTheCodeOnTheReportsTabClosesWithoutPrinting) {
  for (bool wrongFirst : {false, true}) {
    SCOPED_TRACE(wrongFirst ? "wrong code, then cancel" : "cancel at once");
    Options o(3);
    o.screen.optPrintOption(2)->click();
    if (wrongFirst) o.input.type("x");
    o.input.cancel();
    o.press(0);
    EXPECT_EQ(o.input.requests.size(), wrongFirst ? 2u : 1u);
    ASSERT_EQ(o.s.prompter.asked.size(), wrongFirst ? 1u : 0u);
    for (const auto& a : o.s.prompter.asked) {
      EXPECT_EQ(a.text, "Incorrect password.  Please try again.");
      EXPECT_EQ(a.title, "Incorrect Password");
    }
    EXPECT_TRUE(o.screen.opened.empty());
    EXPECT_TRUE(o.s.composed.empty());
    EXPECT_TRUE(o.s.printer.jobs.empty());
    EXPECT_TRUE(o.screen.finished());
    EXPECT_FALSE(o.screen.isVisible());
    EXPECT_FALSE(std::filesystem::exists(o.s.dir.file("temp1")));
  }
}

TEST(SupervisorOptions, SwitchingTabsRestoresTheNameAndTheChosenOption) {
  Options o(2);
  o.s.state.clients.CurrentRecord = 2;
  o.screen.optPrintOption(1)->click();
  EXPECT_EQ(o.screen.selectedPrintOption(), 1);
  QTabWidget* tabs = o.screen.sstSupervisorOperations();
  tabs->setCurrentIndex(1);
  EXPECT_EQ(o.screen.msgPanel()->text(), "Click Execute to perform data verification.");
  EXPECT_EQ(o.screen.lblNameDisplay()->text(), "Client 2                 ");
  tabs->setCurrentIndex(2);
  EXPECT_EQ(o.screen.msgPanel()->text(), "Click Execute to perform delete names operation.");
  EXPECT_EQ(o.screen.lblNameDisplay()->text(), "All Clients");
  EXPECT_TRUE(o.screen.panel2()->property("highlighted").toBool());
  EXPECT_EQ(o.screen.panel2()->palette().color(QPalette::Window), QColor(0, 255, 255));
  tabs->setCurrentIndex(0);
  EXPECT_EQ(o.screen.msgPanel()->text(), "");
  EXPECT_EQ(o.screen.lblNameDisplay()->text(), "Client 2                 ");
  EXPECT_TRUE(o.screen.optPrintOption(1)->isChecked());
  EXPECT_EQ(o.screen.selectedPrintOption(), 1);
  // A menu button taking the focus puts panel 2 back to blue.
  o.screen.menu()->button(1)->setFocus();
  EXPECT_EQ(o.screen.panel2()->palette().color(QPalette::Window), QColor(0, 0, 255));
}

TEST(SupervisorOptions, TabShortcutsAndFocusStylesByKeyboard) {
  Options o(2);
  QTest::keyClick(&o.screen, Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(o.screen.sstSupervisorOperations()->currentIndex(), 2);
  QTest::keyClick(&o.screen, Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(o.screen.sstSupervisorOperations()->currentIndex(), 0);
  o.screen.optPrintOption(0)->setFocus();
  EXPECT_TRUE(o.screen.optPrintOption(0)->font().bold());
  EXPECT_EQ(o.screen.msgPanel()->text(), "Use the arrow keys or mouse to choose print operation.");
  QTest::keyClick(o.screen.optPrintOption(0), Qt::Key_Down);
  EXPECT_TRUE(o.screen.optPrintOption(1)->hasFocus());
  EXPECT_TRUE(o.screen.optPrintOption(1)->isChecked());
  EXPECT_FALSE(o.screen.optPrintOption(0)->font().bold());
  EXPECT_EQ(o.screen.selectedPrintOption(), 1);
  QTest::keyClick(o.screen.optPrintOption(1), Qt::Key_Tab);
  EXPECT_TRUE(o.screen.chkPrintSummaryPage()->hasFocus());
  EXPECT_TRUE(o.screen.chkPrintSummaryPage()->font().bold());
  QTest::keyClick(o.screen.chkPrintSummaryPage(), Qt::Key_Space);
  EXPECT_TRUE(o.screen.PrintSummary());
  QTest::keyClick(o.screen.chkPrintSummaryPage(), Qt::Key_Tab);
  EXPECT_TRUE(o.screen.menu()->button(0)->hasFocus());
  o.input.type("K");
  QTest::keyClick(o.screen.menu()->button(0), Qt::Key_Return);
  EXPECT_EQ(o.screen.opened, (std::vector<std::string>{"select"}));

  // Entered backwards with Shift+Tab, the arrow keys still select what they move to.
  Options b(2);
  b.screen.menu()->button(0)->setFocus();
  QTest::keyClick(b.screen.menu()->button(0), Qt::Key_Backtab);
  QTest::keyClick(b.screen.chkPrintSummaryPage(), Qt::Key_Backtab);
  QWidget* entered = QApplication::focusWidget();
  ASSERT_TRUE(entered == b.screen.optPrintOption(1) || entered == b.screen.optPrintOption(2));
  QTest::keyClick(entered, Qt::Key_Up);
  const int k = entered == b.screen.optPrintOption(2) ? 1 : 0;
  EXPECT_TRUE(b.screen.optPrintOption(k)->hasFocus());
  EXPECT_TRUE(b.screen.optPrintOption(k)->isChecked());
  EXPECT_EQ(b.screen.selectedPrintOption(), k);
  b.input.type("K");
  b.screen.menu()->button(0)->setFocus();
  QTest::keyClick(b.screen.menu()->button(0), Qt::Key_Return);
  EXPECT_EQ(b.screen.opened, (std::vector<std::string>{k == 1 ? "select" : "viewer"}));
}

TEST(SupervisorOptions, PrintAllWithThreeClientsLeavesTemp1To3AndCurrentRecordOne) {
  Options o(3);
  o.s.state.clients.CurrentRecord = 3;
  o.screen.optPrintOption(2)->click();
  o.screen.chkPrintSummaryPage()->click();
  o.input.type("K");
  o.press(0);
  EXPECT_EQ(o.s.composed, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(o.s.summaries, (std::vector<bool>{true, true, true}));
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(zvtest::readBytes(o.s.dir.file("temp" + std::to_string(i))), zvtest::fakeReport(i, true));
  ASSERT_EQ(o.s.printer.jobs.size(), 3u);
  EXPECT_EQ(o.s.printer.jobs[2].documentName, "temp3");
  EXPECT_EQ(o.s.printer.jobs[2].pages.size(), 4u);  // three pages and the summary
  EXPECT_EQ(o.s.state.clients.CurrentRecord, 1);
  EXPECT_TRUE(o.screen.finished());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(SupervisorOptions, PrintAllGoesOnPastAReportThatCannotBeProduced) {
  Options o(3);
  o.s.broken = {2};
  o.screen.optPrintOption(2)->click();
  o.input.type("K");
  o.press(0);
  ASSERT_EQ(o.s.printer.jobs.size(), 2u);
  ASSERT_EQ(o.s.prompter.asked.size(), 2u);
  EXPECT_NE(o.s.prompter.asked[0].text.find("ZVRPT.TXT:7:"), std::string::npos);
  EXPECT_EQ(o.s.prompter.asked[1].text, "The report of this client was not printed: 2.");
  EXPECT_TRUE(o.screen.finished());
}

TEST(SupervisorOptions, DeleteNamesTabScramblesAndCloses) {
  Options o(2);
  o.s.state.Refresh = false;
  o.screen.sstSupervisorOperations()->setCurrentIndex(2);
  o.press(0);
  ASSERT_EQ(o.s.prompter.asked.size(), 2u);
  EXPECT_EQ(o.s.prompter.asked[0].title, "WARNING!");
  std::string name = "Client 1                 ";
  Encrypt(name, false);
  EXPECT_EQ(o.s.recordOnDisk(1).substr(0, 25), name);
  EXPECT_TRUE(o.s.state.Refresh);
  EXPECT_TRUE(o.screen.finished());
}

TEST(SupervisorMyInputBox, SecretEntryShowsAsterisksAndALaterPlainPromptShowsText) {
  ScriptedPrompter prompter;
  QtInputPrompt input(prompter, nullptr);
  bool secretShown = false;
  zvtest::whenModal<frmMyInputBox>([&](frmMyInputBox* box) {
    EXPECT_EQ(box->windowTitle(), "Enter Secret Code");
    EXPECT_EQ(box->lblHelpMsg()->text(),
              "Enter the secret code to continue.  For security, asterisks (*) will show as you type.");
    EXPECT_EQ(box->txtInput()->maxLength(), 8);
    secretShown = box->txtInput()->echoMode() == QLineEdit::Password;
    QTest::keyClicks(box->txtInput(), "k");
    EXPECT_EQ(box->txtInput()->displayText(), "*");
    QTest::keyClick(box->txtInput(), Qt::Key_Return);
    EXPECT_TRUE(box->menu()->button(0)->hasFocus());
    QTest::keyClick(box->menu()->button(0), Qt::Key_Return);
  });
  EXPECT_TRUE(AskAccessCode(input, prompter));
  EXPECT_TRUE(secretShown);

  bool plain = false;
  QString typed;
  zvtest::whenModal<frmMyInputBox>([&](frmMyInputBox* box) {
    plain = box->txtInput()->echoMode() == QLineEdit::Normal;
    QTest::keyClicks(box->txtInput(), "Jones, Alan and more than twenty-five");
    typed = box->txtInput()->displayText();
    QTest::keyClick(box->txtInput(), Qt::Key_Return);
    QTest::keyClick(box->menu()->button(0), Qt::Key_Return);
  });
  InputRequest name;
  name.caption = "Client Name Input";
  name.inputLength = 25;
  name.helpMessage = "Enter the name of client.";
  const InputReply reply = input.ask(name);
  EXPECT_TRUE(plain);
  EXPECT_EQ(typed, "Jones, Alan and more than");
  EXPECT_FALSE(reply.cancelled);
  EXPECT_EQ(reply.value, "Jones, Alan and more than");
}

TEST(SupervisorMyInputBox, EmptyEntryIsRefusedAndCancelInputSetsCancelled) {
  ScriptedPrompter prompter;
  frmMyInputBox box(prompter);
  EXPECT_FALSE(box.Cancelled());
  EXPECT_EQ(box.menu()->button(0)->text(), "Information OK");
  EXPECT_EQ(box.menu()->button(1)->text(), "Cancel Input");
  zvtest::showActive(&box);
  box.menu()->button(0)->setFocus();
  QTest::keyClick(box.menu()->button(0), Qt::Key_Return);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].text, "Please enter the required data.");
  EXPECT_EQ(prompter.asked[0].title, "Input required");
  EXPECT_EQ(prompter.asked[0].icon, Icon::Question);
  EXPECT_TRUE(box.txtInput()->hasFocus());
  EXPECT_TRUE(box.isVisible());
  box.menu()->button(1)->setFocus();
  QTest::keyClick(box.menu()->button(1), Qt::Key_Return);
  EXPECT_TRUE(box.Cancelled());
  EXPECT_FALSE(box.isVisible());
}

TEST(SupervisorMyInputBox, WrongCodeOnScreenThenCancel) {
  ScriptedPrompter prompter;
  int shown = 0;
  std::function<void(frmMyInputBox*)> second = [&](frmMyInputBox* box) {
    ++shown;
    box->menu()->button(1)->setFocus();
    QTest::keyClick(box->menu()->button(1), Qt::Key_Return);
  };
  zvtest::whenModal<frmMyInputBox>([&](frmMyInputBox* box) {
    ++shown;
    QTest::keyClicks(box->txtInput(), "xyz");
    QTest::keyClick(box->txtInput(), Qt::Key_Return);
    zvtest::whenModal<frmMyInputBox>(second);
    QTest::keyClick(box->menu()->button(0), Qt::Key_Return);
  });
  EXPECT_FALSE(AskAccessCode(prompter, nullptr));
  EXPECT_EQ(shown, 2);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].text, "Incorrect password.  Please try again.");
}
