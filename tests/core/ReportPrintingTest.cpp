#include <gtest/gtest.h>

#include "report/ReportPrinting.h"
#include "tests/core/TestSupport.h"

using namespace zv;
using zvtest::Texts;

TEST(ReportPrinting, ReadReportFileLeavesOffTheLastCharacter) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  zvtest::writeBytes(dir.file("report.prn"), "line one\r\nline two\r\n");
  EXPECT_EQ(ReadReportFile(fs, dir.file("report.prn")), "line one\r\nline two\r");
  zvtest::writeBytes(dir.file("empty"), "");
  EXPECT_EQ(ReadReportFile(fs, dir.file("empty")), "");
  EXPECT_THROW(ReadReportFile(fs, dir.file("missing.prn")), ZvError);
}

// A report as the writer lays it out, its last character left off: CR LF
// lines, a form-feed line per new page. Each piece starts after its form feed.
TEST(ReportPrinting, OnePiecePerFormFeedAndTheLinesOfAPiece) {
  const std::pair<std::string, Texts> splits[] = {
      {"\r\n       NAME: Jones\r", {"\r\n       NAME: Jones\r"}},
      {"\r\n       NAME: Jones\r\n\f\r\n       NAME: Jones   -2-\r\n\r\n       page 2\r\n\f\r\n       page 3\r",
       {"\r\n       NAME: Jones\r\n", "\r\n       NAME: Jones   -2-\r\n\r\n       page 2\r\n", "\r\n       page 3\r"}},
      {"", {""}},
      {"\f", {"", ""}},
      {"a\f\fb", {"a", "", "b"}}};
  for (const auto& [text, pieces] : splits) EXPECT_EQ(SplitReportPages(text), pieces) << text;
  // The empty rest of the form-feed line stays the first line.
  EXPECT_EQ(PageLines("\r\n       NAME: Jones\r\n\r\n       page 2\r\n"), (Texts{"", "       NAME: Jones", "", "       page 2"}));
  EXPECT_EQ(PageLines("last\r"), (Texts{"last"}));
  EXPECT_EQ(PageLines("a\nb"), (Texts{"a", "b"}));
  EXPECT_EQ(PageLines(""), (Texts{""}));
}

TEST(ReportPrinting, PrintingUnderTheReportsNameTellsWhereAPdfIsAndReportsAFailure) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  const std::string report = dir.file("report.prn");
  zvtest::writeBytes(report, "\r\n       NAME: Jones\r\n\f\r\n       page 2\r\n\f\r\n       page 3\r\n");
  ScriptedPrompter prompter;
  RecordingPrinter printer;
  PrintReportFile(fs, report, printer, documentNameOf(report));
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].documentName, "report");
  EXPECT_EQ(printer.jobs[0].pages, SplitReportPages(ReadReportFile(fs, report)));
  EXPECT_EQ(documentNameOf("/p/temp3"), "temp3");
  EXPECT_EQ(documentNameOf("C:\\ZV\\REPORT.PRN"), "REPORT");

  // With a printer that takes the pages, nothing is said.
  EXPECT_TRUE(PrintReportWithMessages(fs, report, printer, prompter, "Client Report"));
  EXPECT_TRUE(prompter.asked.empty());
  printer.pdfFolder = dir.path();
  EXPECT_TRUE(PrintReportWithMessages(fs, report, printer, prompter, "Client Report"));
  printer.failingJobs = {4};
  EXPECT_FALSE(PrintReportWithMessages(fs, report, printer, prompter, "Client Report"));
  EXPECT_EQ(prompter.asked,
            (zvtest::AskedList{
                {"No printer is set up on this computer, so the report was saved as a PDF file:\r" + dir.file("report.pdf"),
                 "Client Report", Buttons::Ok, Icon::Information},
                {"The report could not be printed.\rThe printer is out of paper.", "Client Report", Buttons::Ok,
                 Icon::Exclamation}}));
}
