// The Print Selected Reports screen: list, keys and focus styles. What a
// batch prints and tells: SupervisorBatchTest.
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
  EXPECT_EQ(zvtest::captions(screen.menu()), (QStringList{"Print Selected", "Select All", "Return to Main Menu"}));
  zvtest::showActive(&screen);
  QListWidget* list = screen.lbNameDisplay();
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(0)->text(), "1-Client 1                 ");
  EXPECT_EQ(list->item(1)->text(), "2-Jones" + QString(20, ' '));
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(screen.msgPanel()->text(), "Use up or down arrow keys or mouse to select client.");
  EXPECT_EQ(screen.fraClient()->palette().color(QPalette::Window), QColor(0, 255, 255));
  EXPECT_TRUE(screen.fraClient()->font().bold());
  EXPECT_EQ(zvtest::helps(screen.menu(), screen.msgPanel()),
            (QStringList{"Print selected client reports", "Select all client reports for printing",
                         "Cancel selections and printing."}));
  EXPECT_FALSE(screen.fraClient()->font().bold());
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
  QTest::keyClick(list, Qt::Key_Down);   // row 1: current
  QTest::keyClick(list, Qt::Key_Space);  // select client 2
  for (int i = 0; i < 3; ++i) QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Space);  // select client 5
  QTest::keyClick(list, Qt::Key_Tab);
  ASSERT_TRUE(screen.menu()->button(0)->hasFocus());
  QTest::keyClick(screen.menu()->button(0), Qt::Key_Return);
  EXPECT_EQ(s.composed, (std::vector<int>{2, 5}));
  EXPECT_EQ(s.printer.jobs.size(), 2u);
  EXPECT_EQ(s.state.clients.CurrentRecord, 5);
  EXPECT_EQ(list->currentRow(), 4);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(PrintSelected, SelectAllThenPrintPrintsEveryClientAndThenReturnPrintsNothing) {
  for (int last : {0, 2}) {
    zvtest::SupervisorScreens s(3);
    frmPrintSelected screen(s.state, s.printer, s.composer());
    zvtest::showActive(&screen);
    zvtest::choose(screen.menu(), 1);
    EXPECT_EQ(screen.lbNameDisplay()->selectedItems().size(), 3);
    EXPECT_TRUE(screen.isVisible());
    zvtest::choose(screen.menu(), last);
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(s.composed, (last == 0 ? std::vector<int>{1, 2, 3} : std::vector<int>{}));
    EXPECT_EQ(s.printer.jobs.size(), last == 0 ? 3u : 0u);
  }
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
