#pragma once
// The collecting form of the report-table parsers, for the installation
// checker: every fault of ZVRPT.TXT and ZVB.TXT is recorded instead of thrown,
// and the line of every value is kept so later checks can point at it.
#include <array>
#include <string>
#include <vector>

#include "records/FileSystem.h"
#include "scoring/ReportTables.h"
#include "scoring/SequentialReader.h"

namespace zv {

// The 1-based line on which each value of ReportTables started (0: not read).
struct ReportTableLines {
  std::array<int, ReportTables::kScales + 1> ScaleName{};
  std::array<int, 5> RangeText{};
  std::array<int, ReportTables::kSignificant + 1> SignificantItemText{};
  std::array<int, ReportTables::kChoices + 1> ChoiceText{};
  std::array<int, ReportTables::kSignificant + 1> SignificantItems{};
  std::array<std::array<int, 5>, 5> ScoringKey{};
  std::array<std::array<std::array<int, 6>, 4>, 3> NormCount{};
  std::array<std::array<std::array<std::array<int, 3>, 4>, ReportTables::kMaxNorm + 1>, 6> NormTable{};
  std::array<std::array<std::array<int, 3>, ReportTables::kStressRows + 1>, 4> StressNorm{};
  std::array<int, ReportTables::kStressRows + 2> StressCut{};
  std::array<int, 6> ScaleCount{};
  std::array<std::vector<int>, 6> ScaleItems;
  std::array<int, ReportTables::kKeyItems + 1> KeyItems{};
  std::array<std::array<int, 10>, 7> TruthCorrection{};
  bool rptComplete = false;  // ZVRPT.TXT was read to its last value
  bool bComplete = false;    // ZVB.TXT was read to its last value
};

// Reads both files of the program folder. problems == nullptr throws at the
// first fault (as LoadReportTables); otherwise every fault is appended, a file
// that cannot be read or ends early stops only the reading of that file, and
// text after the last value is reported too.
ReportTables ReadReportTables(FileSystem& fs, const std::string& programDir, std::vector<DataProblem>* problems,
                              ReportTableLines* lines = nullptr);

}  // namespace zv
