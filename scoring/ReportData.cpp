#include "scoring/ReportData.h"

#include <algorithm>

#include "records/ZvError.h"
#include "scoring/ReportDataReader.h"

namespace zv {
namespace {

constexpr int kItemCount = 162;
constexpr int kShortMin = -32768;
constexpr int kShortMax = 32767;

std::string n(int v) { return std::to_string(v); }

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
  at.rptComplete = true;
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
  at.bComplete = true;
}

template <typename Parse>
void readFile(FileSystem& fs, const std::string& programDir, const char* name, std::vector<DataProblem>* problems,
              Parse parse) {
  std::string bytes;
  const std::string path = joinPath(programDir, name);
  if (!problems) {
    bytes = fs.readAll(path);  // a missing file is the platform's own error
  } else {
    try {
      bytes = fs.readAll(path);
    } catch (const ZvError& e) {
      problems->push_back({name, 0, "cannot be read: " + e.description()});
      return;
    }
  }
  SequentialReader in(name, std::move(bytes), problems);
  try {
    parse(in);
  } catch (const SequentialReader::Stopped&) {
    return;  // recorded by the reader
  }
  if (problems && !in.atEndOfData()) in.fault(in.lineNumber(), "text after the last value of the file");
}

}  // namespace

ReportTables ReadReportTables(FileSystem& fs, const std::string& programDir, std::vector<DataProblem>* problems,
                              ReportTableLines* lines) {
  ReportTables t;
  ReportTableLines local;
  ReportTableLines& at = lines ? *lines : local;
  at = ReportTableLines{};
  readFile(fs, programDir, "ZVRPT.TXT", problems, [&](SequentialReader& in) { readRpt(in, t, at); });
  readFile(fs, programDir, "ZVB.TXT", problems, [&](SequentialReader& in) { readB(in, t, at); });
  return t;
}

ReportTables LoadReportTables(FileSystem& fs, const std::string& programDir) {
  return ReadReportTables(fs, programDir, nullptr);
}

std::string paragraphFileName(int scale) {
  static const char* const names[] = {"ZVVA.TXT", "ZVAL.TXT", "ZVDG.TXT", "ZVAS.TXT", "ZVVI.TXT", "ZVSC.TXT"};
  if (scale < 1 || scale > 6) throw ZvError(ErrorKind::Other, 0, "no paragraph file for scale " + std::to_string(scale));
  return names[scale - 1];
}

}  // namespace zv
