// The supervisor screens with the real report writer on the bundled
// installation's data files.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/qt/Activities.h"
#include "report/ReportPrinting.h"
#include "report/ScoreAndReport.h"
#include "supervisor/qt/frmSupervisorOptions.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;

TEST(SupervisorRealReports, PrintAllWithTheSummaryFromTheMainMenuHookComposesEveryReportThenPrintsEachCopy) {
  zvtest::SupervisorScreens f;
  for (const auto& e : std::filesystem::directory_iterator(ZV_PROGRAM_DIR))
    if (e.path().extension() == ".TXT") std::filesystem::copy_file(e.path(), f.program.file(e.path().filename().string()));
  // The bundled sample clients (their first three).
  const std::string all = zvtest::readBytes(std::string(ZV_PROGRAM_DIR) + "/samples/DATA401.ZV");
  zvtest::writeBytes(f.state.clientFile(), all.substr(0, 3 * 255));
  LoadClientFile(f.fs, f.state.clientFile(), f.state.clients);
  f.state.clients.CurrentRecord = 2;
  zvtest::ModalScript script;
  script.then("frmSupervisorOptions", [](QWidget* w) {
    auto* screen = static_cast<frmSupervisorOptions*>(w);
    screen->optPrintOption(2)->click();
    screen->chkPrintSummaryPage()->click();  // read each time a report is written
    zvtest::choose(screen->menu(), 0);
  });
  script.then("frmMyInputBox", zvtest::accessCode("k"));
  script.run([&] { runSupervisorOptions(f.state, nullptr); });

  EXPECT_TRUE(f.prompter.asked.empty()) << f.prompter.asked.front().text;
  ASSERT_EQ(f.printer.jobs.size(), 3u);
  auto composed = [&](int n, bool summary) {
    ClientTable one = f.state.clients;
    one.CurrentRecord = static_cast<std::int16_t>(n);
    const std::string bytes = ComposeReport(f.fs, one, {f.program.path(), "", summary}).bytes;
    return SplitReportPages(bytes.substr(0, bytes.size() - 1));
  };
  for (int i = 1; i <= 3; ++i) {
    const auto& job = f.printer.jobs[static_cast<std::size_t>(i - 1)];
    EXPECT_EQ(job.documentName, "temp" + std::to_string(i));
    EXPECT_EQ(job.pages, composed(i, true)) << job.documentName;
  }
  // The summary page follows each report; what a batch leaves: SupervisorBatchTest.
  EXPECT_EQ(f.printer.jobs[0].pages.size(), composed(1, false).size() + 1);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
