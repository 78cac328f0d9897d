#pragma once
// Checking a whole installation (program folder) against the layouts and
// bounds its files must keep: the report tables, the six paragraph files,
// ZVINVAL.TXT, ZVFOOT.TXT and the question tables of ZV.db. Every problem is
// reported as "FILE:LINE: what is wrong" (LINE 0 for the file as a whole; for
// ZV.db the row in stored order).
#include <string>
#include <vector>

#include "records/FileSystem.h"
#include "scoring/SequentialReader.h"

namespace zv {

// The sub-range words that key the paragraphs of scale 1..6.
const std::vector<std::string>& subRangeWords(int scale);

// Widest texts the report layout leaves room for.
inline constexpr std::size_t kMaxScaleName = 20;
inline constexpr std::size_t kMaxSignificantText = 36;
inline constexpr std::size_t kMaxBodyLine = 71;      // after Spc(7), up to column 78
inline constexpr std::size_t kMaxSecondFootLine = 69;  // after Tab(10), up to column 78

std::vector<DataProblem> CheckReportTables(FileSystem& fs, const std::string& programDir);
std::vector<DataProblem> CheckParagraphFile(FileSystem& fs, const std::string& programDir, int scale);
std::vector<DataProblem> CheckInvalidText(FileSystem& fs, const std::string& programDir);
std::vector<DataProblem> CheckFootLines(FileSystem& fs, const std::string& programDir);
std::vector<DataProblem> CheckQuestionTables(const std::string& programDir);

// All of the above, in that order.
std::vector<DataProblem> CheckInstallation(FileSystem& fs, const std::string& programDir);

}  // namespace zv
