#include <gtest/gtest.h>

#include <QFontInfo>
#include <QScrollBar>

#include "report/qt/frmViewReport.h"
#include "tests/gui/SupervisorGuiSupport.h"

using namespace zv;

namespace {

// A report long enough to scroll: client n's pages padded to 40 lines each.
std::string longReport() {
  std::string text;
  for (int p = 1; p <= 3; ++p) {
    if (p > 1) text += "\f\r\n";
    for (int l = 1; l <= 40; ++l) text += "       page " + std::to_string(p) + " line " + std::to_string(l) + "\r\n";
  }
  return text;
}

}  // namespace

TEST(ViewReport, ActivationWritesTheCurrentClientsReportAndShowsIt) {
  zvtest::SupervisorScreens s(3);
  s.state.clients.CurrentRecord = 2;
  frmViewReport view(s.state, s.printer, s.composer());
  EXPECT_EQ(view.windowTitle(), "Client Report");
  EXPECT_EQ(view.cmdPrintReport()->text(), "&Print Report");
  EXPECT_EQ(view.cmdCancel()->text(), "&Close");
  zvtest::showActive(&view);
  EXPECT_EQ(s.composed, (std::vector<int>{2}));
  EXPECT_TRUE(view.loaded());
  EXPECT_TRUE(view.Text1()->isReadOnly());
  EXPECT_EQ(view.Text1()->toPlainText().toStdString(),
            "\n       NAME: client 2\n       line two\n\n       page 2 of client 2\n");
  const QString family = QFontInfo(view.Text1()->font()).family();
  EXPECT_TRUE(family == "Courier New" || family == "Liberation Mono") << family.toStdString();
  EXPECT_TRUE(QFontInfo(view.Text1()->font()).fixedPitch());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Shown again: written again.
  view.hide();
  s.state.clients.CurrentRecord = 3;
  zvtest::showActive(&view);
  EXPECT_EQ(s.composed, (std::vector<int>{2, 3}));
  EXPECT_TRUE(view.Text1()->toPlainText().contains("page 3 of client 3"));
}

TEST(ViewReport, PrintReportPrintsOnePagePerFormFeedTellsWhereAPdfGoesAndReportsAFailure) {
  zvtest::SupervisorScreens s(3);
  s.state.clients.CurrentRecord = 3;
  frmViewReport view(s.state, s.printer, s.composer());
  zvtest::showActive(&view);
  ASSERT_TRUE(view.cmdPrintReport()->hasFocus());
  ASSERT_EQ(QApplication::activeWindow(), &view);
  QTest::keyClick(view.cmdPrintReport(), Qt::Key_P, Qt::AltModifier);
  EXPECT_TRUE(zvtest::waitFor([&] { return !s.printer.jobs.empty(); }));
  ASSERT_EQ(s.printer.jobs.size(), 1u);
  EXPECT_EQ(s.printer.jobs[0].documentName, "report");
  ASSERT_EQ(s.printer.jobs[0].pages.size(), 3u);
  EXPECT_EQ(s.printer.jobs[0].pages[1], "\r\n       page 2 of client 3\r\n");
  EXPECT_EQ(s.printer.jobs[0].pages[2], "\r\n       page 3 of client 3\r");
  EXPECT_TRUE(view.cmdPrintReport()->isEnabled());
  EXPECT_TRUE(view.cmdCancel()->isEnabled());
  EXPECT_TRUE(s.prompter.asked.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A one-page report is one piece.
  s.state.clients.CurrentRecord = 1;
  view.hide();
  zvtest::showActive(&view);
  view.cmdPrintReport()->click();
  ASSERT_EQ(s.printer.jobs.size(), 2u);
  EXPECT_EQ(s.printer.jobs[1].pages.size(), 1u);

  // Without a printer the user is told where the PDF is; a failure is reported.
  s.printer.pdfFolder = s.dir.path();
  view.cmdPrintReport()->click();
  ASSERT_EQ(s.prompter.asked.size(), 1u);
  EXPECT_EQ(s.prompter.asked[0].text, "No printer is set up on this computer, so the report was saved as a PDF file:\r" +
                                          s.dir.file("report.pdf"));
  s.printer.failingJobs = {4};
  view.cmdPrintReport()->click();
  ASSERT_EQ(s.prompter.asked.size(), 2u);
  EXPECT_EQ(s.prompter.asked[1].text, "The report could not be printed.\rThe printer is out of paper.");
  EXPECT_TRUE(view.cmdPrintReport()->isEnabled());
}

TEST(ViewReport, AReportThatCannotBeProducedIsReportedAndCannotBePrinted) {
  zvtest::SupervisorScreens s(2);
  s.broken = {1};
  s.state.clients.CurrentRecord = 1;
  frmViewReport view(s.state, s.printer, s.composer());
  zvtest::showActive(&view);
  EXPECT_FALSE(view.loaded());
  ASSERT_EQ(s.prompter.asked.size(), 1u);
  EXPECT_EQ(s.prompter.asked[0].text,
            "The report of client 1 could not be produced.\rZVRPT.TXT:7: the scale line has 3 fields, 5 expected");
  EXPECT_FALSE(view.cmdPrintReport()->isEnabled());
  EXPECT_TRUE(view.Text1()->toPlainText().isEmpty());
  QTest::keyClick(view.cmdCancel(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(zvtest::waitFor([&] { return !view.isVisible(); }));
  EXPECT_FALSE(view.isVisible());
}

TEST(ViewReport, PageKeysOnTheButtonsScrollTheReport) {
  zvtest::SupervisorScreens s(1);
  frmViewReport view(s.state, s.printer, [&](const ClientTable&) { zvtest::writeBytes(s.dir.file("report.prn"), longReport()); });
  view.resize(700, 400);
  zvtest::showActive(&view);
  view.cmdPrintReport()->setFocus();
  QScrollBar* bar = view.Text1()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), 0);
  QTest::keyClick(view.cmdPrintReport(), Qt::Key_PageDown);
  EXPECT_TRUE(view.Text1()->hasFocus());
  EXPECT_GT(bar->value(), 0);
  const int afterPage = bar->value();
  QTest::keyClick(view.Text1(), Qt::Key_Down);
  QTest::keyClick(view.Text1(), Qt::Key_PageDown);
  EXPECT_GT(bar->value(), afterPage);
  view.cmdCancel()->setFocus();
  QTest::keyClick(view.cmdCancel(), Qt::Key_PageUp);
  EXPECT_TRUE(view.Text1()->hasFocus());
  EXPECT_LT(bar->value(), afterPage + 1);
  // Tab leaves the report for the buttons.
  QTest::keyClick(view.Text1(), Qt::Key_Tab);
  EXPECT_FALSE(view.Text1()->hasFocus());
}
