#pragma once
// The results of scoring one client, readable after a report is written.
#include <array>

namespace zv {

struct ScaleResult {
  int RawScore = 0;
  int Percentile = 0;
  int OmittedCount = 0;
  int ScoredItemCount = 0;
};

struct Scores {
  std::array<ScaleResult, 7> scale{};  // scales 1..6
  std::array<int, 163> ItemCode{};     // items 1..162
  std::array<int, 163> ItemPoints{};   // items 1..162
  std::array<int, 15> CourtValue{};    // court fields 1..14
  int CourtTotal = 0;
  int DependencyMet = 0;
  int AbuseCount = 0;
  int ReportedClient = 0;  // the record number the report names
};

}  // namespace zv
