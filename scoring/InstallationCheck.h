#pragma once
// Checking a whole installation (program folder): the report files, read and
// checked exactly as a report reads them (see report/ReportInstallation.h),
// and the question tables of ZV.db, which reports do not read. Every problem
// is reported as "FILE:LINE: what is wrong" (LINE 0 for the file as a whole;
// for ZV.db the row in stored order); warnings say "FILE:LINE: warning: ...".
#include <string>
#include <vector>

#include "records/FileSystem.h"
#include "scoring/DataProblem.h"

namespace zv {

std::vector<DataProblem> CheckQuestionTables(const std::string& programDir);

// The report files' problems, then those of the question tables.
std::vector<DataProblem> CheckInstallation(FileSystem& fs, const std::string& programDir);

}  // namespace zv
