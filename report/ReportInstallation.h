#pragma once
// Everything a report reads from the program folder, read and checked in one
// step: the tables of ZVRPT.TXT and ZVB.TXT and the texts of the paragraph
// files, ZVINVAL.TXT and ZVFOOT.TXT. The installation checker lists every
// problem of this step; a report is refused at its first fault, so a report
// is produced exactly when the checker finds no fault in these files.
#include <string>
#include <vector>

#include "records/FileSystem.h"
#include "report/TextFiles.h"
#include "scoring/DataProblem.h"
#include "scoring/ReportTables.h"

namespace zv {

struct ReportInstallation {
  ReportTables tables;
  ReportTexts texts;
};

// Reads every report file, appending its problems: ZVRPT.TXT, ZVB.TXT, the
// paragraph files of scales 1 to 6, ZVINVAL.TXT, ZVFOOT.TXT, each file's in
// line order.
ReportInstallation ReadReportInstallation(FileSystem& fs, const std::string& programDir,
                                          std::vector<DataProblem>& problems);

// As read for a report: throws the first fault (see throwFirstFault).
ReportInstallation LoadReportInstallation(FileSystem& fs, const std::string& programDir);

}  // namespace zv
