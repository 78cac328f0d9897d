#include <gtest/gtest.h>

#include <cerrno>

#include "report/ReportPrinting.h"
#include "tests/core/TestSupport.h"
#include "ui/Prompter.h"

using namespace zv;

namespace {

// A report as the writer lays it out: CR LF lines, a form-feed line per new page.
std::string reportOfPages(int pages) {
  std::string text = "\r\n                             ZORVEX\r\n       NAME: Jones\r\n";
  for (int p = 2; p <= pages; ++p)
    text += "\f\r\n       NAME: Jones                      -" + std::to_string(p) + "-\r\n\r\n       page " +
            std::to_string(p) + "\r\n";
  return text;
}

}  // namespace

TEST(ReportPrinting, ReadReportFileLeavesOffTheLastCharacter) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  zvtest::writeBytes(dir.file("report.prn"), "line one\r\nline two\r\n");
  EXPECT_EQ(ReadReportFile(fs, dir.file("report.prn")), "line one\r\nline two\r");
  zvtest::writeBytes(dir.file("empty"), "");
  EXPECT_EQ(ReadReportFile(fs, dir.file("empty")), "");
  EXPECT_THROW(ReadReportFile(fs, dir.file("missing.prn")), ZvError);
}

TEST(ReportPrinting, OnePageReportIsOnePiece) {
  const std::string text = reportOfPages(1);
  const auto pages = SplitReportPages(text.substr(0, text.size() - 1));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0], text.substr(0, text.size() - 1));
}

TEST(ReportPrinting, ThreePageReportIsThreePiecesEachStartingAfterItsFormFeed) {
  const std::string text = reportOfPages(3);
  const auto pages = SplitReportPages(text.substr(0, text.size() - 1));
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0], "\r\n                             ZORVEX\r\n       NAME: Jones\r\n");
  EXPECT_EQ(pages[1], "\r\n       NAME: Jones                      -2-\r\n\r\n       page 2\r\n");
  EXPECT_EQ(pages[2], "\r\n       NAME: Jones                      -3-\r\n\r\n       page 3\r");
  for (const auto& p : pages) EXPECT_EQ(p.find('\f'), std::string::npos);
}

TEST(ReportPrinting, FormFeedsAtTheEdgesGiveEmptyPieces) {
  EXPECT_EQ(SplitReportPages(""), (std::vector<std::string>{""}));
  EXPECT_EQ(SplitReportPages("\f"), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(SplitReportPages("a\f\fb"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(ReportPrinting, PageLinesKeepTheEmptyRestOfTheFormFeedLine) {
  EXPECT_EQ(PageLines("\r\n       NAME: Jones\r\n\r\n       page 2\r\n"),
            (std::vector<std::string>{"", "       NAME: Jones", "", "       page 2"}));
  EXPECT_EQ(PageLines("last\r"), (std::vector<std::string>{"last"}));
  EXPECT_EQ(PageLines("a\nb"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(PageLines(""), (std::vector<std::string>{""}));
}

TEST(ReportPrinting, PrintReportFileSendsOnePagePerPieceUnderTheReportsName) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  zvtest::writeBytes(dir.file("report.prn"), reportOfPages(3));
  RecordingPrinter printer;
  PrintReportFile(fs, dir.file("report.prn"), printer, documentNameOf(dir.file("report.prn")));
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].documentName, "report");
  EXPECT_EQ(printer.jobs[0].pages.size(), 3u);
  EXPECT_EQ(documentNameOf("/p/temp3"), "temp3");
  EXPECT_EQ(documentNameOf("C:\\ZV\\REPORT.PRN"), "REPORT");
}

TEST(ReportPrinting, NoPrinterTellsWhereThePdfIsAndAFailureIsReported) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  zvtest::writeBytes(dir.file("report.prn"), reportOfPages(2));
  ScriptedPrompter prompter;
  RecordingPrinter printer;
  printer.pdfFolder = dir.path();
  EXPECT_TRUE(PrintReportWithMessages(fs, dir.file("report.prn"), printer, prompter, "Client Report"));
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].title, "Client Report");
  EXPECT_NE(prompter.asked[0].text.find(dir.file("report.pdf")), std::string::npos);

  printer.failingJobs = {2};
  EXPECT_FALSE(PrintReportWithMessages(fs, dir.file("report.prn"), printer, prompter, "Client Report"));
  ASSERT_EQ(prompter.asked.size(), 2u);
  EXPECT_EQ(prompter.asked[1].text, "The report could not be printed.\rThe printer is out of paper.");
  EXPECT_EQ(prompter.asked[1].icon, Icon::Exclamation);

  // With a printer that takes the pages, nothing is said.
  printer.pdfFolder.clear();
  EXPECT_TRUE(PrintReportWithMessages(fs, dir.file("report.prn"), printer, prompter, "Client Report"));
  EXPECT_EQ(prompter.asked.size(), 2u);
}
