#include "supervisor/ReportBatch.h"

#include <algorithm>

#include "report/ReportPrinting.h"
#include "ui/Prompter.h"

namespace zv {

namespace {

struct Copy {
  int record;
  int number;  // temp<number>
};

enum class Printing { Go, Stop };

// Composes each record's report into its copy. A report that cannot be
// produced is reported and the batch goes on with the next client.
std::vector<Copy> composeAll(ClientTable& clients, const std::vector<int>& records, ReportServices& s,
                             bool numberedByRecord, BatchOutcome& out) {
  std::vector<Copy> copies;
  int k = 0;
  for (int record : records) {
    clients.CurrentRecord = static_cast<std::int16_t>(record);
    const int number = numberedByRecord ? record : k + 1;
    try {
      s.compose(clients);
      s.fs.copy(s.reportPath(), s.tempPath(number));
      ++k;
      copies.push_back({record, number});
    } catch (const ZvError& e) {
      out.notPrinted.push_back(record);
      // An old copy under this number must not pass for this client's report.
      if (numberedByRecord) {
        try {
          if (s.fs.exists(s.tempPath(number))) s.fs.remove(s.tempPath(number));
        } catch (const ZvError&) {
        }
      }
      s.prompter.ask(reportNotProducedMessage(record, e.what()), kPrintReportTitle, Buttons::Ok, Icon::Exclamation);
    }
  }
  return copies;
}

void printAll(ClientTable& clients, const std::vector<Copy>& copies, ReportServices& s, BatchOutcome& out) {
  bool stopped = false;
  for (const Copy& c : copies) {
    if (stopped) {
      out.notPrinted.push_back(c.record);
      continue;
    }
    clients.CurrentRecord = static_cast<std::int16_t>(c.record);
    try {
      s.fs.copy(s.tempPath(c.number), s.reportPath());
      const PrintOutcome p = PrintReportFile(s.fs, s.reportPath(), s.printer, "temp" + std::to_string(c.number));
      out.printed.push_back(c.record);
      if (!p.pdfPath.empty()) out.pdfFiles.push_back(p.pdfPath);
    } catch (const ZvError& e) {
      out.notPrinted.push_back(c.record);
      const Answer a = s.prompter.ask(
          "The report of client " + std::to_string(c.record) + " could not be printed.\r" + e.what() +
              "\r\rOK goes on with the next report; Cancel stops printing.",
          kPrintReportTitle, Buttons::OkCancel, Icon::Exclamation);
      if (a != Answer::Ok) stopped = true;
    }
  }
}

void tellOutcome(ReportServices& s, BatchOutcome& out) {
  if (!out.pdfFiles.empty()) s.prompter.ask(pdfSavedMessage(out.pdfFiles), kPrintReportTitle, Buttons::Ok, Icon::Information);
  if (!out.notPrinted.empty()) {
    std::sort(out.notPrinted.begin(), out.notPrinted.end());
    s.prompter.ask(notPrintedMessage(out.notPrinted), kPrintReportTitle, Buttons::Ok, Icon::Exclamation);
  }
}

}  // namespace

BatchOutcome PrintAllReports(ClientTable& clients, ReportServices& services) {
  BatchOutcome out;
  std::vector<int> records;
  for (int i = 1; i <= clients.RecordCount; ++i) records.push_back(i);
  const std::vector<Copy> copies = composeAll(clients, records, services, true, out);
  printAll(clients, copies, services, out);
  clients.CurrentRecord = 1;
  tellOutcome(services, out);
  return out;
}

BatchOutcome PrintSelectedReports(ClientTable& clients, const std::vector<int>& records, ReportServices& services) {
  BatchOutcome out;
  if (records.empty()) return out;
  const std::vector<Copy> copies = composeAll(clients, records, services, false, out);
  printAll(clients, copies, services, out);
  clients.CurrentRecord = static_cast<std::int16_t>(records.back());
  tellOutcome(services, out);
  return out;
}

std::string notPrintedMessage(const std::vector<int>& records) {
  std::string list;
  for (std::size_t i = 0; i < records.size(); ++i) list += (i ? ", " : "") + std::to_string(records[i]);
  return (records.size() == 1 ? "The report of this client was not printed: " : "The reports of these clients were not printed: ") +
         list + ".";
}

std::string reportNotProducedMessage(int record, const std::string& why) {
  return "The report of client " + std::to_string(record) + " could not be produced.\r" + why +
         "\rPrinting goes on with the next client.";
}

}  // namespace zv
