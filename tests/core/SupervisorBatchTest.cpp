#include <gtest/gtest.h>

#include <map>

#include "supervisor/AccessCode.h"
#include "tests/core/SupervisorFixture.h"

using namespace zv;
using namespace zvtest;

namespace {

using Files = std::map<std::string, std::string>;

struct Batch : SupervisorFixture {
  RecordingPrinter printer;
  ReportServices services{fs, prompter, printer, program.path(), composer()};

  using SupervisorFixture::SupervisorFixture;
  // The copies temp1, temp2, ... left in the program folder.
  Files copies() const {
    Files out;
    for (const auto& e : std::filesystem::directory_iterator(program.path()))
      if (e.path().filename().string().rfind("temp", 0) == 0) out[e.path().filename()] = readBytes(e.path());
    return out;
  }
  // Every print job: its name and its pages joined by form feeds.
  Files jobs() const {
    Files out;
    for (const auto& j : printer.jobs) {
      std::string s;
      for (std::size_t i = 0; i < j.pages.size(); ++i) s += (i ? "\f" : "") + j.pages[i];
      out[j.documentName] = s;
    }
    return out;
  }
};

// The copy tempK of client n, and its print job (the report less its last character).
Files copies(std::initializer_list<std::pair<int, int>> kAndClient, bool printed = false) {
  Files out;
  for (auto [k, n] : kAndClient) {
    const std::string r = fakeReport(n);
    out["temp" + std::to_string(k)] = printed ? r.substr(0, r.size() - 1) : r;
  }
  return out;
}

}  // namespace

// All three clients, then clients 2 and 5 of five: printed in list order, the copies named
// temp1, temp2, ...; Print All ends at the first client, a selection at the last one printed.
TEST(SupervisorBatch, ReportsPrintInListOrderAndLeaveTheirCopies) {
  for (const bool all : {true, false}) {
    Batch b(all ? 3 : 5);
    b.state.clients.CurrentRecord = 2;
    const std::vector<int> chosen = all ? std::vector<int>{1, 2, 3} : std::vector<int>{2, 5};
    const BatchOutcome out = all ? PrintAllReports(b.state.clients, b.services)
                                 : PrintSelectedReports(b.state.clients, chosen, b.services);
    EXPECT_EQ(b.copies(), all ? copies({{1, 1}, {2, 2}, {3, 3}}) : copies({{1, 2}, {2, 5}}));
    EXPECT_EQ(b.jobs(), all ? copies({{1, 1}, {2, 2}, {3, 3}}, true) : copies({{1, 2}, {2, 5}}, true));
    EXPECT_EQ(b.printer.jobs.back().pages.size(), static_cast<std::size_t>(chosen.back())) << "a page a form feed";
    EXPECT_EQ((std::vector<std::vector<int>>{b.composed, out.printed, out.notPrinted}),
              (std::vector<std::vector<int>>{chosen, chosen, {}}));
    EXPECT_EQ(b.state.clients.CurrentRecord, all ? 1 : 5);
    EXPECT_TRUE(b.prompter.asked.empty());
    // The report file holds the last report printed.
    EXPECT_EQ(readBytes(b.program.file("report.prn")), fakeReport(chosen.back()));
  }
}

TEST(SupervisorBatch, AReportThatCannotBeProducedIsToldAndTheBatchGoesOn) {
  Batch b(3);
  // A copy left by an earlier run must not be printed for the broken client.
  writeBytes(b.program.file("temp2"), "old report\r\n");
  b.broken = {2};
  const BatchOutcome out = PrintAllReports(b.state.clients, b.services);
  EXPECT_EQ(b.composed, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(b.copies(), copies({{1, 1}, {3, 3}}));
  EXPECT_EQ(b.jobs(), copies({{1, 1}, {3, 3}}, true));
  EXPECT_EQ(b.prompter.asked,
            (AskedList{{"The report of client 2 could not be produced.\rZVRPT.TXT:7: the scale line has 3 fields, 5 "
                        "expected\rPrinting goes on with the next client.",
                        "Print Report", Buttons::Ok, Icon::Exclamation},
                       {"The report of this client was not printed: 2.", "Print Report", Buttons::Ok,
                        Icon::Exclamation}}));
  EXPECT_EQ(out.notPrinted, (std::vector<int>{2}));
  EXPECT_EQ(b.state.clients.CurrentRecord, 1);
}

TEST(SupervisorBatch, PrinterFailureAsksWhetherToGoOnAndNamesTheClientsNotPrintedOrThePdfFilesMade) {
  for (Answer answer : {Answer::Ok, Answer::Cancel}) {
    Batch b(4);
    b.printer.failingJobs = {answer == Answer::Ok ? 1 : 2};
    b.prompter.script(answer);  // OK goes on after the failure, Cancel stops printing
    const BatchOutcome out = PrintSelectedReports(b.state.clients, {1, 3, 4}, b.services);
    const bool goOn = answer == Answer::Ok;
    EXPECT_EQ(out.printed, (goOn ? std::vector<int>{3, 4} : std::vector<int>{1}));
    EXPECT_EQ(out.notPrinted, (goOn ? std::vector<int>{1} : std::vector<int>{3, 4}));
    EXPECT_EQ(b.prompter.asked,
              (AskedList{{"The report of client " + std::to_string(goOn ? 1 : 3) +
                              " could not be printed.\rThe printer is out of paper.\r\rOK goes on with the next "
                              "report; Cancel stops printing.",
                          "Print Report", Buttons::OkCancel, Icon::Exclamation},
                         {goOn ? "The report of this client was not printed: 1."
                               : "The reports of these clients were not printed: 3, 4.",
                          "Print Report", Buttons::Ok, Icon::Exclamation}}));
    EXPECT_EQ(b.state.clients.CurrentRecord, 4);
  }
  // Without a printer the supervisor is told where the PDF files are.
  Batch b(2);
  b.printer.pdfFolder = b.program.path();
  const std::string one = b.program.file("temp1.pdf"), two = b.program.file("temp2.pdf");
  EXPECT_EQ(PrintAllReports(b.state.clients, b.services).pdfFiles, (std::vector<std::string>{one, two}));
  EXPECT_EQ(b.prompter.asked, (AskedList{{"No printer is set up on this computer, so the reports were saved as "
                                                  "PDF files:\r" + one + "\r" + two,
                                                  "Print Report", Buttons::Ok, Icon::Information}}));
}

// The code is one letter compared in upper case. Every prompt is the secret entry
// of eight characters; each wrong code is told and asked again until the right one or Cancel.
TEST(SupervisorAccessCode, OneLetterAskedUntilRightOrCancelled) {
  const Asked wrong{"Incorrect password.  Please try again.", "Incorrect Password", Buttons::Ok, Icon::Critical};
  const auto secret = std::tuple<std::string, int, std::string, bool>(
      "Enter Secret Code", 8, "Enter the secret code to continue.  For security, asterisks (*) will show as you type.",
      true);
  const struct { std::vector<const char*> typed; bool result; } cases[] = {
      {{"k"}, true}, {{"secret", nullptr}, false}, {{"a", "kk", "K ", "", "J", "K"}, true}, {{nullptr}, false}};
  for (const auto& c : cases) {
    ScriptedInputPrompt input;
    ScriptedPrompter prompter;
    for (const char* t : c.typed) t ? input.type(t) : input.cancel();
    EXPECT_EQ(AskAccessCode(input, prompter), c.result);
    ASSERT_EQ(input.requests.size(), c.typed.size());
    for (const InputRequest& r : input.requests)
      EXPECT_EQ(std::tuple(r.caption, r.inputLength, r.helpMessage, r.passwordInput), secret);
    EXPECT_EQ(prompter.asked, AskedList(c.typed.size() - 1, wrong));
  }
}
