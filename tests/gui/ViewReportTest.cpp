// The report viewer and the choice of clients to print. Printing's pieces and
// messages: ReportToolTest; what a batch prints and tells: SupervisorBatchTest.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QScrollBar>

#include "report/ReportPrinting.h"
#include "report/qt/frmPrintSelected.h"
#include "report/qt/frmViewReport.h"
#include "tests/gui/GuiSupport.h"

using namespace zv;

namespace {

// Calls `during` at each job, while the viewer prints.
struct WatchedPrinter : RecordingPrinter {
  std::function<void()> during;
  PrintOutcome print(const std::vector<std::string>& pages, const std::string& name) override {
    during();
    return RecordingPrinter::print(pages, name);
  }
};

// The Print Selected Reports screen over this many clients, shown.
struct Selected : zvtest::SupervisorScreens {
  frmPrintSelected screen{state, printer, composer()};
  explicit Selected(int clients) : SupervisorScreens(clients) { zvtest::showActive(&screen); }
};

}  // namespace

TEST(ViewReport, ActivationWritesTheCurrentClientsReportAndShowsItOrSaysItCannot) {
  zvtest::SupervisorScreens s(3);
  s.state.clients.CurrentRecord = 2;
  frmViewReport view(s.state, s.printer, s.composer());
  EXPECT_EQ((QStringList{view.windowTitle(), view.cmdPrintReport()->text(), view.cmdCancel()->text()}),
            (QStringList{"Client Report", "&Print Report", "&Close"}));
  zvtest::showActive(&view);
  EXPECT_EQ(s.composed, (std::vector<int>{2}));
  EXPECT_TRUE(view.Text1()->isReadOnly());
  EXPECT_EQ(view.Text1()->toPlainText().toStdString(),
            "\n       NAME: client 2\n       line two\n\n       page 2 of client 2\n");
  const QString family = QFontInfo(view.Text1()->font()).family();
  EXPECT_TRUE(family == "Courier New" || family == "Liberation Mono") << family.toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Shown again: written again.
  view.hide();
  s.state.clients.CurrentRecord = 3;
  zvtest::showActive(&view);
  EXPECT_EQ(s.composed, (std::vector<int>{2, 3}));
  EXPECT_TRUE(view.Text1()->toPlainText().contains("page 3 of client 3"));

  // A report that cannot be produced is told under the viewer's title (a
  // batch's message: SupervisorBatchTest), is not shown and cannot be printed.
  view.hide();
  s.broken = {1};
  s.state.clients.CurrentRecord = 1;
  zvtest::showActive(&view);
  EXPECT_EQ(s.prompter.asked, (zvtest::AskedList{{"The report of client 1 could not be produced.\rZVRPT.TXT:7: the "
                                                  "scale line has 3 fields, 5 expected",
                                                  "Client Report", Buttons::Ok, Icon::Exclamation}}));
  EXPECT_FALSE(view.cmdPrintReport()->isEnabled());
  EXPECT_TRUE(view.Text1()->toPlainText().isEmpty());
  QTest::keyClick(view.cmdCancel(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(zvtest::waitFor([&] { return !view.isVisible(); }));
}

TEST(ViewReport, PrintReportPrintsOnePagePerFormFeedWithBothButtonsDisabledMeanwhile) {
  zvtest::SupervisorScreens s(3);
  s.state.clients.CurrentRecord = 3;
  WatchedPrinter printer;
  frmViewReport view(s.state, printer, s.composer());
  auto buttons = [&] { return std::vector<bool>{view.cmdPrintReport()->isEnabled(), view.cmdCancel()->isEnabled()}; };
  std::vector<std::vector<bool>> enabled;  // Print Report and Close at each job
  printer.during = [&] { enabled.push_back(buttons()); };
  zvtest::showActive(&view);
  ASSERT_TRUE(view.cmdPrintReport()->hasFocus());
  ASSERT_EQ(QApplication::activeWindow(), &view);
  QTest::keyClick(view.cmdPrintReport(), Qt::Key_P, Qt::AltModifier);
  EXPECT_TRUE(zvtest::waitFor([&] { return !printer.jobs.empty(); }));
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].documentName, "report");
  EXPECT_EQ(printer.jobs[0].pages, SplitReportPages(ReadReportFile(s.fs, s.program.file("report.prn"))));
  EXPECT_EQ(printer.jobs[0].pages.size(), 3u);
  EXPECT_EQ(enabled, (std::vector<std::vector<bool>>{{false, false}}));
  EXPECT_TRUE(s.prompter.asked.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A failure is told under the viewer's title; both buttons work again after either outcome.
  printer.failingJobs = {2};
  for (int job = 2; job <= 3; ++job) {
    EXPECT_EQ(buttons(), (std::vector<bool>{true, true}));
    EXPECT_TRUE(view.cmdPrintReport()->hasFocus());
    view.cmdPrintReport()->click();
  }
  EXPECT_EQ(enabled, (std::vector<std::vector<bool>>(3, {false, false})));
  EXPECT_EQ(s.prompter.asked, (zvtest::AskedList{{"The report could not be printed.\rThe printer is out of paper.",
                                                  "Client Report", Buttons::Ok, Icon::Exclamation}}));
  EXPECT_EQ(buttons(), (std::vector<bool>{true, true}));
}

TEST(ViewReport, PageKeysOnTheButtonsScrollTheReport) {
  zvtest::SupervisorScreens s(1);
  std::string longReport;  // three pages of 40 lines
  for (int l = 1; l <= 120; ++l)
    longReport += (l % 40 == 1 && l > 1 ? "\f\r\n" : "") + std::string(7, ' ') + "line\r\n";
  frmViewReport view(s.state, s.printer, [&](const ClientTable&) { zvtest::writeBytes(s.program.file("report.prn"), longReport); });
  view.resize(700, 400);
  zvtest::showActive(&view);
  view.cmdPrintReport()->setFocus();
  QScrollBar* bar = view.Text1()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(zvtest::focusAfter(Qt::Key_PageDown), view.Text1());
  EXPECT_GT(bar->value(), 0);
  const int afterPage = bar->value();
  for (Qt::Key k : {Qt::Key_Down, Qt::Key_PageDown}) QTest::keyClick(view.Text1(), k);
  EXPECT_GT(bar->value(), afterPage);
  view.cmdCancel()->setFocus();
  EXPECT_EQ(zvtest::focusAfter(Qt::Key_PageUp), view.Text1());
  EXPECT_LT(bar->value(), afterPage + 1);
  EXPECT_NE(zvtest::focusAfter(Qt::Key_Tab), view.Text1()) << "Tab leaves the report for the buttons";
}

// The Print Selected Reports screen: list, keys and focus styles.
TEST(PrintSelected, ListsEveryClientInTheMainMenusFormat) {
  zvtest::SupervisorScreens s(3);
  s.state.clients.slot[2].setText(Field::Name, "Jones");
  frmPrintSelected screen(s.state, s.printer, s.composer());
  EXPECT_EQ((QStringList{screen.windowTitle(), screen.fraClient()->title(), screen.txtInstructions()->toPlainText()}),
            (QStringList{"Print Selected Reports", "Client List",
                         "- Select the client names of the \n  reports you want to print by \n  clicking on them."}));
  EXPECT_TRUE(screen.txtInstructions()->isReadOnly());
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
  EXPECT_FALSE(list->font().bold()) << "only the frame's caption turns bold, never the entries";
  EXPECT_EQ(zvtest::helps(screen.menu(), screen.msgPanel()),
            (QStringList{"Print selected client reports", "Select all client reports for printing",
                         "Cancel selections and printing."}));
  EXPECT_FALSE(screen.fraClient()->font().bold());
}

TEST(PrintSelected, Clients2And5OfFiveByKeyboardPrintInListOrder) {
  Selected s(5);
  QListWidget* list = s.screen.lbNameDisplay();
  // Focus gives the list a current row, which enables printing; nothing is selected yet.
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_TRUE(s.screen.menu()->button(0)->isEnabled());
  EXPECT_TRUE(list->selectedItems().isEmpty());
  // Down makes row 1 current, Space selects client 2; three rows on, client 5.
  for (Qt::Key k : {Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Space})
    QTest::keyClick(list, k);
  ASSERT_EQ(zvtest::focusAfter(Qt::Key_Tab), s.screen.menu()->button(0));
  QTest::keyClick(s.screen.menu()->button(0), Qt::Key_Return);
  EXPECT_EQ(s.composed, (std::vector<int>{2, 5}));  // what the batch prints and leaves: SupervisorBatchTest
  EXPECT_EQ(list->currentRow(), 4);
  EXPECT_FALSE(s.screen.isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(PrintSelected, SelectAllThenPrintPrintsEveryClientAndThenReturnPrintsNothing) {
  for (int last : {0, 2}) {
    Selected s(3);
    zvtest::choose(s.screen.menu(), 1);
    EXPECT_EQ(s.screen.lbNameDisplay()->selectedItems().size(), 3);
    EXPECT_TRUE(s.screen.isVisible());
    zvtest::choose(s.screen.menu(), last);
    EXPECT_FALSE(s.screen.isVisible());
    EXPECT_EQ(s.composed, (last == 0 ? std::vector<int>{1, 2, 3} : std::vector<int>{}));
  }
}

TEST(PrintSelected, NoClientsDisablesPrintingAndPassesTheFocusOn) {
  Selected s(0);
  EXPECT_EQ(s.screen.lbNameDisplay()->count(), 0);
  EXPECT_FALSE(s.screen.menu()->button(0)->isEnabled());
  EXPECT_EQ(zvtest::focused(), s.screen.menu()->button(1));
}
