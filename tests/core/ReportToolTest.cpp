// Report production as a whole: ScoreAndReport's all-or-nothing report file
// and the zvreport tool's arguments, messages and exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sstream>

#include "records/ClientFile.h"
#include "records/FileSystem.h"
#include "report/ReportPrinting.h"
#include "report/ReportTool.h"
#include "report/ScoreAndReport.h"
#include "scoring/Scoring.h"
#include "tests/core/ReportTestInstallation.h"

using namespace zv;
using zvtest::faultOf;
using zvtest::Texts;
using zvtest::TestClient;
using zvtest::plainClient;

namespace {

class Production : public ::testing::Test {
 protected:
  Production() { zvtest::writeInstallation(dir.path()); }
  std::string report() const { return zvtest::readBytes(dir.file("report.prn")); }
  ReportRequest request(bool summary = false, const std::string& output = "") const {
    return {dir.path(), output, summary};
  }
  Scores produce(const ClientTable& t) { return ScoreAndReport(fs, t, request()); }
  std::string composed(const ClientTable& t, bool summary = false) {
    return ComposeReport(fs, t, request(summary)).bytes;
  }

  zvtest::TempDir dir;
  RealFileSystem fs;
};

class Tool : public Production {
 protected:
  Tool() {
    std::filesystem::create_directories(data);
    zvtest::writeTable(clientFilePath(data), clients);
  }
  int run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return RunReportTool(args, out, err, fs);
  }
  std::vector<std::string> args(const std::string& client, const std::string& location = "") const {
    return {"--program-dir", dir.path(), "--data-location", location.empty() ? data : location, "--client", client};
  }

  std::string data = dir.file("data");
  ClientTable clients = zvtest::tableOf({plainClient(), plainClient(), plainClient()});
  std::ostringstream out, err;
};

}  // namespace

TEST_F(Production, WritesReportPrnOrTheFileALinkNamesAndReturnsTheScores) {
  const ClientTable table = zvtest::tableOf({plainClient(), plainClient({{4, 1}})}, 2);
  const Scores s = ScoreAndReport(fs, table, request(true));
  EXPECT_EQ((std::vector<int>{s.ItemPoints[4], s.ReportedClient}), (std::vector<int>{3, 2}));
  EXPECT_FALSE(fs.exists(dir.file("report.prn.part"))) << "no temporary file left behind";
  EXPECT_EQ(report(), composed(table, true)) << "composing twice gives the same bytes";
  // Output through a link replaces the file, not the link.
  zvtest::writeBytes(dir.file("target.prn"), "old");
  ASSERT_EQ(::symlink(dir.file("target.prn").c_str(), dir.file("link.prn").c_str()), 0);
  ScoreAndReport(fs, table, request(false, dir.file("link.prn")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.prn")));
  EXPECT_EQ(zvtest::readBytes(dir.file("target.prn")), composed(table));
}

TEST_F(Production, NothingSurvivesBetweenReports) {
  const TestClient a = plainClient({{66, 1}, {146, 1}, {7, 1}}), b = plainClient();
  ClientTable table = zvtest::tableOf({a, b}, 1);
  EXPECT_EQ(produce(table).DependencyMet, 1);
  table.CurrentRecord = 2;
  EXPECT_EQ(produce(table).DependencyMet, 0);
  EXPECT_EQ(report(), composed(zvtest::tableOf({a, b}, 2))) << "the second report does not depend on the first";
  // The tables are read afresh: a changed paragraph file shows at once.
  std::string para = zvtest::readBytes(dir.file("ZVSC.TXT"));
  para.replace(para.find("Scale 6"), 7, "Stress!");
  zvtest::writeBytes(dir.file("ZVSC.TXT"), para);
  produce(table);
  EXPECT_NE(report().find("Stress!"), std::string::npos);
}

// Installation faults keep it too: InstallationCheckTest.
TEST_F(Production, ADiskFaultKeepsThePreviousReport) {
  const ClientTable table = zvtest::tableOf({plainClient()});
  produce(table);
  const std::string previous = report();
  FaultyFileSystem faulty(fs);
  faulty.arm({"replace", "report.prn", ENOSPC, 1});
  const ClientTable other = zvtest::tableOf({plainClient({{1, 1}})});
  EXPECT_EQ(faultOf([&] { ScoreAndReport(faulty, other, request()); }).kind(), ErrorKind::DiskFull);
  EXPECT_EQ(report(), previous);
}

// A damaged record's control characters print as blanks wherever its texts
// appear: header, running heads, additional information.
TEST_F(Production, ControlCharactersOfARecordPrintAsBlanks) {
  TestClient c = plainClient();
  c.name = "Roe,\x0CKim\r\nX";
  c.id = std::string("12\x00" "45", 5);
  c.age = "4\x7F";
  c.dateOfBirth = "01/02\t1990";
  c.court[2] = "\x1B" "5";  // felony arrests: scored as printed
  Scores s;
  const ClientFields f = DecodeClient(zvtest::tableOf({c}), s);
  EXPECT_EQ(std::vector<std::string>({f.Name, f.IdNumber, f.Age, f.DateOfBirth, f.CourtText[3]}),
            std::vector<std::string>({"Roe, Kim  X" + std::string(14, ' '), "12 45     ", "4  ", "01/02 1990", " 5"}));
  EXPECT_EQ(s.CourtValue[3], 5);
  const std::string r = composed(zvtest::tableOf({c}), true);
  std::size_t heads = 0;
  for (const std::string& line : zvtest::crlfLines(r)) {
    if (line == "\x0C") continue;
    EXPECT_EQ(std::count_if(line.begin(), line.end(), [](char ch) { return (ch >= 0 && ch < 32) || ch == 127; }), 0) << line;
    heads += line.rfind("       NAME: Roe, Kim  X ", 0) == 0;
  }
  EXPECT_GE(heads, 3u) << "header, running heads, summary page";
}

TEST_F(Production, ClientFaultsNameTheRecord) {
  ClientTable table = zvtest::tableOf({plainClient(), plainClient({{10, 7}})}, 2);
  EXPECT_EQ(faultOf([&] { produce(table); }).description(),
            "DATA401.ZV, record 2: item 10 holds answer code 7; a scored item takes the codes 0 to 4");
  table.CurrentRecord = 3;
  EXPECT_THROW(produce(table), ZvError) << "beyond RecordCount";
  table.CurrentRecord = 0;
  EXPECT_THROW(produce(table), ZvError);
  EXPECT_FALSE(fs.exists(dir.file("report.prn")));
}

TEST_F(Tool, WritesTheApplicationsBytes) {
  EXPECT_EQ(run(args("2")), kToolOk);
  EXPECT_TRUE(err.str().empty());
  clients.CurrentRecord = 2;
  EXPECT_EQ(report(), composed(clients));
  auto a = args("3");
  a.insert(a.end(), {"--summary", "--output", dir.file("out.prn")});
  EXPECT_EQ(run(a), kToolOk);
  clients.CurrentRecord = 3;
  EXPECT_EQ(zvtest::readBytes(dir.file("out.prn")), composed(clients, true));
}

TEST_F(Tool, HelpAndWrongArguments) {
  EXPECT_EQ(run({"--help"}), kToolOk);
  for (const char* word : {"--program-dir", "--data-location", "--client", "--summary", "--output", "DATA401.ZV", "report.prn"})
    EXPECT_NE(out.str().find(word), std::string::npos) << word;
  // Wrong arguments: one line on standard error.
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "--program-dir is required"},
      {{"--program-dir", dir.path(), "--client", "1"}, "--data-location is required"},
      {{"--program-dir", dir.path(), "--data-location", data}, "--client is required"},
      {{"--program-dir", dir.path(), "--data-location", data, "--client"}, "--client needs a client number"},
      {{"--colour"}, "unknown argument '--colour'"},
  };
  for (const auto& [a, message] : cases) {
    EXPECT_EQ(run(a), kToolBadUsage) << message;
    EXPECT_EQ(err.str(), "zvreport: " + message + " (see --help)\n");
  }
}

TEST_F(Tool, BadClientNumbersAndMissingClientFile) {
  for (const char* n : {"0", "4", "99"}) {
    EXPECT_EQ(run(args(n)), kToolFailed) << n;
    EXPECT_EQ(err.str(), "zvreport: no client " + std::string(n) + " in " + clientFilePath(data) +
                             ": it holds 3 clients (1 to 3)\n");
  }
  EXPECT_EQ(run(args("x1")), kToolFailed);
  EXPECT_EQ(err.str(), "zvreport: bad client number 'x1': give a record number from 1 to the number of clients\n");
  EXPECT_EQ(run(args("-1")), kToolFailed);
  EXPECT_FALSE(fs.exists(dir.file("report.prn")));

  // A missing client file is not created, nor is a missing data location.
  const std::string empty = dir.file("empty");
  std::filesystem::create_directories(empty);
  EXPECT_EQ(run(args("1", empty)), kToolFailed);
  EXPECT_EQ(err.str(), "zvreport: no client file " + clientFilePath(empty) + "\n");
  EXPECT_FALSE(fs.exists(clientFilePath(empty)));
  EXPECT_EQ(run(args("1", dir.file("nowhere"))), kToolFailed);
  EXPECT_FALSE(fs.exists(dir.file("nowhere")));
}

TEST_F(Tool, InstallationFaultIsOneLineAndKeepsThePreviousReport) {
  ASSERT_EQ(run(args("1")), kToolOk);
  const std::string previous = report();
  zvtest::writeBytes(dir.file("ZVVA.TXT"), "LOW\r\nEND\r\n");  // blocks every client's report
  EXPECT_EQ(run(args("2")), kToolFailed);
  EXPECT_EQ(err.str(), "zvreport: ZVVA.TXT:0: no line \"MEDIUM-LOW\": the paragraph of this sub-range is missing\n");
  EXPECT_EQ(report(), previous);
  std::remove(dir.file("ZVRPT.TXT").c_str());
  EXPECT_EQ(run(args("1")), kToolFailed);
  EXPECT_EQ(err.str(), "zvreport: " + dir.file("ZVRPT.TXT") + ": No such file or directory\n");
  EXPECT_EQ(report(), previous);
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

TEST(ReportPrinting, ReadingLeavesOffTheLastCharacterPrintingTellsWhereAPdfIsAndReportsAFailure) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  const std::string report = dir.file("report.prn");
  zvtest::writeBytes(report, "\r\n       NAME: Jones\r\n\f\r\n       page 2\r\n\f\r\n       page 3\r\n");
  EXPECT_EQ(ReadReportFile(fs, report), "\r\n       NAME: Jones\r\n\f\r\n       page 2\r\n\f\r\n       page 3\r");
  zvtest::writeBytes(dir.file("empty"), "");
  EXPECT_EQ(ReadReportFile(fs, dir.file("empty")), "");
  EXPECT_THROW(ReadReportFile(fs, dir.file("missing.prn")), ZvError);
  ScriptedPrompter prompter;
  RecordingPrinter printer;
  EXPECT_EQ((Texts{documentNameOf("/p/temp3"), documentNameOf("C:\\ZV\\REPORT.PRN")}), (Texts{"temp3", "REPORT"}));

  // With a printer that takes the pages, nothing is said.
  EXPECT_TRUE(PrintReportWithMessages(fs, report, printer, prompter, "Client Report"));
  EXPECT_TRUE(prompter.asked.empty());
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].documentName, "report");
  EXPECT_EQ(printer.jobs[0].pages, SplitReportPages(ReadReportFile(fs, report)));
  printer.pdfFolder = dir.path();
  EXPECT_TRUE(PrintReportWithMessages(fs, report, printer, prompter, "Client Report"));
  printer.failingJobs = {3};
  EXPECT_FALSE(PrintReportWithMessages(fs, report, printer, prompter, "Client Report"));
  EXPECT_EQ(prompter.asked,
            (zvtest::AskedList{
                {"No printer is set up on this computer, so the report was saved as a PDF file:\r" + dir.file("report.pdf"),
                 "Client Report", Buttons::Ok, Icon::Information},
                {"The report could not be printed.\rThe printer is out of paper.", "Client Report", Buttons::Ok,
                 Icon::Exclamation}}));
}
