#include <gtest/gtest.h>

#include "report/qt/frmPrintSelected.h"
#include "tests/gui/SupervisorGuiSupport.h"

using namespace zv;

TEST(PrintSelected, ListsEveryClientInTheMainMenusFormat) {
  zvtest::SupervisorScreens s(3);
  s.state.clients.slot[2].setText(Field::Name, "Jones");
  frmPrintSelected screen(s.state, s.printer, s.composer());
  EXPECT_EQ(screen.windowTitle(), "Print Selected Reports");
  EXPECT_EQ(screen.txtInstructions()->toPlainText(),
            "- Select the client names of the \n  reports you want to print by \n  clicking on them.");
  EXPECT_TRUE(screen.txtInstructions()->isReadOnly());
  EXPECT_EQ(screen.fraClient()->title(), "Client List");
  const char* buttons[] = {"Print Selected", "Select All", "Return to Main Menu"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(screen.menu()->button(i)->text(), buttons[i]);
  zvtest::showActive(&screen);
  QListWidget* list = screen.lbNameDisplay();
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(0)->text(), "1-Client 1                 ");
  EXPECT_EQ(list->item(1)->text(), "2-Jones" + QString(20, ' '));
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(screen.msgPanel()->text(), "Use up or down arrow keys or mouse to select client.");
  EXPECT_EQ(screen.fraClient()->palette().color(QPalette::Window), QColor(0, 255, 255));
  EXPECT_TRUE(screen.fraClient()->font().bold());
  const char* messages[] = {"Print selected client reports", "Select all client reports for printing",
                            "Cancel selections and printing."};
  for (int i = 0; i < 3; ++i) {
    screen.menu()->button(i)->setFocus();
    EXPECT_EQ(screen.msgPanel()->text(), messages[i]) << i;
    EXPECT_FALSE(screen.fraClient()->font().bold());
  }
}

TEST(PrintSelected, Clients2And5OfFiveByKeyboardPrintInListOrder) {
  zvtest::SupervisorScreens s(5);
  frmPrintSelected screen(s.state, s.printer, s.composer());
  zvtest::showActive(&screen);
  QListWidget* list = screen.lbNameDisplay();
  // Focus gives the list a current row, which enables printing; nothing is selected yet.
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_TRUE(screen.menu()->button(0)->isEnabled());
  EXPECT_TRUE(list->selectedItems().isEmpty());
  QTest::keyClick(list, Qt::Key_Down);  // row 1: current
  QTest::keyClick(list, Qt::Key_Space);  // select client 2
  for (int i = 0; i < 3; ++i) QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Space);  // select client 5
  ASSERT_EQ(list->selectedItems().size(), 2);
  QTest::keyClick(list, Qt::Key_Tab);
  ASSERT_TRUE(screen.menu()->button(0)->hasFocus());
  QTest::keyClick(screen.menu()->button(0), Qt::Key_Return);

  EXPECT_EQ(s.composed, (std::vector<int>{2, 5}));
  EXPECT_EQ(zvtest::readBytes(s.dir.file("temp2")), zvtest::fakeReport(5));
  ASSERT_EQ(s.printer.jobs.size(), 2u);
  EXPECT_EQ(s.printer.jobs[0].pages.size(), 2u);
  EXPECT_EQ(s.printer.jobs[1].documentName, "temp2");
  EXPECT_EQ(s.printer.jobs[1].pages.size(), 5u);
  EXPECT_NE(s.printer.jobs[1].pages[0].find("client 5"), std::string::npos);
  EXPECT_EQ(s.state.clients.CurrentRecord, 5);
  EXPECT_EQ(list->currentRow(), 4);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(PrintSelected, SelectAllByKeyboardThenReturnPrintsNothing) {
  zvtest::SupervisorScreens s(3);
  frmPrintSelected screen(s.state, s.printer, s.composer());
  zvtest::showActive(&screen);
  screen.menu()->button(1)->setFocus();
  QTest::keyClick(screen.menu()->button(1), Qt::Key_Return);
  EXPECT_EQ(screen.lbNameDisplay()->selectedItems().size(), 3);
  EXPECT_TRUE(screen.isVisible());
  screen.menu()->button(2)->setFocus();
  QTest::keyClick(screen.menu()->button(2), Qt::Key_Return);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_TRUE(s.printer.jobs.empty());
  EXPECT_TRUE(s.composed.empty());
}

TEST(PrintSelected, NoClientsDisablesPrintingAndPassesTheFocusOn) {
  zvtest::SupervisorScreens s(0);
  frmPrintSelected screen(s.state, s.printer, s.composer());
  zvtest::showActive(&screen);
  EXPECT_EQ(screen.lbNameDisplay()->count(), 0);
  EXPECT_FALSE(screen.menu()->button(0)->isEnabled());
  EXPECT_FALSE(screen.lbNameDisplay()->hasFocus());
  EXPECT_TRUE(screen.menu()->button(1)->hasFocus());
}

TEST(PrintSelected, SelectAllPrintsEveryClientAndOneWhoseReportFailsIsNamed) {
  for (bool failing : {false, true}) {
    SCOPED_TRACE(failing ? "client 1 cannot be reported" : "every report prints");
    zvtest::SupervisorScreens s(3);
    if (failing) s.broken = {1};
    frmPrintSelected screen(s.state, s.printer, s.composer());
    zvtest::showActive(&screen);
    screen.lbNameDisplay()->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    screen.menu()->button(1)->click();
    screen.menu()->button(0)->click();
    EXPECT_EQ(s.composed, (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(s.printer.jobs.size(), failing ? 2u : 3u);
    EXPECT_EQ(s.printer.jobs[0].documentName, "temp1");
    EXPECT_NE(s.printer.jobs[0].pages[0].find(failing ? "client 2" : "client 1"), std::string::npos);
    ASSERT_EQ(s.prompter.asked.size(), failing ? 2u : 0u);
    if (failing) {
      EXPECT_EQ(s.prompter.asked[1].text, "The report of this client was not printed: 1.");
    }
    EXPECT_EQ(s.state.clients.CurrentRecord, 3);
  }
}
