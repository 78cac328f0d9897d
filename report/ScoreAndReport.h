#pragma once
// Producing a client's report: score the client from scratch with the
// installation's tables and write the whole report file.
#include <string>

#include "records/ClientTable.h"
#include "records/FileSystem.h"
#include "scoring/Scores.h"

namespace zv {

struct ReportRequest {
  std::string programDir;   // installation files are read from here
  std::string outputPath;   // empty: report.prn in the program folder
  bool summaryPage = false; // append the one-page summary
};

// Scores the client in slot clients.CurrentRecord and writes its report.
// The report is complete before it replaces the previous file; on any fault
// the previous report stays as it was: ZvError with the platform error of an
// installation file that cannot be read, or with the first fault the
// installation checker lists ("FILE:LINE: what is wrong"). The client table
// is never changed.
Scores ScoreAndReport(FileSystem& fs, const ClientTable& clients, const ReportRequest& request);

// The scores and the report's bytes, without writing any file.
struct ComposedReport {
  Scores scores;
  std::string bytes;
};
ComposedReport ComposeReport(FileSystem& fs, const ClientTable& clients, const ReportRequest& request);

// Where the report of `request` is written.
std::string reportOutputPath(const ReportRequest& request);

// Writes a complete report: a regular file is replaced at once (temporary
// file and rename, through a link onto the file it names); a standard stream
// (/dev/stdout, /dev/fd/N), device or pipe is written directly.
void writeReportFile(FileSystem& fs, const std::string& path, const std::string& bytes);

}  // namespace zv
