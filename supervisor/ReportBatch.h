#pragma once
// Printing several clients' reports in one go: every report is composed
// first and kept in its own copy temp1, temp2, ... in the program folder;
// the copies are then put back over report.prn one by one and printed.
#include <functional>
#include <string>
#include <vector>

#include "records/ClientTable.h"
#include "records/FileSystem.h"
#include "report/Printer.h"

namespace zv {

class Prompter;

// Writes the report of clients.CurrentRecord into report.prn (throws ZvError;
// on a fault the previous report.prn stays as it was).
using ReportComposer = std::function<void(const ClientTable& clients)>;

struct ReportServices {
  FileSystem& fs;
  Prompter& prompter;
  Printer& printer;
  std::string programDir;
  ReportComposer compose;

  std::string reportPath() const { return joinPath(programDir, "report.prn"); }
  std::string tempPath(int n) const { return joinPath(programDir, "temp" + std::to_string(n)); }
};

struct BatchOutcome {
  std::vector<int> printed;     // record numbers, in printing order
  std::vector<int> notPrinted;  // record numbers whose report was not composed or not printed
  std::vector<std::string> pdfFiles;
};

inline constexpr const char* kPrintReportTitle = "Print Report";

// Every client 1..RecordCount; the copies are temp<record>; CurrentRecord ends at 1.
BatchOutcome PrintAllReports(ClientTable& clients, ReportServices& services);

// The given records in the given order; the copies are temp1..tempK;
// CurrentRecord ends at the last of them.
BatchOutcome PrintSelectedReports(ClientTable& clients, const std::vector<int>& records, ReportServices& services);

// The message naming the clients whose reports were not printed.
std::string notPrintedMessage(const std::vector<int>& records);
// The message for a report that could not be produced.
std::string reportNotProducedMessage(int record, const std::string& why);

}  // namespace zv
