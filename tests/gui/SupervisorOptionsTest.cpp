// The supervisor options screen and the input box. The access code loop:
// SupervisorBatchTest, as are batches; Delete Names: DeleteNamesTest; print
// all with the summary page: SupervisorRealReportsTest.
#include <gtest/gtest.h>

#include "supervisor/qt/frmMyInputBox.h"
#include "supervisor/qt/frmSupervisorOptions.h"
#include "tests/gui/ClientInfoTestSupport.h"

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

struct Options : zvtest::SupervisorScreens {
  ScriptedInputPrompt input;
  OptionsUnderTest screen;
  explicit Options(int clients, bool show = true)
      : SupervisorScreens(clients), screen(state, printer, input, summaryComposer()) {
    if (show) zvtest::showActive(&screen);
  }
};

}  // namespace

TEST(SupervisorOptions, CaptionsTabsOptionsAndRowsAndSwitchingTabsRestoresTheNameAndTheChosenOption) {
  Options o(2);
  EXPECT_EQ(o.screen.windowTitle(), "Supervisor Options");
  QTabWidget* tabs = o.screen.sstSupervisorOperations();
  EXPECT_EQ((QStringList{tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)}),
            (QStringList{"&Reports", "&Verify Data", "&Delete Names"}));
  EXPECT_EQ(tabs->count(), 3);
  EXPECT_EQ((QStringList{o.screen.optPrintOption(0)->text(), o.screen.optPrintOption(1)->text(),
                         o.screen.optPrintOption(2)->text(), o.screen.chkPrintSummaryPage()->text()}),
            (QStringList{"Print above current client's report", "Select and print multiple clients' reports",
                         "Print all clients' reports", "One page summary report"}));
  EXPECT_TRUE(o.screen.optPrintOption(0)->isChecked());
  EXPECT_FALSE(o.screen.chkPrintSummaryPage()->isChecked());
  EXPECT_EQ(o.screen.lblNameDisplay()->text(), "Client 1                 ");
  EXPECT_TRUE(o.screen.menu()->button(0)->hasFocus());
  EXPECT_EQ(zvtest::captions(o.screen.menu()), (QStringList{"Execute Selection", "Go to Main Menu"}));
  EXPECT_EQ(zvtest::helps(o.screen.menu(), o.screen.msgPanel()),
            (QStringList{"Perform the selected operation.", "Close the utilities window returning to the Main Menu."}));
  // Switching tabs restores the name and the chosen option.
  o.state.clients.CurrentRecord = 2;
  o.screen.optPrintOption(1)->click();
  EXPECT_EQ(o.screen.selectedPrintOption(), 1);
  auto shown = [&](int tab) {
    tabs->setCurrentIndex(tab);
    return QStringList{o.screen.msgPanel()->text(), o.screen.lblNameDisplay()->text()};
  };
  EXPECT_EQ(shown(1), (QStringList{"Click Execute to perform data verification.", "Client 2                 "}));
  EXPECT_EQ(shown(2), (QStringList{"Click Execute to perform delete names operation.", "All Clients"}));
  EXPECT_EQ(o.screen.panel2()->palette().color(QPalette::Window), QColor(0, 255, 255));
  EXPECT_EQ(shown(0), (QStringList{"", "Client 2                 "}));
  EXPECT_TRUE(o.screen.optPrintOption(1)->isChecked());
  // A menu button taking the focus puts panel 2 back to blue.
  o.screen.menu()->button(0)->setFocus();  // from button 1, where the help texts left it
  EXPECT_EQ(o.screen.panel2()->palette().color(QPalette::Window), QColor(0, 0, 255));
}

TEST(SupervisorOptions, NoClientsGivesTheEmptyDiskNoticeAndExecuteNamesTheOperation) {
  Options o(0, false);
  EXPECT_EQ(o.screen.lblNameDisplay()->text(), "No Clients");
  zvtest::showActive(&o.screen);
  EXPECT_TRUE(zvtest::waitFor([&] { return o.screen.finished(); }));
  EXPECT_EQ(o.prompter.asked, (zvtest::AskedList{{"There are no clients on this data disk.\rReturning to main menu.",
                                                  "Empty Data Disk", Buttons::Ok, Icon::Information}}));
  EXPECT_FALSE(o.screen.isVisible());
  // Execute on any tab names the operation it cannot perform.
  const char* titles[3] = {"Print Report", "Verify Data", "Delete Names"};
  for (int tab = 0; tab < 3; ++tab) {
    Options idle(0, false);
    idle.screen.sstSupervisorOperations()->setCurrentIndex(tab);
    idle.screen.menu()->button(0)->click();
    EXPECT_EQ(idle.prompter.asked, (zvtest::AskedList{{"Database empty.\rCannot perform this function.", titles[tab],
                                                       Buttons::Ok, Icon::Information}}));
    EXPECT_EQ((std::pair{idle.input.requests.empty(), idle.screen.finished()}), std::pair(true, true));
  }
}

TEST(SupervisorOptions, ExecuteOpensTheChosenScreenCancellingTheCodeOrGoToMainMenuDoesNothing) {
  const struct { const char* what; int clients, tab, option, row; std::vector<const char*> codes;  // nullptr: Cancel
                 std::vector<std::string> opened; } cases[] = {
      {"the code in lower case opens the viewer", 2, 0, 0, 0, {"k"}, {"viewer"}},
      {"the choice of clients to print", 2, 0, 1, 0, {"K"}, {"select"}},
      {"verification needs no code", 1, 1, 0, 0, {}, {"verify"}},
      {"Go to Main Menu", 2, 0, 0, 1, {}, {}},
      {"print all, the code cancelled", 3, 0, 2, 0, {nullptr}, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Options o(c.clients);
    o.screen.sstSupervisorOperations()->setCurrentIndex(c.tab);
    o.screen.optPrintOption(c.option)->click();
    for (const char* code : c.codes) code ? o.input.type(code) : o.input.cancel();
    zvtest::choose(o.screen.menu(), c.row);
    EXPECT_EQ(o.input.requests.size(), c.codes.size());
    EXPECT_EQ(o.screen.opened, c.opened);
    // Nothing asked (a wrong code asked again: SupervisorBatchTest), composed or printed; the screen closed.
    EXPECT_EQ((std::vector<bool>{o.prompter.asked.empty(), o.composed.empty(), o.printer.jobs.empty(),
                                 o.screen.finished(), o.screen.isVisible()}),
              (std::vector<bool>{true, true, true, true, false}));
  }
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
  EXPECT_EQ(zvtest::focusAfter(Qt::Key_Down), o.screen.optPrintOption(1));
  EXPECT_TRUE(o.screen.optPrintOption(1)->isChecked());
  EXPECT_FALSE(o.screen.optPrintOption(0)->font().bold());
  EXPECT_EQ(o.screen.selectedPrintOption(), 1);
  EXPECT_EQ(zvtest::focusAfter(Qt::Key_Tab), o.screen.chkPrintSummaryPage());
  EXPECT_TRUE(o.screen.chkPrintSummaryPage()->font().bold());
  QTest::keyClick(o.screen.chkPrintSummaryPage(), Qt::Key_Space);
  EXPECT_TRUE(o.screen.PrintSummary());
  EXPECT_EQ(zvtest::focusAfter(Qt::Key_Tab), o.screen.menu()->button(0));

  // Entered backwards with Shift+Tab, the arrow keys still select what they move to.
  Options b(2);
  b.screen.menu()->button(0)->setFocus();
  zvtest::press(Qt::Key_Backtab);
  QWidget* entered = zvtest::focusAfter(Qt::Key_Backtab);
  ASSERT_TRUE(entered == b.screen.optPrintOption(1) || entered == b.screen.optPrintOption(2));
  const int k = entered == b.screen.optPrintOption(2) ? 1 : 0;
  EXPECT_EQ(zvtest::focusAfter(Qt::Key_Up), b.screen.optPrintOption(k));
  EXPECT_TRUE(b.screen.optPrintOption(k)->isChecked());
  EXPECT_EQ(b.screen.selectedPrintOption(), k);  // the option Execute runs
}

TEST(SupervisorOptions, DeleteNamesTabScramblesAndCloses) {
  Options o(2);
  const std::string before = o.recordOnDisk(1);
  o.state.Refresh = false;
  o.screen.sstSupervisorOperations()->setCurrentIndex(2);
  zvtest::choose(o.screen.menu(), 0);  // its warning and messages: DeleteNamesTest
  EXPECT_NE(o.recordOnDisk(1), before);
  EXPECT_EQ((std::pair{o.state.Refresh, o.screen.finished()}), std::pair(true, true));
}

// Each box is asked once, so a Cancel Input that stopped reporting fails at once (asking again
// after a wrong code: SupervisorBatchTest; the entry-method screen's loop: PresentQAScreen).
TEST(SupervisorMyInputBox, SecretEntryShowsAsterisksEmptyIsRefusedCancelIsReportedAndAPlainPromptShowsText) {
  ScriptedPrompter prompter;
  QtInputPrompt input(prompter, nullptr);
  zvtest::ModalScript script;
  script.then("frmMyInputBox", [](QWidget* w) {
    auto* box = static_cast<frmMyInputBox*>(w);
    EXPECT_EQ(box->windowTitle(), "Enter Secret Code");
    EXPECT_EQ(box->lblHelpMsg()->text(),
              "Enter the secret code to continue.  For security, asterisks (*) will show as you type.");
    EXPECT_EQ(box->txtInput()->maxLength(), 8);
    QTest::keyClicks(box->txtInput(), "xyz");
    EXPECT_EQ(box->txtInput()->displayText(), "***");
    EXPECT_EQ(zvtest::focusAfter(Qt::Key_Return), box->menu()->button(0));
    QTest::keyClick(box->menu()->button(0), Qt::Key_Return);
  });
  // An empty entry is refused in the box; Cancel Input ends it.
  script.then("frmMyInputBox", [&prompter](QWidget* w) {
    auto* box = static_cast<frmMyInputBox*>(w);
    EXPECT_EQ(zvtest::captions(box->menu()), (QStringList{"Information OK", "Cancel Input"}));
    zvtest::choose(box->menu(), 0);
    EXPECT_EQ(prompter.asked,
              (zvtest::AskedList{{"Please enter the required data.", "Input required", Buttons::Ok, Icon::Question}}));
    EXPECT_TRUE(box->txtInput()->hasFocus());
    EXPECT_TRUE(box->isVisible());
    zvtest::choose(box->menu(), 1);
  });
  script.then("frmMyInputBox", [](QWidget* w) {  // a plain prompt keeps the first 25 characters
    auto* box = static_cast<frmMyInputBox*>(w);
    QTest::keyClicks(box->txtInput(), "Jones, Alan and more than twenty-five");
    QTest::keyClick(box->txtInput(), Qt::Key_Return);
    QTest::keyClick(box->menu()->button(0), Qt::Key_Return);
  });
  using Reply = std::pair<bool, std::string>;  // cancelled, value
  std::vector<Reply> replies;
  script.run([&] {
    for (const InputRequest& r : {accessCodeRequest(), accessCodeRequest(),
                                  InputRequest{"Client Name Input", 25, "Enter the name of client.", false}}) {
      const InputReply reply = input.ask(r);
      replies.emplace_back(reply.cancelled, reply.value);
    }
  });
  EXPECT_EQ(replies, (std::vector<Reply>{{false, "xyz"}, {true, ""}, {false, "Jones, Alan and more than"}}));
}
