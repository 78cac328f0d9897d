#include "scoring/InstallationCheck.h"

#include <algorithm>
#include <optional>
#include <set>

#include "app/QuestionDb.h"
#include "records/ZvError.h"
#include "report/ReportInstallation.h"
#include "sheets/GridEntry.h"
#include "testing/TestSections.h"

namespace zv {
namespace {

std::string n(long long v) { return std::to_string(v); }
std::string quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

std::vector<DataProblem> CheckQuestionTables(const std::string& programDir) {
  std::vector<DataProblem> found;
  FileProblems p("ZV.db", found);
  std::optional<Database> db;
  try {
    db.emplace(Workspace::standard(joinPath(programDir, "zv.ini")).OpenDatabase(joinPath(programDir, "ZV.db")));
  } catch (const ZvError& e) {
    p.fault(0, "cannot be opened: " + e.description());
    return found;
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
      p.fault(0, near.empty() ? "no table " + quoted(table)
                            : "table " + quoted(near) + " is not found by the language choice; name it exactly " + quoted(table));
      continue;
    }
    Recordset rs = db->OpenTable(table);
    if (rs.RecordCount() != 162)
      p.fault(0, "table " + table + " has " + n(rs.RecordCount()) + " rows; it must have one per item, 162");
    if (rs.RecordCount() == 0) continue;
    rs.MoveFirst();
    std::set<std::string> present;
    for (const char* f : kFields) {
      try {
        rs.field(f);
        present.insert(f);
      } catch (const ZvError&) {
        p.fault(0, "table " + table + " has no field " + quoted(f));
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
        p.fault(row, "table " + table + ": row " + n(row) + " holds ID " + quoted(get("ID")) +
                       "; IDs must run 1 to 162 in stored order");
      if (present.count("TestQuestion") && blank(get("TestQuestion"))) p.fault(row, where + "TestQuestion is empty");
      if (present.count("QuestionAudio") && blank(get("QuestionAudio"))) p.fault(row, where + "QuestionAudio is empty");
      int answers = 0;
      bool gap = false;
      for (int a = 1; a <= 5; ++a) {
        const std::string f = "ANSWER" + n(a);
        if (!present.count(f)) continue;
        if (blank(get(f))) {
          gap = true;
          continue;
        }
        if (gap) p.fault(row, where + f + " is filled but an earlier answer is empty");
        ++answers;
        const std::string audio = "ChoiceAudio" + n(a);
        if (present.count(audio) && blank(get(audio))) p.fault(row, where + audio + " is empty");
      }
      const int section = sectionOf(row);
      const int wanted = section == 1 ? 2 : 4;
      if (answers != wanted)
        p.fault(row, where + n(answers) + " answers; items of section " + n(section) + " have " + n(wanted));
      if (table == "English" && present.count("ANSWER2")) {
        const int type = answerTypeOf(get("ANSWER2"));
        const bool fits = section == 1 ? type == 0 : section == 2 ? type == 3 : (type >= 2 && type <= 4);
        if (!fits)
          p.fault(row, where + "ANSWER2 " + quoted(get("ANSWER2")) + " gives grid answer type " + n(type) +
                         (section == 1   ? "; section 1 needs type 0 (\"False\")"
                          : section == 2 ? "; section 2 needs type 3 (\"Sometimes\")"
                                         : "; section 3 needs a four-answer type (2, 3 or 4)"));
      }
    }
  }
  return found;
}

std::vector<DataProblem> CheckInstallation(FileSystem& fs, const std::string& programDir) {
  std::vector<DataProblem> all;
  ReadReportInstallation(fs, programDir, all);
  for (auto& p : CheckQuestionTables(programDir)) all.push_back(std::move(p));
  return all;
}

}  // namespace zv
