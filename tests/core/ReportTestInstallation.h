#pragma once
// A small installation of our own for the scoring and report tests: tables
// in memory, the same tables written as ZVB.TXT and ZVRPT.TXT, paragraph
// files, ZVINVAL.TXT and ZVFOOT.TXT; the lines of a report and the fault a
// call must throw.
// Texts are Windows-1252 bytes; a few non-ASCII bytes travel through on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "records/ZvError.h"
#include "scoring/DataProblem.h"
#include "scoring/ReportTables.h"
#include "tests/core/TestSupport.h"

namespace zvtest {

// Every norm table of `t`: count(g, r, s) entries, entry x being value(g, r, s, x), the rest 0.
template <class Count, class Value>
void setNorms(zv::ReportTables& t, Count count, Value value) {
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (int s = 1; s <= 5; ++s) {
        t.NormCount[g][r][s] = count(g, r, s);
        for (int x = 1; x <= 99; ++x) t.NormTable[s][x][r][g] = x <= t.NormCount[g][r][s] ? value(g, r, s, x) : 0;
      }
}

// Scale lists: truthfulness 61..70; alcohol 1..15 and 153, 155; drugs 16..32
// and 157, 158; scale 4 33..45 and 106..110; scale 5 46..60 and 111..115.
// KeyItems(j) = j. True answers (code 1) on items 1..60 earn 3 points when
// i % 4 == 0, else 2 when i % 3 == 0, else 1. Truthfulness items 61..65 earn 1
// for "true", 66..70 earn 1 for "false". Rating items earn code - 1. Items 153,
// 155, 157 and 158 earn 4 - code for codes 1..3.
inline zv::ReportTables testTables() {
  zv::ReportTables t;
  t.ScaleName = {"", "Truthfulness", "Alcohol", "Drugs", "Antisocial", "Violence", "Stress Coping"};
  t.RangeText = {"", "LOW", "MEDIUM", "PROBLEM", "MAXIMUM"};
  for (int k = 1; k <= 42; ++k) {
    t.SignificantItems[k] = k <= 11 ? k : k <= 24 ? k + 4 : k <= 31 ? k + 8 : k + 14;  // 1-11, 16-28, 33-39, 46-56
    t.SignificantItemText[k] = std::to_string(t.SignificantItems[k]) + ". Significant answer number " + std::to_string(k);
  }
  for (int k = 1; k <= 92; ++k) {
    const int item = 139 + (k + 3) / 4;
    const int answer = (k - 1) % 4 + 1;
    std::string text = std::to_string(item) + ". Answer " + std::to_string(answer) + " of item " + std::to_string(item);
    if (answer == 4) text += ", a long answer text that runs on past the seventy-one characters of a line";
    if (k == 2) text += " (caf\xE9)";
    t.ChoiceText[k] = text;
  }
  // Keys.
  std::string s1c1;
  for (int i = 1; i <= 60; ++i) s1c1 += static_cast<char>('0' + (i % 4 == 0 ? 3 : i % 3 == 0 ? 2 : 1));
  t.ScoringKey[1] = {std::string(60, '0'), s1c1, std::string(60, '0')};
  // A non-digit earns nothing.
  t.ScoringKey[2] = {std::string(45, '0'), "11111" + std::string(40, '0'), "0000011111" + std::string(35, 'x')};
  for (int c = 0; c <= 4; ++c) t.ScoringKey[3][c] = std::string(34, static_cast<char>('0' + (c > 0 ? c - 1 : 0)));
  t.ScoringKey[4][0] = "0";  // shorter than the section: the rest earns nothing
  for (int c = 1; c <= 4; ++c) {
    std::string k(23, '0');
    for (int item : {153, 155, 157, 158}) k[static_cast<std::size_t>(item - 140)] = static_cast<char>('0' + (c <= 3 ? 4 - c : 0));
    t.ScoringKey[4][c] = k;
  }
  // Norms: percentile 3x + s, at most 99; scale 1 for men reaches raw score 99.
  setNorms(t, [](int g, int, int s) { return s == 1 ? (g == 1 ? 99 : 10) : 40; }, [](int g, int r, int s, int x) {
    return s > 1 ? std::min(99, 3 * x + s + (r - 1)) : x <= 10 ? 9 * x + (g - 1) : (x == 99 ? 60 : 97);
  });
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (int m = 1; m <= 50; ++m) t.StressNorm[r][m][g] = std::min(99, 2 * m - 1 + (r - 1) + (g - 1));
  for (int m = 1; m <= 51; ++m) t.StressCut[m] = 10 + 5 * (m - 1);
  // The scale lists as runs {scale, first item, last item}.
  for (auto [s, from, to] : {std::tuple{1, 61, 70}, {2, 1, 15}, {2, 153, 153}, {2, 155, 155}, {3, 16, 32},
                             {3, 157, 158}, {4, 33, 45}, {4, 106, 110}, {5, 46, 60}, {5, 111, 115}})
    for (int i = from; i <= to; ++i) t.ScaleItems[static_cast<std::size_t>(s)].push_back(i);
  for (int j = 1; j <= 60; ++j) t.KeyItems[j] = j;
  for (int s = 2; s <= 6; ++s)
    for (int b = 1; b <= 9; ++b) t.TruthCorrection[s][b] = s == 6 ? -b : b / 3;
  return t;
}

// A client who answered every item admitting nothing: "false" on the true/false
// items, `rating` on the rating items, the fourth answer on the multiple-choice
// items; then the given {item, code} answers.
inline TestClient plainClient(std::initializer_list<std::pair<int, int>> codes = {}, int rating = 2) {
  TestClient c;
  c.answer(1, 105, 2);
  c.answer(106, 139, rating);
  c.answer(140, 162, 4);
  for (auto [i, code] : codes) c.answer(i, code);
  return c;
}

inline std::string csvInts(const std::vector<int>& v) {
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) out += (i ? "," : "") + std::to_string(v[i]);
  return out + "\r\n";
}

inline std::string rptText(const zv::ReportTables& t) {
  std::string out;
  for (int s = 1; s <= 6; ++s) out += "\"" + t.ScaleName[s] + "\"" + (s < 6 ? "," : "\r\n");
  for (int i = 1; i <= 4; ++i) out += "\"" + t.RangeText[i] + "\"" + (i < 4 ? "," : "\r\n");
  for (int k = 1; k <= 42; ++k) out += t.SignificantItemText[k] + "\r\n";
  for (int k = 1; k <= 92; ++k) out += t.ChoiceText[k] + "\r\n";
  return out;
}

inline std::string bText(const zv::ReportTables& t) {
  std::string out;
  out += csvInts(std::vector<int>(t.SignificantItems.begin() + 1, t.SignificantItems.end()));
  const int codes[5] = {0, 2, 2, 4, 4};
  for (int k = 1; k <= 4; ++k)
    for (int c = 0; c <= codes[k]; ++c) out += "\"" + t.ScoringKey[k][c] + "\"\r\n";
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (int s = 1; s <= 5; ++s) {
        std::vector<int> v{t.NormCount[g][r][s]};
        for (int x = 1; x <= t.NormCount[g][r][s]; ++x) v.push_back(t.NormTable[s][x][r][g]);
        out += csvInts(v);
      }
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r) {
      std::vector<int> v;
      for (int m = 1; m <= 50; ++m) v.push_back(t.StressNorm[r][m][g]);
      out += csvInts(v);
    }
  out += csvInts(std::vector<int>(t.StressCut.begin() + 1, t.StressCut.end()));
  for (int s = 1; s <= 5; ++s) {
    std::vector<int> v{static_cast<int>(t.ScaleItems[s].size())};
    v.insert(v.end(), t.ScaleItems[s].begin(), t.ScaleItems[s].end());
    out += csvInts(v);
  }
  out += csvInts(std::vector<int>(t.KeyItems.begin() + 1, t.KeyItems.end()));
  for (int s = 2; s <= 6; ++s) out += csvInts(std::vector<int>(t.TruthCorrection[s].begin() + 1, t.TruthCorrection[s].end()));
  return out;
}

// The lines of report bytes; each must end with CR LF.
inline std::vector<std::string> crlfLines(const std::string& bytes) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t e = bytes.find("\r\n", start);
    EXPECT_NE(e, std::string::npos) << "every line ends with CR LF";
    if (e == std::string::npos) break;
    out.push_back(bytes.substr(start, e - start));
    start = e + 2;
  }
  return out;
}

// The texts of the problems found, in order.
inline Texts problemTexts(const std::vector<zv::DataProblem>& found) {
  Texts out;
  for (const auto& p : found) out.push_back(p.text());
  return out;
}

// A file's lines; a file written as CR LF lines; line `n` (1-based) of a file
// replaced by `text` (a line past the end is added).
inline Texts fileLines(const std::string& path) { return zv::splitLines(readBytes(path)); }
inline void writeLines(const std::string& path, const Texts& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  writeBytes(path, out);
}
inline void setLine(const std::string& path, int n, const std::string& text) {
  Texts lines = fileLines(path);
  lines.resize(std::max<std::size_t>(lines.size(), static_cast<std::size_t>(n)));
  lines[static_cast<std::size_t>(n - 1)] = text;
  writeLines(path, lines);
}

// The fault a call must throw; a failure (and an empty fault) when it throws none.
template <class F>
zv::ZvError faultOf(F call) {
  try {
    call();
  } catch (const zv::ZvError& e) {
    return e;
  }
  ADD_FAILURE() << "no fault";
  return zv::ZvError(zv::ErrorKind::Other, 0, "");
}

inline const char* kParagraphFiles[7] = {"", "ZVVA.TXT", "ZVAL.TXT", "ZVDG.TXT", "ZVAS.TXT", "ZVVI.TXT", "ZVSC.TXT"};

// Three lines per sub-range, each naming its scale and sub-range, the first
// line 71 characters wide, so joined paragraphs need cutting and widening.
inline std::string paragraphFile(int scale) {
  const bool substance = scale == 2 || scale == 3;
  const std::vector<std::string> words =
      substance ? std::vector<std::string>{"LOW", "MEDIUM-LOW", "MEDIUM-HIGH", "PROBLEM-LOW", "PROBLEM-HIGH", "SEVERE", "MAXIMUM"}
                : std::vector<std::string>{"LOW", "MEDIUM-LOW", "MEDIUM-HIGH", "PROBLEM", "MAXIMUM-LOW", "MAXIMUM-HIGH"};
  std::string out = "Paragraphs of scale " + std::to_string(scale) + "\r\n";
  for (const auto& w : words) {
    out += w + "\r\n";
    std::string first = "Scale " + std::to_string(scale) + " " + w + ": this line is filled out to the full width";
    first.resize(71, '.');
    out += first + "\r\n";
    out += "of a report line, and the paragraph goes on with a second line and\r\n";
    out += "ends with a third, shorter one (r\xE9sum\xE9).\r\n";
    out += "END\r\n";
  }
  return out;
}

// testTables() as an installation the checker passes, so that reports are
// produced from it: the same points and texts in the report, but keys of full
// length and all digits, answer texts cut to 71 characters, and men's
// truthfulness norms that never fall (raw scores 11 to 99 give 94).
inline zv::ReportTables reportableTables() {
  zv::ReportTables t = testTables();
  for (auto& text : t.ChoiceText) text = text.substr(0, 71);
  std::replace(t.ScoringKey[2][2].begin(), t.ScoringKey[2][2].end(), 'x', '0');
  t.ScoringKey[4][0] = std::string(23, '0');
  for (int r = 1; r <= 3; ++r)
    for (int x = 11; x <= 99; ++x) t.NormTable[1][x][r][1] = 94;
  return t;
}

inline void writeInstallation(const std::string& dir, const zv::ReportTables& t = reportableTables()) {
  writeBytes(dir + "/ZVRPT.TXT", rptText(t));
  writeBytes(dir + "/ZVB.TXT", bText(t));
  for (int s = 1; s <= 6; ++s) writeBytes(dir + "/" + kParagraphFiles[s], paragraphFile(s));
  writeBytes(dir + "/ZVINVAL.TXT",
             "This test is not valid: the Truthfulness Scale score lies at or above\r\n"
             "the 95th percentile, or too many items were answered \"true\".\r\n"
             "\r\n"
             "Retest the client after an interview.\r\n"
             "END\r\n"
             "Lines after END are not printed.\r\n");
  writeBytes(dir + "/ZVFOOT.TXT",
             "Test installation for the report tests.  All rights reserved.\r\n"
             "Second notice line of the test installation\r\n");
}

}  // namespace zvtest
