// The supervisor screens with the real report writer on the bundled
// installation's data files.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/qt/Activities.h"
#include <QProcess>

#include "records/Cp1252.h"
#include "report/ReportPrinting.h"
#include "report/ScoreAndReport.h"
#include "report/qt/QtReportPrinter.h"
#include "supervisor/qt/frmMyInputBox.h"
#include "supervisor/qt/frmSupervisorOptions.h"
#include "tests/gui/SupervisorGuiSupport.h"

using namespace zv;

namespace {

struct Installation : zvtest::SupervisorScreens {
  Installation() : SupervisorScreens(0) {
    for (const auto& e : std::filesystem::directory_iterator(ZV_PROGRAM_DIR))
      if (e.path().extension() == ".TXT") std::filesystem::copy_file(e.path(), dir.file(e.path().filename().string()));
    // The bundled sample clients (their first three).
    const std::string all = zvtest::readBytes(std::string(ZV_PROGRAM_DIR) + "/samples/DATA401.ZV");
    zvtest::writeBytes(state.clientFile(), all.substr(0, 3 * 255));
    LoadClientFile(fs, state.clientFile(), state.clients);
  }
  std::vector<std::string> pagesOf(const std::string& file) {
    return SplitReportPages(ReadReportFile(fs, dir.file(file)));
  }
};

}  // namespace

TEST(SupervisorRealReports, PrintAllFromTheMainMenuHookComposesEveryReportThenPrintsEachCopy) {
  Installation f;
  f.state.clients.CurrentRecord = 2;
  zvtest::whenModal<frmSupervisorOptions>([&](frmSupervisorOptions* screen) {
    screen->optPrintOption(2)->click();
    zvtest::whenModal<frmMyInputBox>([](frmMyInputBox* box) {
      QTest::keyClicks(box->txtInput(), "k");
      QTest::keyClick(box->txtInput(), Qt::Key_Return);
      QTest::keyClick(box->menu()->button(0), Qt::Key_Return);
    });
    screen->menu()->button(0)->setFocus();
    QTest::keyClick(screen->menu()->button(0), Qt::Key_Return);
  });
  runSupervisorOptions(f.state, nullptr);

  EXPECT_TRUE(f.prompter.asked.empty()) << f.prompter.asked.front().text;
  ASSERT_EQ(f.printer.jobs.size(), 3u);
  for (int i = 1; i <= 3; ++i) {
    const std::string name = "temp" + std::to_string(i);
    EXPECT_EQ(f.printer.jobs[static_cast<std::size_t>(i - 1)].documentName, name);
    EXPECT_EQ(f.printer.jobs[static_cast<std::size_t>(i - 1)].pages, f.pagesOf(name));
  }
  EXPECT_GT(f.printer.jobs[0].pages.size(), 1u);
  EXPECT_NE(f.printer.jobs[1].pages[0].find(f.state.clients.slot[2].trimmed(Field::Name)), std::string::npos);
  EXPECT_EQ(zvtest::readBytes(f.dir.file("report.prn")), zvtest::readBytes(f.dir.file("temp3")));
  EXPECT_EQ(f.state.clients.CurrentRecord, 1);
}

TEST(SupervisorRealReports, TheSummaryCheckBoxIsReadEachTimeAReportIsWritten) {
  Installation f;
  ScriptedInputPrompt input;
  auto compose = [&](const ClientTable& clients, bool summaryPage) {
    ReportRequest request;
    request.programDir = f.state.programDir;
    request.summaryPage = summaryPage;
    ScoreAndReport(f.state.fs, clients, request);
  };
  frmSupervisorOptions screen(f.state, f.printer, input, compose);
  screen.composer()(f.state.clients);
  const auto plain = f.pagesOf("report.prn");
  screen.chkPrintSummaryPage()->click();
  EXPECT_TRUE(screen.PrintSummary());
  screen.composer()(f.state.clients);
  const auto withSummary = f.pagesOf("report.prn");
  EXPECT_EQ(withSummary.size(), plain.size() + 1);
  EXPECT_NE(withSummary.back().find("ONE-PAGE SUMMARY"), std::string::npos);
  EXPECT_EQ(std::string(plain.front()), std::string(withSummary.front()));
}

TEST(SupervisorRealReports, AClientsReportAsPdfMatchesReportPrnPageForPage) {
  Installation f;
  ReportRequest request;
  request.programDir = f.state.programDir;
  ScoreAndReport(f.state.fs, f.state.clients, request);
  const auto pages = f.pagesOf("report.prn");
  ASSERT_GT(pages.size(), 1u);
  QtReportPrinter::printToPdf(pages, "report", f.dir.file("report.pdf"));
  QProcess info;
  info.start("pdfinfo", {QString::fromStdString(f.dir.file("report.pdf"))});
  ASSERT_TRUE(info.waitForFinished(30000));
  const std::string out = info.readAllStandardOutput().toStdString();
  ASSERT_NE(out.find("Pages:"), std::string::npos);
  EXPECT_EQ(std::stoi(out.substr(out.find("Pages:") + 6)), static_cast<int>(pages.size()));
  for (std::size_t p = 0; p < pages.size(); ++p) {
    QProcess text;
    const QString n = QString::number(p + 1);
    text.start("pdftotext", {"-layout", "-f", n, "-l", n, QString::fromStdString(f.dir.file("report.pdf")), "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    QString expected = QString::fromStdString(cp1252::toUtf8(pages[p])).simplified();
    EXPECT_EQ(printed.toStdString(), expected.toStdString()) << "page " << p + 1;
  }
}
