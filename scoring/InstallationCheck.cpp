#include "scoring/InstallationCheck.h"

#include <algorithm>
#include <optional>
#include <set>

#include "app/QuestionDb.h"
#include "records/ZvError.h"
#include "report/TextFiles.h"
#include "scoring/ReportData.h"
#include "scoring/ReportDataReader.h"
#include "sheets/GridEntry.h"
#include "testing/TestSections.h"

namespace zv {
namespace {

std::string n(long long v) { return std::to_string(v); }
std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// A Windows-1252 file saved as UTF-8 shows up as lead bytes followed by
// continuation bytes, which our texts never hold.
bool looksUtf8(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if (lead >= 0xC2 && lead <= 0xF4 && next >= 0x80 && next <= 0xBF) return true;
  }
  return false;
}

class Problems {
 public:
  explicit Problems(std::string file) : file_(std::move(file)) {}
  void add(int line, std::string what) { list_.push_back({file_, line, std::move(what)}); }
  void text(int line, const std::string& text, std::size_t maxLength, const std::string& what) {
    if (text.empty()) add(line, what + " is empty");
    if (text.size() > maxLength)
      add(line, what + " is " + n(static_cast<long long>(text.size())) + " characters long; at most " +
                    n(static_cast<long long>(maxLength)) + " fit the report");
    if (looksUtf8(text)) add(line, what + " looks UTF-8 encoded; installation files are Windows-1252");
  }
  std::vector<DataProblem> take() { return std::move(list_); }

 private:
  std::string file_;
  std::vector<DataProblem> list_;
};

std::vector<std::string> readLines(FileSystem& fs, const std::string& path, std::vector<DataProblem>& out,
                                   bool* ok) {
  try {
    *ok = true;
    return splitLines(fs.readAll(path));
  } catch (const ZvError& e) {
    *ok = false;
    out.push_back({baseName(path), 0, "cannot be read: " + e.description()});
    return {};
  }
}

void checkRptValues(const ReportTables& t, const ReportTableLines& at, Problems& p) {
  for (int s = 1; s <= ReportTables::kScales; ++s)
    if (at.ScaleName[s]) p.text(at.ScaleName[s], t.ScaleName[s], kMaxScaleName, "scale name " + n(s));
  for (int k = 1; k <= ReportTables::kSignificant; ++k)
    if (at.SignificantItemText[k])
      p.text(at.SignificantItemText[k], t.SignificantItemText[k], kMaxSignificantText,
             "significant item text " + n(k));
  for (int k = 1; k <= ReportTables::kChoices; ++k)
    if (at.ChoiceText[k]) p.text(at.ChoiceText[k], t.ChoiceText[k], kMaxBodyLine, "answer text " + n(k));
}

void checkBValues(const ReportTables& t, const ReportTableLines& at, Problems& p) {
  const int codes[5] = {0, 2, 2, 4, 4};
  // Key sections: items 1-60, 61 to the end of section 1, then sections 2 and 3.
  const int sizes[5] = {0, 60, kSectionEnds[1] - 60, kSectionEnds[2] - kSectionEnds[1], kSectionEnds[3] - kSectionEnds[2]};
  for (int k = 1; k <= 4; ++k) {
    const int size = sizes[k];
    for (int c = 0; c <= codes[k]; ++c) {
      if (!at.ScoringKey[k][c]) continue;
      const std::string& key = t.ScoringKey[k][c];
      const std::string what = "scoring key of key section " + n(k) + ", answer code " + n(c);
      if (static_cast<int>(key.size()) != size)
        p.add(at.ScoringKey[k][c], what + " has " + n(static_cast<long long>(key.size())) +
                                       " characters; the section has " + n(size) + " items");
      const auto bad = std::find_if(key.begin(), key.end(), [](char ch) { return ch < '0' || ch > '9'; });
      if (bad != key.end())
        p.add(at.ScoringKey[k][c], what + " holds " + quoted(std::string(1, *bad)) + " at position " +
                                       n(bad - key.begin() + 1) + "; points are the digits 0 to 9");
    }
  }
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (int s = 1; s <= 5; ++s) {
        const std::string group = "gender " + n(g) + ", race " + n(r) + ", scale " + n(s);
        int previous = 0;
        for (int x = 1; x <= t.NormCount[g][r][s]; ++x) {
          const int line = at.NormTable[s][x][r][g];
          if (!line) break;
          const int v = t.NormTable[s][x][r][g];
          if (v < 0 || v > 99)
            p.add(line, "percentile of raw score " + n(x) + " (" + group + ") is " + n(v) + "; it must be 0 to 99");
          else if (v < previous)
            p.add(line, "percentile of raw score " + n(x) + " (" + group + ") is " + n(v) +
                            ", below the " + n(previous) + " of raw score " + n(x - 1) +
                            "; percentiles must not fall as the raw score rises");
          previous = std::max(previous, v);
        }
      }
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r) {
      int previous = 0;
      for (int m = 1; m <= ReportTables::kStressRows; ++m) {
        const int line = at.StressNorm[r][m][g];
        if (!line) break;
        const int v = t.StressNorm[r][m][g];
        const std::string what = "stress norm " + n(m) + " (gender " + n(g) + ", race " + n(r) + ") is " + n(v);
        if (v < 0 || v > 99) p.add(line, what + "; it must be 0 to 99");
        else if (v < previous)
          p.add(line, what + ", below the " + n(previous) + " of row " + n(m - 1) +
                          "; percentiles must not fall as the stress ratio rises");
        previous = std::max(previous, v);
      }
    }
  if (at.StressCut[ReportTables::kStressRows + 1]) {
    if (t.StressCut[1] > 15)
      p.add(at.StressCut[1], "stress cut 1 is " + n(t.StressCut[1]) + "; it must be 15 or less so that the lowest ratio 15 falls in a row");
    for (int m = 2; m <= ReportTables::kStressRows + 1; ++m)
      if (t.StressCut[m] <= t.StressCut[m - 1])
        p.add(at.StressCut[m], "stress cut " + n(m) + " is " + n(t.StressCut[m]) + ", not above stress cut " +
                                   n(m - 1) + " (" + n(t.StressCut[m - 1]) + "); the cuts must ascend");
    // The ratio reaches 240, and the truthfulness correction of scale 6 is
    // added before the look-up; a ratio above the last cut falls in no row
    // and would read as percentile 0.
    int lift = 0;
    for (int b = 1; b <= 9; ++b)
      if (at.TruthCorrection[6][b]) lift = std::max(lift, t.TruthCorrection[6][b]);
    const int highest = 240 + lift;
    if (t.StressCut[51] < highest)
      p.add(at.StressCut[51], "stress cut 51 is " + n(t.StressCut[51]) + "; it must be " + n(highest) +
                                  " or more so that the highest ratio" +
                                  (lift ? " (240, plus " + n(lift) + " from the truthfulness correction)" : std::string(" 240")) +
                                  " falls in a row");
  }
  for (int s = 1; s <= 5; ++s) {
    std::set<int> seen;
    for (std::size_t i = 0; i < t.ScaleItems[s].size(); ++i)
      if (!seen.insert(t.ScaleItems[s][i]).second)
        p.add(at.ScaleItems[s][i], "item " + n(t.ScaleItems[s][i]) + " stands twice in the item list of scale " + n(s));
  }
  const int firstKey[5] = {1, 16, 33, 46, 61};
  for (int grp = 0; grp < 4; ++grp) {
    std::set<int> seen;
    for (int k = firstKey[grp]; k < firstKey[grp + 1]; ++k)
      if (at.KeyItems[k] && !seen.insert(t.KeyItems[k]).second)
        p.add(at.KeyItems[k], "key item " + n(k) + " (item " + n(t.KeyItems[k]) + ") stands twice among the key items of scale " +
                                  n(grp + 2));
  }
}

}  // namespace

const std::vector<std::string>& subRangeWords(int scale) {
  static const std::vector<std::string> plain = {"LOW", "MEDIUM-LOW", "MEDIUM-HIGH", "PROBLEM", "MAXIMUM-LOW", "MAXIMUM-HIGH"};
  static const std::vector<std::string> substance = {"LOW",          "MEDIUM-LOW", "MEDIUM-HIGH", "PROBLEM-LOW",
                                                     "PROBLEM-HIGH", "SEVERE",     "MAXIMUM"};
  return scale == 2 || scale == 3 ? substance : plain;
}

std::vector<DataProblem> CheckReportTables(FileSystem& fs, const std::string& programDir) {
  std::vector<DataProblem> found;
  ReportTableLines at;
  const ReportTables t = ReadReportTables(fs, programDir, &found, &at);
  Problems rpt("ZVRPT.TXT");
  checkRptValues(t, at, rpt);
  Problems b("ZVB.TXT");
  checkBValues(t, at, b);
  for (auto* extra : {&rpt, &b})
    for (auto& p : extra->take()) found.push_back(std::move(p));
  // One file's problems together, each file in line order.
  std::stable_sort(found.begin(), found.end(), [](const DataProblem& a, const DataProblem& c) {
    if (a.file != c.file) return a.file == "ZVRPT.TXT";
    return a.line < c.line;
  });
  return found;
}

std::vector<DataProblem> CheckParagraphFile(FileSystem& fs, const std::string& programDir, int scale) {
  std::vector<DataProblem> out;
  const std::string name = paragraphFileName(scale);
  bool ok = false;
  const auto lines = readLines(fs, joinPath(programDir, name), out, &ok);
  if (!ok) return out;
  Problems p(name);
  const auto& words = subRangeWords(scale);
  std::vector<bool> inParagraph(lines.size(), false);
  for (const auto& word : words) {
    const auto at = std::find(lines.begin(), lines.end(), word);
    if (at == lines.end()) {
      const auto near = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
        const auto first = l.find_first_not_of(" \t");
        const auto last = l.find_last_not_of(" \t");
        return first != std::string::npos && l.substr(first, last - first + 1) == word;
      });
      if (near != lines.end())
        p.add(static_cast<int>(near - lines.begin()) + 1,
              "the sub-range line " + quoted(word) + " has blanks around the word; it must stand alone on its line");
      else
        p.add(0, "no line " + quoted(word) + ": the paragraph of this sub-range is missing");
      continue;
    }
    const int wordLine = static_cast<int>(at - lines.begin()) + 1;
    std::size_t i = static_cast<std::size_t>(wordLine);
    bool closed = false;
    std::string runsInto;
    for (; i < lines.size(); ++i) {
      if (lines[i] == "END") {
        closed = true;
        break;
      }
      if (runsInto.empty() && std::find(words.begin(), words.end(), lines[i]) != words.end()) runsInto = lines[i];
      inParagraph[i] = true;
    }
    if (!closed)
      p.add(wordLine, "the paragraph " + quoted(word) + " is not closed by a line \"END\"");
    else if (!runsInto.empty())
      p.add(wordLine, "the paragraph " + quoted(word) + " runs into the sub-range line " + quoted(runsInto) +
                          "; a line \"END\" is missing before it");
    else if (i == static_cast<std::size_t>(wordLine))
      p.add(wordLine, "the paragraph " + quoted(word) + " is empty");
  }
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (inParagraph[i] && !lines[i].empty()) p.text(static_cast<int>(i) + 1, lines[i], kMaxBodyLine, "paragraph line");
  auto found = p.take();
  std::stable_sort(found.begin(), found.end(), [](const DataProblem& a, const DataProblem& c) { return a.line < c.line; });
  return found;
}

std::vector<DataProblem> CheckInvalidText(FileSystem& fs, const std::string& programDir) {
  std::vector<DataProblem> out;
  bool ok = false;
  const auto lines = readLines(fs, joinPath(programDir, "ZVINVAL.TXT"), out, &ok);
  if (!ok) return out;
  Problems p("ZVINVAL.TXT");
  std::size_t i = 0;
  for (; i < lines.size() && lines[i] != "END"; ++i)
    if (!lines[i].empty()) p.text(static_cast<int>(i) + 1, lines[i], kMaxBodyLine, "line");
  if (i == lines.size()) p.add(static_cast<int>(lines.size()) + 1, "file ends without the line \"END\"");
  return p.take();
}

std::vector<DataProblem> CheckFootLines(FileSystem& fs, const std::string& programDir) {
  std::vector<DataProblem> out;
  bool ok = false;
  const auto lines = readLines(fs, joinPath(programDir, "ZVFOOT.TXT"), out, &ok);
  if (!ok) return out;
  Problems p("ZVFOOT.TXT");
  if (lines.size() < 2)
    p.add(static_cast<int>(lines.size()) + 1,
          "file ends early: notice line " + n(static_cast<long long>(lines.size()) + 1) + " of 2 expected");
  if (!lines.empty()) p.text(1, lines[0], kMaxBodyLine, "notice line 1");
  if (lines.size() >= 2) p.text(2, lines[1], kMaxSecondFootLine, "notice line 2");
  for (std::size_t i = 2; i < lines.size(); ++i)
    if (lines[i].find_first_not_of(" \t") != std::string::npos)
      p.add(static_cast<int>(i) + 1, "only the first two lines are printed; this line never shows");
  return p.take();
}

std::vector<DataProblem> CheckQuestionTables(const std::string& programDir) {
  Problems p("ZV.db");
  std::optional<Database> db;
  try {
    db.emplace(Workspace::standard(joinPath(programDir, "zv.ini")).OpenDatabase(joinPath(programDir, "ZV.db")));
  } catch (const ZvError& e) {
    p.add(0, "cannot be opened: " + e.description());
    return p.take();
  }
  static const char* const kFields[] = {"ID",           "TestQuestion", "QuestionAudio", "ANSWER1",      "ANSWER2",
                                        "ANSWER3",      "ANSWER4",      "ANSWER5",       "ChoiceAudio1", "ChoiceAudio2",
                                        "ChoiceAudio3", "ChoiceAudio4", "ChoiceAudio5"};
  const auto names = db->TableNames();
  for (const std::string table : {"English", "Spanish"}) {
    if (std::find(names.begin(), names.end(), table) == names.end()) {
      std::string near;
      for (const auto& nm : names) {
        std::string a = nm, b = table;
        std::transform(a.begin(), a.end(), a.begin(), ::tolower);
        std::transform(b.begin(), b.end(), b.begin(), ::tolower);
        if (a == b) near = nm;
      }
      p.add(0, near.empty() ? "no table " + quoted(table)
                            : "table " + quoted(near) + " is not found by the language choice; name it exactly " + quoted(table));
      continue;
    }
    Recordset rs = db->OpenTable(table);
    if (rs.RecordCount() != 162)
      p.add(0, "table " + table + " has " + n(rs.RecordCount()) + " rows; it must have one per item, 162");
    if (rs.RecordCount() == 0) continue;
    rs.MoveFirst();
    std::set<std::string> present;
    for (const char* f : kFields) {
      try {
        rs.field(f);
        present.insert(f);
      } catch (const ZvError&) {
        p.add(0, "table " + table + " has no field " + quoted(f));
      }
    }
    auto get = [&](const std::string& f) { return present.count(f) ? rs.field(f) : std::string(); };
    auto blank = [](const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; };
    int row = 0;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
      ++row;
      if (row > 162) break;
      const std::string where = "table " + table + ", item " + n(row) + ": ";
      if (present.count("ID") && rs.fieldInt("ID") != row)
        p.add(row, "table " + table + ": row " + n(row) + " holds ID " + quoted(get("ID")) +
                       "; IDs must run 1 to 162 in stored order");
      if (present.count("TestQuestion") && blank(get("TestQuestion"))) p.add(row, where + "TestQuestion is empty");
      if (present.count("QuestionAudio") && blank(get("QuestionAudio"))) p.add(row, where + "QuestionAudio is empty");
      int answers = 0;
      bool gap = false;
      for (int a = 1; a <= 5; ++a) {
        const std::string f = "ANSWER" + n(a);
        if (!present.count(f)) continue;
        if (blank(get(f))) {
          gap = true;
          continue;
        }
        if (gap) p.add(row, where + f + " is filled but an earlier answer is empty");
        ++answers;
        const std::string audio = "ChoiceAudio" + n(a);
        if (present.count(audio) && blank(get(audio))) p.add(row, where + audio + " is empty");
      }
      const int section = sectionOf(row);
      const int wanted = section == 1 ? 2 : 4;
      if (answers != wanted)
        p.add(row, where + n(answers) + " answers; items of section " + n(section) + " have " + n(wanted));
      if (table == "English" && present.count("ANSWER2")) {
        const int type = answerTypeOf(get("ANSWER2"));
        const bool fits = section == 1 ? type == 0 : section == 2 ? type == 3 : (type >= 2 && type <= 4);
        if (!fits)
          p.add(row, where + "ANSWER2 " + quoted(get("ANSWER2")) + " gives grid answer type " + n(type) +
                         (section == 1   ? "; section 1 needs type 0 (\"False\")"
                          : section == 2 ? "; section 2 needs type 3 (\"Sometimes\")"
                                         : "; section 3 needs a four-answer type (2, 3 or 4)"));
      }
    }
  }
  return p.take();
}

std::vector<DataProblem> CheckInstallation(FileSystem& fs, const std::string& programDir) {
  std::vector<DataProblem> all = CheckReportTables(fs, programDir);
  auto append = [&](std::vector<DataProblem> more) {
    for (auto& p : more) all.push_back(std::move(p));
  };
  for (int s = 1; s <= 6; ++s) append(CheckParagraphFile(fs, programDir, s));
  append(CheckInvalidText(fs, programDir));
  append(CheckFootLines(fs, programDir));
  append(CheckQuestionTables(programDir));
  return all;
}

}  // namespace zv
