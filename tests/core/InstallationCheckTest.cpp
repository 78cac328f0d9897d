// The installation checker and the report on copies of the bundled
// installation with one thing broken: each case gives exactly its problems,
// and the report is refused with the first fault (the previous report.prn
// stays) or, with warnings only, produced.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>

#include "records/ClientFile.h"
#include "records/FileSystem.h"
#include "report/CheckerAgreement.h"
#include "report/ScoreAndReport.h"
#include "scoring/InstallationCheck.h"
#include "tests/core/ReportTestInstallation.h"

using namespace zv;

namespace {

using Texts = std::vector<std::string>;

const char* const kDataFiles[] = {"ZVB.TXT",  "ZVRPT.TXT", "ZVVA.TXT",    "ZVAL.TXT",   "ZVDG.TXT", "ZVAS.TXT",
                                  "ZVVI.TXT", "ZVSC.TXT",  "ZVINVAL.TXT", "ZVFOOT.TXT", "ZV.db"};

class BrokenInstallation : public ::testing::Test {
 public:
  void SetUp() override {
    LoadClientFile(fs, std::string(ZV_PROGRAM_DIR) + "/samples/DATA401.ZV", samples);
    restore();
  }
  void restore() {
    for (const char* f : kDataFiles)
      std::filesystem::copy_file(std::string(ZV_PROGRAM_DIR) + "/" + f, dir.file(f),
                                 std::filesystem::copy_options::overwrite_existing);
  }
  Texts lines(const std::string& name) { return zvtest::fileLines(dir.file(name)); }
  void write(const std::string& name, const Texts& ls) { zvtest::writeLines(dir.file(name), ls); }
  void setLine(const std::string& name, int n, const std::string& text) { zvtest::setLine(dir.file(name), n, text); }
  // Line `number` with `from` replaced by `to`, at its first place.
  void edit(const std::string& name, int number, const std::string& from, const std::string& to) {
    std::string l = lines(name).at(static_cast<std::size_t>(number - 1));
    ASSERT_NE(l.find(from), std::string::npos) << name << ":" << number;
    setLine(name, number, l.replace(l.find(from), from.size(), to));
  }
  void eraseLine(const std::string& name, int number) {
    auto ls = lines(name);
    ls.erase(ls.begin() + number - 1);
    write(name, ls);
  }
  int lineOf(const std::string& name, const std::string& text, int after = 0) {
    const auto ls = lines(name);
    const auto at = std::find(ls.begin() + after, ls.end(), text);
    EXPECT_NE(at, ls.end()) << text;
    return static_cast<int>(at - ls.begin()) + 1;
  }
  std::string at(const std::string& name, int line) { return name + ":" + std::to_string(line) + ": "; }
  void sql(const std::string& statement) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.file("ZV.db").c_str(), &db), SQLITE_OK);
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
  }
  Texts check() { return zvtest::problemTexts(CheckInstallation(fs, dir.path())); }
  // "" when the report of sample client 1 is produced; else the refusal as
  // the checker words it (a file that cannot be read gives the platform's
  // error), after making sure the previous report.prn stayed.
  std::string refusal() {
    zvtest::writeBytes(dir.file("report.prn"), "previous");
    samples.CurrentRecord = 1;
    try {
      ScoreAndReport(fs, samples, {dir.path(), "", true});
      EXPECT_NE(zvtest::readBytes(dir.file("report.prn")), "previous");
      return "";
    } catch (const ZvError& e) {
      EXPECT_EQ(zvtest::readBytes(dir.file("report.prn")), "previous");
      return e.kind() == ErrorKind::BadData ? e.description()
                                            : baseName(e.path()) + ":0: cannot be read: " + e.description();
    }
  }

  zvtest::TempDir dir;
  RealFileSystem fs;
  ClientTable samples;
};

using Case = std::pair<const char*, std::function<Texts(BrokenInstallation&)>>;

}  // namespace

TEST_F(BrokenInstallation, EachFaultBlocksTheReportWithTheCheckersFirstLine) {
  using F = BrokenInstallation;
  // Line `line` of `file` with `from` replaced by `to` (or, without `from`, set to `to`) gives `problem`.
  // The line: by number, or the `line`th after the first line `after`; `problem` is reported on it.
  struct Where { int line; const char* after = nullptr; };
  auto edited = [](const char* file, Where w, std::string from, std::string to, std::string problem) {
    return [=](F& f) {
      const int line = w.after ? f.lineOf(file, w.after) + w.line : w.line;
      from.empty() ? f.setLine(file, line, to) : f.edit(file, line, from, to);
      return Texts{f.at(file, line) + problem};
    };
  };
  const std::string wide(72, 'a');
  std::string cuts = "14, 18, 22";
  for (int m = 4; m <= 50; ++m) cuts += ", " + std::to_string(14 + 4 * m);
  const Case cases[] = {
      {"an untouched copy", [](F&) { return Texts{}; }},
      // ZVRPT.TXT
      {"a deleted text line", [](F& f) {
         f.eraseLine("ZVRPT.TXT", 50);
         return Texts{"ZVRPT.TXT:136: file ends early: answer text 92 (item 162, answer 4) expected"};
       }},
      {"a scale name too wide", edited("ZVRPT.TXT", {1}, "Stress Coping", "Stress Coping Measure",
                                       "scale name 6 is 21 characters long; at most 20 fit the report")},
      {"a significant item text too wide",
       edited("ZVRPT.TXT", {3}, "", "7. Drinks more than intended, often daily",
              "significant item text 1 is 41 characters long; at most 36 fit the report")},
      {"an empty significant item text", edited("ZVRPT.TXT", {4}, "", "", "significant item text 2 is empty")},
      {"an answer text too wide", edited("ZVRPT.TXT", {45}, "", "140. " + std::string(67, 'x'),
                                         "answer text 1 is 72 characters long; at most 71 fit the report")},
      {"an answer text saved as UTF-8",
       edited("ZVRPT.TXT", {46}, "", "140. Se emborrach\xC3\xB3 una vez",
              "answer text 2 looks UTF-8 encoded; installation files are Windows-1252")},
      {"a DEL byte in a text", edited("ZVRPT.TXT", {3}, " ", "\x7F", "control character 0x7F")},
      // ZVB.TXT (the parser's own faults, blank lines, early ends, control characters and line
      // ends of every kind: ReportDataTest)
      {"a norm percentile of 150",
       edited("ZVB.TXT", {22}, ", 31,", ", 150,",
              "percentile of raw score 7 (gender 1, race 1, scale 2) is 150; it must be 0 to 99")},
      {"a falling norm", edited("ZVB.TXT", {21}, "96, 97", "96, 90",
                                "percentile of raw score 13 (gender 1, race 1, scale 1) is 90, below the 96 of raw "
                                "score 12; percentiles must not fall as the raw score rises")},
      {"a falling stress norm", edited("ZVB.TXT", {51}, "1, 3, 6,", "1, 3, 2,",
                                       "stress norm 3 (gender 1, race 1) is 2, below the 3 of row 2; percentiles must "
                                       "not fall as the stress ratio rises")},
      {"a short key", edited("ZVB.TXT", {7}, "\"0", "\"",
                             "scoring key of key section 1, answer code 2 has 59 characters; the section has 60 "
                             "items")},
      {"a letter in a key", edited("ZVB.TXT", {6}, "\"1", "\"x",
                                   "scoring key of key section 1, answer code 1 holds \"x\" at position 1; points are "
                                   "the digits 0 to 9")},
      {"a first stress cut that leaves the lowest ratio, 15, in no row",
       edited("ZVB.TXT", {57}, "", "15" + cuts.substr(2) + ", 248",
              "stress cut 1 is 15; it must be 14 or less so that the lowest ratio 15 falls in a row")},
      {"stress cuts that do not ascend",
       edited("ZVB.TXT", {57}, "", "14, 18, 18" + cuts.substr(10) + ", 248",
              "stress cut 3 is 18, not above stress cut 2 (18); the cuts must ascend")},
      {"a last stress cut below the highest corrected ratio",
       edited("ZVB.TXT", {57}, "", cuts + ", 247",
              "stress cut 51 is 247; it must be 248 or more so that the highest ratio (240, plus 8 from the "
              "truthfulness correction) falls in a row")},
      {"a last stress cut below 240, nothing lifting the ratio", [&](F& f) {
         f.setLine("ZVB.TXT", 57, cuts + ", 239");
         f.setLine("ZVB.TXT", 71, "0, 0, 0, 0, 0, 0, 0, 0, 0");
         return Texts{"ZVB.TXT:57: stress cut 51 is 239; it must be 240 or more so that the highest ratio 240 falls "
                      "in a row"};
       }},
      {"an item twice in a scale list", edited("ZVB.TXT", {58}, "22, 1, 6,", "23, 1, 1, 6,",
                                               "item 1 stands twice in the item list of scale 1")},
      {"a key item twice", edited("ZVB.TXT", {64}, ", 158", ", 4",
                                  "key item 32 (item 4) stands twice among the key items of scale 3")},
      // Paragraph files
      {"a paragraph without its END", [](F& f) {
         const int severe = f.lineOf("ZVAL.TXT", "SEVERE");
         f.eraseLine("ZVAL.TXT", f.lineOf("ZVAL.TXT", "END", severe));
         return Texts{f.at("ZVAL.TXT", severe) + "the paragraph \"SEVERE\" runs into the sub-range line \"MAXIMUM\"; a "
                                                 "line \"END\" is missing before it"};
       }},
      {"the last paragraph without its END", [](F& f) {
         f.eraseLine("ZVSC.TXT", static_cast<int>(f.lines("ZVSC.TXT").size()));
         return Texts{f.at("ZVSC.TXT", f.lineOf("ZVSC.TXT", "MAXIMUM-HIGH")) +
                      "the paragraph \"MAXIMUM-HIGH\" is not closed by a line \"END\""};
       }},
      {"a sub-range word with a blank",
       edited("ZVAS.TXT", {0, "MEDIUM-HIGH"}, "", "MEDIUM-HIGH ",
              "the sub-range line \"MEDIUM-HIGH\" has blanks around the word; it must stand alone on its line")},
      {"a sub-range word missing", [](F& f) {
         f.eraseLine("ZVVI.TXT", f.lineOf("ZVVI.TXT", "MAXIMUM-HIGH"));
         return Texts{"ZVVI.TXT:0: no line \"MAXIMUM-HIGH\": the paragraph of this sub-range is missing"};
       }},
      {"an empty paragraph", [](F& f) {
         const int problem = f.lineOf("ZVVI.TXT", "PROBLEM");
         while (f.lines("ZVVI.TXT").at(static_cast<std::size_t>(problem)) != "END")
           f.eraseLine("ZVVI.TXT", problem + 1);
         return Texts{f.at("ZVVI.TXT", problem) + "the paragraph \"PROBLEM\" is empty"};
       }},
      {"a form feed in a paragraph line", edited("ZVAL.TXT", {1, "LOW"}, " ", "\x0C", "control character 0x0C")},
      {"a paragraph line too wide (printed whole)",
       edited("ZVAS.TXT", {1, "LOW"}, "", wide,
              "warning: paragraph line is 72 characters long; it runs past column 78 of the report")},
      {"a missing paragraph file", [](F& f) {
         std::filesystem::remove(f.dir.file("ZVDG.TXT"));
         return Texts{"ZVDG.TXT:0: cannot be read: No such file or directory"};
       }},
      // ZVINVAL.TXT and ZVFOOT.TXT
      {"an invalid-test line too wide (printed whole)",
       edited("ZVINVAL.TXT", {1}, "", wide,
              "warning: line is 72 characters long; it runs past column 78 of the report")},
      {"the invalid-test text without END", [](F& f) {
         const int end = static_cast<int>(f.lines("ZVINVAL.TXT").size());
         f.eraseLine("ZVINVAL.TXT", end);
         return Texts{f.at("ZVINVAL.TXT", end) + "file ends without the line \"END\""};
       }},
      {"a second notice line too wide and a third line", [](F& f) {
         f.write("ZVFOOT.TXT", {"CONFIDENTIAL", std::string(70, 'c'), "A third line"});
         return Texts{"ZVFOOT.TXT:2: warning: notice line 2 is 70 characters long; it runs past column 78 of the report",
                      "ZVFOOT.TXT:3: warning: only the first two lines are printed; this line never shows"};
       }},
      {"one notice line only", [](F& f) {
         f.write("ZVFOOT.TXT", {"CONFIDENTIAL"});
         return Texts{"ZVFOOT.TXT:2: file ends early: notice line 2 of 2 expected"};
       }},
  };
  for (const auto& [name, mutate] : cases) {
    SCOPED_TRACE(name);
    restore();
    const Texts expected = mutate(*this);
    EXPECT_EQ(check(), expected);
    const auto fault = std::find_if(expected.begin(), expected.end(),
                                    [](const std::string& p) { return p.find(": warning: ") == std::string::npos; });
    EXPECT_EQ(refusal(), fault == expected.end() ? "" : *fault);
  }
}

// The question tables are no report file: their faults fail the check, but
// reports are still produced.
TEST_F(BrokenInstallation, QuestionAnswersAndGridTypes) {
  sql("UPDATE English SET ANSWER2 = 'Often' WHERE ID = 150;"
      "UPDATE English SET ANSWER2 = 'Falso' WHERE ID = 12;"
      "UPDATE English SET ANSWER3 = 'Maybe' WHERE ID = 20;"
      "UPDATE Spanish SET ANSWER3 = NULL WHERE ID = 107;"
      "UPDATE Spanish SET ChoiceAudio2 = ' ' WHERE ID = 108;"
      "UPDATE Spanish SET TestQuestion = '' WHERE ID = 9;");
  EXPECT_EQ(check(),
            (Texts{"ZV.db:12: table English, item 12: ANSWER2 \"Falso\" gives grid answer type 2; section 1 needs type 0 "
                   "(\"False\")",
                   "ZV.db:20: table English, item 20: ChoiceAudio3 is empty",
                   "ZV.db:20: table English, item 20: 3 answers; items of section 1 have 2",
                   "ZV.db:150: table English, item 150: ANSWER2 \"Often\" gives grid answer type 6; section 3 needs a "
                   "four-answer type (2, 3 or 4)",
                   "ZV.db:9: table Spanish, item 9: TestQuestion is empty",
                   "ZV.db:107: table Spanish, item 107: ANSWER4 is filled but an earlier answer is empty",
                   "ZV.db:107: table Spanish, item 107: 3 answers; items of section 2 have 4",
                   "ZV.db:108: table Spanish, item 108: ChoiceAudio2 is empty"}));
  EXPECT_EQ(refusal(), "");
}

TEST_F(BrokenInstallation, QuestionTableNamesRowsAndFields) {
  sql("ALTER TABLE Spanish RENAME TO Spanish_old;"
      "ALTER TABLE Spanish_old RENAME TO spanish;"
      "DELETE FROM English WHERE ID = 161;"
      "ALTER TABLE English DROP COLUMN ChoiceAudio5;");
  EXPECT_EQ(check(), (Texts{"ZV.db:0: table English has 161 rows; it must have one per item, 162",
                            "ZV.db:0: table English has no field \"ChoiceAudio5\"",
                            "ZV.db:161: table English: row 161 holds ID \"162\"; IDs must run 1 to 162 in stored order",
                            "ZV.db:0: table \"spanish\" is not found by the language choice; name it exactly \"Spanish\""}));
  std::filesystem::remove(dir.file("ZV.db"));
  EXPECT_EQ(check(), (Texts{"ZV.db:0: cannot be opened: No such file or directory"}));
}

// Random single mutations of the bundled installation (the long run: zvmutate):
// the checker finds a fault exactly when no sample client's report can be
// produced, and no control byte reaches a report.
TEST(CheckerAgreement, MutantsOfTheBundledInstallation) {
  zvtest::TempDir dir;
  const AgreementRun run = RunCheckerAgreement(ZV_PROGRAM_DIR, ZV_PROGRAM_DIR "/samples/DATA401.ZV", dir.path(), 10, 80);
  EXPECT_EQ(run.disagreements, std::vector<std::string>{});
  EXPECT_EQ(run.mutants, 80);
  EXPECT_GE(run.refused, 15) << "both outcomes occur";
  EXPECT_GE(run.produced, 15);
}
