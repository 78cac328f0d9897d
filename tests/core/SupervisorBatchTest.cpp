#include <gtest/gtest.h>

#include "supervisor/ReportBatch.h"
#include "tests/core/SupervisorFixture.h"

using namespace zv;

namespace {

// Stands in for the report writer: client n's report has n pages and names
// the client; the clients in `broken` cannot be reported.
struct FakeWriter {
  zvtest::SupervisorFixture& f;
  std::vector<int> composed;
  std::vector<int> broken;

  static std::string reportOf(int n) {
    std::string text = "\r\n       NAME: client " + std::to_string(n) + "\r\n";
    for (int p = 2; p <= n; ++p) text += "\f\r\n       page " + std::to_string(p) + "\r\n";
    return text;
  }

  ReportComposer compose() {
    return [this](const ClientTable& clients) {
      const int n = clients.CurrentRecord;
      composed.push_back(n);
      if (std::find(broken.begin(), broken.end(), n) != broken.end())
        throw ZvError(ErrorKind::BadData, 0, "ZVB.TXT:12: the norm line of scale 3 is missing");
      zvtest::writeBytes(f.dir.file("report.prn"), reportOf(n));
    };
  }
};

struct Batch {
  zvtest::SupervisorFixture f;
  RecordingPrinter printer;
  FakeWriter writer{f, {}, {}};
  ReportServices services{f.fs, f.prompter, printer, f.dir.path(), writer.compose()};

  explicit Batch(int clients) {
    for (int i = 1; i <= clients; ++i) f.addClient("Client " + std::to_string(i));
  }
  std::string printedText(std::size_t job) const {
    std::string s;
    for (std::size_t i = 0; i < printer.jobs.at(job).pages.size(); ++i) s += (i ? "\f" : "") + printer.jobs[job].pages[i];
    return s;
  }
};

std::string withoutLast(const std::string& s) { return s.substr(0, s.size() - 1); }

}  // namespace

TEST(SupervisorPrintAll, ThreeClientsLeaveTemp1To3AndCurrentRecordOne) {
  Batch b(3);
  b.f.state.clients.CurrentRecord = 2;
  const BatchOutcome out = PrintAllReports(b.f.state.clients, b.services);
  EXPECT_EQ(b.writer.composed, (std::vector<int>{1, 2, 3}));
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(zvtest::readBytes(b.f.dir.file("temp" + std::to_string(i))), FakeWriter::reportOf(i)) << i;
  EXPECT_FALSE(std::filesystem::exists(b.f.dir.file("temp4")));
  ASSERT_EQ(b.printer.jobs.size(), 3u);
  for (std::size_t j = 0; j < 3; ++j) {
    EXPECT_EQ(b.printer.jobs[j].documentName, "temp" + std::to_string(j + 1));
    EXPECT_EQ(b.printer.jobs[j].pages.size(), j + 1);
    EXPECT_EQ(b.printedText(j), withoutLast(FakeWriter::reportOf(static_cast<int>(j) + 1)));
  }
  EXPECT_EQ(b.f.state.clients.CurrentRecord, 1);
  EXPECT_EQ(out.printed, (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(out.notPrinted.empty());
  EXPECT_TRUE(b.f.prompter.asked.empty());
  // The report file holds the last report printed.
  EXPECT_EQ(zvtest::readBytes(b.f.dir.file("report.prn")), FakeWriter::reportOf(3));
}

TEST(SupervisorPrintSelected, Clients2And5OfFivePrintInListOrderAndCurrentRecordStaysAtTheLast) {
  Batch b(5);
  const BatchOutcome out = PrintSelectedReports(b.f.state.clients, {2, 5}, b.services);
  EXPECT_EQ(b.writer.composed, (std::vector<int>{2, 5}));
  EXPECT_EQ(zvtest::readBytes(b.f.dir.file("temp1")), FakeWriter::reportOf(2));
  EXPECT_EQ(zvtest::readBytes(b.f.dir.file("temp2")), FakeWriter::reportOf(5));
  EXPECT_FALSE(std::filesystem::exists(b.f.dir.file("temp3")));
  ASSERT_EQ(b.printer.jobs.size(), 2u);
  EXPECT_EQ(b.printer.jobs[0].documentName, "temp1");
  EXPECT_EQ(b.printedText(0), withoutLast(FakeWriter::reportOf(2)));
  EXPECT_EQ(b.printer.jobs[1].documentName, "temp2");
  EXPECT_EQ(b.printer.jobs[1].pages.size(), 5u);
  EXPECT_EQ(b.f.state.clients.CurrentRecord, 5);
  EXPECT_EQ(out.printed, (std::vector<int>{2, 5}));
}

TEST(SupervisorPrintAll, AReportThatCannotBeProducedIsToldAndTheBatchGoesOn) {
  Batch b(3);
  // A copy left by an earlier run must not be printed for the broken client.
  zvtest::writeBytes(b.f.dir.file("temp2"), "old report\r\n");
  b.writer.broken = {2};
  const BatchOutcome out = PrintAllReports(b.f.state.clients, b.services);
  EXPECT_EQ(b.writer.composed, (std::vector<int>{1, 2, 3}));
  ASSERT_EQ(b.printer.jobs.size(), 2u);
  EXPECT_EQ(b.printer.jobs[0].documentName, "temp1");
  EXPECT_EQ(b.printer.jobs[1].documentName, "temp3");
  EXPECT_EQ(b.printedText(1), withoutLast(FakeWriter::reportOf(3)));
  EXPECT_FALSE(std::filesystem::exists(b.f.dir.file("temp2")));
  ASSERT_EQ(b.f.prompter.asked.size(), 2u);
  EXPECT_EQ(b.f.prompter.asked[0].text,
            "The report of client 2 could not be produced.\rZVB.TXT:12: the norm line of scale 3 is missing\r"
            "Printing goes on with the next client.");
  EXPECT_EQ(b.f.prompter.asked[0].title, "Print Report");
  EXPECT_EQ(b.f.prompter.asked[1].text, "The report of this client was not printed: 2.");
  EXPECT_EQ(out.notPrinted, (std::vector<int>{2}));
  EXPECT_EQ(b.f.state.clients.CurrentRecord, 1);
}

TEST(SupervisorPrintSelected, PrinterFailureAsksWhetherToGoOnAndNamesTheClientsNotPrinted) {
  Batch b(4);
  b.printer.failingJobs = {1};
  b.f.prompter.script(Answer::Ok);  // go on after the first failure
  BatchOutcome out = PrintSelectedReports(b.f.state.clients, {1, 3, 4}, b.services);
  EXPECT_EQ(out.printed, (std::vector<int>{3, 4}));
  EXPECT_EQ(out.notPrinted, (std::vector<int>{1}));
  ASSERT_EQ(b.f.prompter.asked.size(), 2u);
  EXPECT_EQ(b.f.prompter.asked[0].buttons, Buttons::OkCancel);
  EXPECT_NE(b.f.prompter.asked[0].text.find("The printer is out of paper."), std::string::npos);
  EXPECT_EQ(b.f.prompter.asked[1].text, "The report of this client was not printed: 1.");

  Batch c(4);
  c.printer.failingJobs = {2};
  c.f.prompter.script(Answer::Cancel);  // stop printing
  out = PrintSelectedReports(c.f.state.clients, {1, 3, 4}, c.services);
  EXPECT_EQ(out.printed, (std::vector<int>{1}));
  EXPECT_EQ(out.notPrinted, (std::vector<int>{3, 4}));
  EXPECT_EQ(c.f.prompter.asked.back().text, "The reports of these clients were not printed: 3, 4.");
  EXPECT_EQ(c.f.state.clients.CurrentRecord, 4);
}

TEST(SupervisorPrintAll, WithoutAPrinterTheSupervisorIsToldWhereThePdfFilesAre) {
  Batch b(2);
  b.printer.pdfFolder = b.f.dir.path();
  const BatchOutcome out = PrintAllReports(b.f.state.clients, b.services);
  ASSERT_EQ(out.pdfFiles.size(), 2u);
  ASSERT_EQ(b.f.prompter.asked.size(), 1u);
  EXPECT_EQ(b.f.prompter.asked[0].text,
            "No printer is set up on this computer, so the reports were saved as PDF files:\r" + b.f.dir.file("temp1.pdf") +
                "\r" + b.f.dir.file("temp2.pdf"));
  EXPECT_EQ(b.f.prompter.asked[0].icon, Icon::Information);
}
