#include "report/ReportInstallation.h"

#include "scoring/ReportData.h"

namespace zv {

ReportInstallation ReadReportInstallation(FileSystem& fs, const std::string& programDir,
                                          std::vector<DataProblem>& problems) {
  ReportInstallation inst;
  inst.tables = ReadReportTables(fs, programDir, problems);
  inst.texts = ReadReportTexts(fs, programDir, problems);
  return inst;
}

ReportInstallation LoadReportInstallation(FileSystem& fs, const std::string& programDir) {
  std::vector<DataProblem> problems;
  ReportInstallation inst = ReadReportInstallation(fs, programDir, problems);
  throwFirstFault(problems);
  return inst;
}

}  // namespace zv
