#pragma once
// The scoring keys, norms and texts of an installation, as read from ZVB.TXT
// and ZVRPT.TXT. Indices follow the files' own numbering (1-based); index 0
// of each dimension is unused unless noted. Texts are Windows-1252 bytes.
#include <array>
#include <string>
#include <vector>

namespace zv {

struct ReportTables {
  static constexpr int kScales = 6;
  static constexpr int kSignificant = 42;
  static constexpr int kChoices = 92;
  static constexpr int kMaxNorm = 99;
  static constexpr int kStressRows = 50;
  static constexpr int kMaxScaleItems = 30;
  static constexpr int kKeyItems = 60;

  // ZVRPT.TXT
  std::array<std::string, kScales + 1> ScaleName;              // 1..6
  std::array<std::string, 5> RangeText;                        // 1..4
  std::array<std::string, kSignificant + 1> SignificantItemText;  // 1..42
  std::array<std::string, kChoices + 1> ChoiceText;            // 1..92

  // ZVB.TXT
  std::array<int, kSignificant + 1> SignificantItems{};  // 1..42
  // ScoringKey[k][c]: key section k = 1..4, answer code c = 0..4 (sections 1 and 2 use 0..2).
  std::array<std::array<std::string, 5>, 5> ScoringKey;
  // NormCount[g][r][s]: gender 1..2, race 1..3, scale 1..5.
  std::array<std::array<std::array<int, 6>, 4>, 3> NormCount{};
  // NormTable[s][x][r][g]: scale 1..5, raw score 0..99 (entry 0 stays 0).
  std::array<std::array<std::array<std::array<int, 3>, 4>, kMaxNorm + 1>, 6> NormTable{};
  // StressNorm[r][m][g]: race 1..3, stress row 1..50, gender 1..2.
  std::array<std::array<std::array<int, 3>, kStressRows + 1>, 4> StressNorm{};
  std::array<int, kStressRows + 2> StressCut{};  // 1..51
  // ScaleItems[s]: scales 1..5, at most 30 item numbers each.
  std::array<std::vector<int>, 6> ScaleItems;
  std::array<int, kKeyItems + 1> KeyItems{};  // 1..60
  // TruthCorrection[s][b]: scales 2..6, bands 1..9.
  std::array<std::array<int, 10>, 7> TruthCorrection{};
};

// Widest texts the report layout leaves room for.
inline constexpr std::size_t kMaxScaleName = 20;        // ends before the percentile column 28
inline constexpr std::size_t kMaxSignificantText = 36;  // ends before the right column 44
inline constexpr std::size_t kMaxBodyLine = 71;         // after Spc(7), up to column 78
inline constexpr std::size_t kMaxSecondFootLine = 69;   // after Tab(10), up to column 78

}  // namespace zv
