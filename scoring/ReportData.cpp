#include "scoring/ReportData.h"

#include <algorithm>
#include <set>

#include "records/ZvError.h"
#include "scoring/SequentialReader.h"
#include "testing/TestSections.h"

namespace zv {
namespace {

constexpr int kItemCount = 162;
constexpr int kShortMin = -32768;
constexpr int kShortMax = 32767;

std::string n(long long v) { return std::to_string(v); }
std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// The 1-based line on which each value of ReportTables started (0: not read),
// so that the checks after reading can point at it.
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
};

void readRpt(SequentialReader& in, ReportTables& t, ReportTableLines& at) {
  for (int s = 1; s <= ReportTables::kScales; ++s) {
    t.ScaleName[s] = in.field("scale name " + n(s));
    at.ScaleName[s] = in.lastValueLine();
  }
  for (int i = 1; i <= 4; ++i) {
    t.RangeText[i] = in.field("range text " + n(i));
    at.RangeText[i] = in.lastValueLine();
  }
  for (int k = 1; k <= ReportTables::kSignificant; ++k) {
    t.SignificantItemText[k] = in.line("significant item text " + n(k));
    at.SignificantItemText[k] = in.lastValueLine();
  }
  for (int k = 1; k <= ReportTables::kChoices; ++k) {
    t.ChoiceText[k] = in.line("answer text " + n(k) + " (item " + n(139 + (k + 3) / 4) + ", answer " +
                              n((k - 1) % 4 + 1) + ")");
    at.ChoiceText[k] = in.lastValueLine();
  }
}

void readB(SequentialReader& in, ReportTables& t, ReportTableLines& at) {
  for (int k = 1; k <= ReportTables::kSignificant; ++k) {
    t.SignificantItems[k] = in.integer("significant item " + n(k), 1, kItemCount);
    at.SignificantItems[k] = in.lastValueLine();
  }
  const int codes[5] = {0, 2, 2, 4, 4};
  for (int k = 1; k <= 4; ++k)
    for (int c = 0; c <= codes[k]; ++c) {
      t.ScoringKey[k][c] = in.field("scoring key of key section " + n(k) + ", answer code " + n(c));
      at.ScoringKey[k][c] = in.lastValueLine();
    }
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (int s = 1; s <= 5; ++s) {
        const std::string group = "gender " + n(g) + ", race " + n(r) + ", scale " + n(s);
        // Read a count outside its bounds as written, so that the values after
        // it stay in step, but keep no more than the table holds.
        int count = in.integer("norm count of " + group, kShortMin, kShortMax);
        at.NormCount[g][r][s] = in.lastValueLine();
        if (count < 0 || count > ReportTables::kMaxNorm)
          in.fault(in.lastValueLine(), "norm count of " + group + " is " + n(count) + "; it must be 0 to 99");
        count = std::max(count, 0);
        t.NormCount[g][r][s] = std::min(count, ReportTables::kMaxNorm);
        for (int x = 1; x <= count; ++x) {
          const int v = in.integer("percentile of raw score " + n(x) + " (" + group + ")", kShortMin, kShortMax);
          if (x <= ReportTables::kMaxNorm) {
            t.NormTable[s][x][r][g] = v;
            at.NormTable[s][x][r][g] = in.lastValueLine();
          }
        }
      }
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (int m = 1; m <= ReportTables::kStressRows; ++m) {
        t.StressNorm[r][m][g] =
            in.integer("stress norm " + n(m) + " (gender " + n(g) + ", race " + n(r) + ")", kShortMin, kShortMax);
        at.StressNorm[r][m][g] = in.lastValueLine();
      }
  for (int m = 1; m <= ReportTables::kStressRows + 1; ++m) {
    t.StressCut[m] = in.integer("stress cut " + n(m), kShortMin, kShortMax);
    at.StressCut[m] = in.lastValueLine();
  }
  for (int s = 1; s <= 5; ++s) {
    int count = in.integer("item count of scale " + n(s), kShortMin, kShortMax);
    at.ScaleCount[s] = in.lastValueLine();
    if (count < 0 || count > ReportTables::kMaxScaleItems)
      in.fault(in.lastValueLine(), "item count of scale " + n(s) + " is " + n(count) + "; it must be 0 to 30");
    count = std::max(count, 0);
    t.ScaleItems[s].clear();
    at.ScaleItems[s].clear();
    for (int i = 1; i <= count; ++i) {
      const int item = in.integer("item " + n(i) + " of scale " + n(s), 1, kItemCount);
      if (i <= ReportTables::kMaxScaleItems) {
        t.ScaleItems[s].push_back(item);
        at.ScaleItems[s].push_back(in.lastValueLine());
      }
    }
  }
  for (int k = 1; k <= ReportTables::kKeyItems; ++k) {
    t.KeyItems[k] = in.integer("key item " + n(k), 1, kItemCount);
    at.KeyItems[k] = in.lastValueLine();
  }
  for (int s = 2; s <= 6; ++s)
    for (int b = 1; b <= 9; ++b) {
      t.TruthCorrection[s][b] =
          in.integer("truthfulness correction of scale " + n(s) + ", band " + n(b), kShortMin, kShortMax);
      at.TruthCorrection[s][b] = in.lastValueLine();
    }
}

void checkRptValues(const ReportTables& t, const ReportTableLines& at, FileProblems& p) {
  for (int s = 1; s <= ReportTables::kScales; ++s)
    if (at.ScaleName[s]) p.text(at.ScaleName[s], t.ScaleName[s], kMaxScaleName, "scale name " + n(s));
  for (int k = 1; k <= ReportTables::kSignificant; ++k)
    if (at.SignificantItemText[k])
      p.text(at.SignificantItemText[k], t.SignificantItemText[k], kMaxSignificantText, "significant item text " + n(k));
  for (int k = 1; k <= ReportTables::kChoices; ++k)
    if (at.ChoiceText[k]) p.text(at.ChoiceText[k], t.ChoiceText[k], kMaxBodyLine, "answer text " + n(k));
}

// Percentiles within 0 to 99 that never fall as the raw score or stress row rises.
void checkPercentiles(FileProblems& p, int line, int v, int& previous, const std::string& what,
                      const std::string& below) {
  if (v < 0 || v > 99) return p.fault(line, what + " is " + n(v) + "; it must be 0 to 99");
  if (v < previous) p.fault(line, what + " is " + n(v) + ", below the " + n(previous) + below);
  previous = std::max(previous, v);
}

void checkBValues(const ReportTables& t, const ReportTableLines& at, FileProblems& p) {
  const int codes[5] = {0, 2, 2, 4, 4};
  // Key sections: items 1-60, 61 to the end of section 1, then sections 2 and 3.
  const int sizes[5] = {0, 60, kSectionEnds[1] - 60, kSectionEnds[2] - kSectionEnds[1], kSectionEnds[3] - kSectionEnds[2]};
  for (int k = 1; k <= 4; ++k)
    for (int c = 0; c <= codes[k]; ++c) {
      if (!at.ScoringKey[k][c]) continue;
      const std::string& key = t.ScoringKey[k][c];
      const std::string what = "scoring key of key section " + n(k) + ", answer code " + n(c);
      if (static_cast<int>(key.size()) != sizes[k])
        p.fault(at.ScoringKey[k][c],
                what + " has " + n(static_cast<long long>(key.size())) + " characters; the section has " + n(sizes[k]) + " items");
      const auto bad = std::find_if(key.begin(), key.end(), [](char ch) { return ch < '0' || ch > '9'; });
      if (bad != key.end())
        p.fault(at.ScoringKey[k][c], what + " holds " + quoted(std::string(1, *bad)) + " at position " +
                                         n(bad - key.begin() + 1) + "; points are the digits 0 to 9");
    }
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (int s = 1; s <= 5; ++s) {
        const std::string group = " (gender " + n(g) + ", race " + n(r) + ", scale " + n(s) + ")";
        int previous = 0;
        for (int x = 1; x <= t.NormCount[g][r][s] && at.NormTable[s][x][r][g]; ++x)
          checkPercentiles(p, at.NormTable[s][x][r][g], t.NormTable[s][x][r][g], previous,
                           "percentile of raw score " + n(x) + group,
                           " of raw score " + n(x - 1) + "; percentiles must not fall as the raw score rises");
      }
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r) {
      int previous = 0;
      for (int m = 1; m <= ReportTables::kStressRows && at.StressNorm[r][m][g]; ++m)
        checkPercentiles(p, at.StressNorm[r][m][g], t.StressNorm[r][m][g], previous,
                         "stress norm " + n(m) + " (gender " + n(g) + ", race " + n(r) + ")",
                         " of row " + n(m - 1) + "; percentiles must not fall as the stress ratio rises");
    }
  if (at.StressCut[ReportTables::kStressRows + 1]) {
    // Row m holds the ratios above cut m: the lowest ratio, 15, must lie above the first cut.
    if (t.StressCut[1] >= 15)
      p.fault(at.StressCut[1], "stress cut 1 is " + n(t.StressCut[1]) +
                                   "; it must be 14 or less so that the lowest ratio 15 falls in a row");
    for (int m = 2; m <= ReportTables::kStressRows + 1; ++m)
      if (t.StressCut[m] <= t.StressCut[m - 1])
        p.fault(at.StressCut[m], "stress cut " + n(m) + " is " + n(t.StressCut[m]) + ", not above stress cut " +
                                     n(m - 1) + " (" + n(t.StressCut[m - 1]) + "); the cuts must ascend");
    // The ratio reaches 240, and the truthfulness correction of scale 6 is
    // added before the look-up; a ratio above the last cut falls in no row
    // and would read as percentile 0.
    int lift = 0;
    for (int b = 1; b <= 9; ++b)
      if (at.TruthCorrection[6][b]) lift = std::max(lift, t.TruthCorrection[6][b]);
    const int highest = 240 + lift;
    if (t.StressCut[51] < highest)
      p.fault(at.StressCut[51], "stress cut 51 is " + n(t.StressCut[51]) + "; it must be " + n(highest) +
                                    " or more so that the highest ratio" +
                                    (lift ? " (240, plus " + n(lift) + " from the truthfulness correction)" : std::string(" 240")) +
                                    " falls in a row");
  }
  for (int s = 1; s <= 5; ++s) {
    std::set<int> seen;
    for (std::size_t i = 0; i < t.ScaleItems[s].size(); ++i)
      if (!seen.insert(t.ScaleItems[s][i]).second)
        p.fault(at.ScaleItems[s][i], "item " + n(t.ScaleItems[s][i]) + " stands twice in the item list of scale " + n(s));
  }
  const int firstKey[5] = {1, 16, 33, 46, 61};
  for (int grp = 0; grp < 4; ++grp) {
    std::set<int> seen;
    for (int k = firstKey[grp]; k < firstKey[grp + 1]; ++k)
      if (at.KeyItems[k] && !seen.insert(t.KeyItems[k]).second)
        p.fault(at.KeyItems[k], "key item " + n(k) + " (item " + n(t.KeyItems[k]) +
                                    ") stands twice among the key items of scale " + n(grp + 2));
  }
}

// Reads one file with `parse`, then checks its values with `check`; the
// file's problems in line order.
template <typename Parse, typename Check>
void readFile(FileSystem& fs, const std::string& programDir, const char* name, std::vector<DataProblem>& problems,
              Parse parse, Check check) {
  const std::size_t first = problems.size();
  if (auto bytes = readInstallationFile(fs, programDir, name, problems)) {
    SequentialReader in(name, std::move(*bytes), problems);
    try {
      parse(in);
      if (!in.atEndOfData()) in.fault(in.lineNumber(), "text after the last value of the file");
    } catch (const SequentialReader::Stopped&) {
      // recorded by the reader; the values read so far are still checked
    }
    FileProblems p(name, problems);
    check(p);
  }
  sortByLine(problems, first);
}

}  // namespace

ReportTables ReadReportTables(FileSystem& fs, const std::string& programDir, std::vector<DataProblem>& problems) {
  ReportTables t;
  ReportTableLines at;
  readFile(
      fs, programDir, "ZVRPT.TXT", problems, [&](SequentialReader& in) { readRpt(in, t, at); },
      [&](FileProblems& p) { checkRptValues(t, at, p); });
  readFile(
      fs, programDir, "ZVB.TXT", problems, [&](SequentialReader& in) { readB(in, t, at); },
      [&](FileProblems& p) { checkBValues(t, at, p); });
  return t;
}

std::string paragraphFileName(int scale) {
  static const char* const names[] = {"ZVVA.TXT", "ZVAL.TXT", "ZVDG.TXT", "ZVAS.TXT", "ZVVI.TXT", "ZVSC.TXT"};
  if (scale < 1 || scale > 6) throw ZvError(ErrorKind::Other, 0, "no paragraph file for scale " + std::to_string(scale));
  return names[scale - 1];
}

}  // namespace zv
