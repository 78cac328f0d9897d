// The installation checker on the bundled installation and on copies of it
// with one thing broken: each fault gives exactly its line.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "records/FileSystem.h"
#include "scoring/InstallationCheck.h"
#include "scoring/ReportData.h"
#include "tests/core/TestSupport.h"

using namespace zv;

namespace {

const char* const kDataFiles[] = {"ZVB.TXT",  "ZVRPT.TXT", "ZVVA.TXT",    "ZVAL.TXT",   "ZVDG.TXT", "ZVAS.TXT",
                                  "ZVVI.TXT", "ZVSC.TXT",  "ZVINVAL.TXT", "ZVFOOT.TXT", "ZV.db"};

std::vector<std::string> texts(const std::vector<DataProblem>& problems) {
  std::vector<std::string> out;
  for (const auto& p : problems) out.push_back(p.text());
  return out;
}

// A copy of the bundled installation whose files a test may break.
class BrokenInstallation : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : kDataFiles)
      std::filesystem::copy_file(std::string(ZV_PROGRAM_DIR) + "/" + f, dir.file(f));
  }
  std::vector<std::string> lines(const std::string& name) {
    return splitLines(zvtest::readBytes(dir.file(name)));
  }
  void write(const std::string& name, const std::vector<std::string>& ls) {
    std::string out;
    for (const auto& l : ls) out += l + "\r\n";
    zvtest::writeBytes(dir.file(name), out);
  }
  // Replaces line `number` (1-based) of a file.
  void setLine(const std::string& name, int number, const std::string& text) {
    auto ls = lines(name);
    ls.at(static_cast<std::size_t>(number - 1)) = text;
    write(name, ls);
  }
  int lineOf(const std::string& name, const std::string& text) {
    const auto ls = lines(name);
    const auto at = std::find(ls.begin(), ls.end(), text);
    EXPECT_NE(at, ls.end()) << text;
    return static_cast<int>(at - ls.begin()) + 1;
  }
  void sql(const std::string& statement) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.file("ZV.db").c_str(), &db), SQLITE_OK);
    char* err = nullptr;
    const int rc = sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &err);
    EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
  }
  std::vector<std::string> check() { return texts(CheckInstallation(fs, dir.path())); }

  zvtest::TempDir dir;
  RealFileSystem fs;
};

}  // namespace

TEST_F(BrokenInstallation, BundledInstallationAndAnUntouchedCopyPassEveryCheck) {
  EXPECT_EQ(texts(CheckInstallation(fs, ZV_PROGRAM_DIR)), std::vector<std::string>{});
  EXPECT_EQ(check(), std::vector<std::string>{});
}

TEST_F(BrokenInstallation, ReportTablesEndingEarlyOrBlank) {
  auto ls = lines("ZVB.TXT");
  ASSERT_EQ(ls.size(), 71u);
  write("ZVB.TXT", std::vector<std::string>(ls.begin(), ls.end() - 1));
  EXPECT_EQ(check(), (std::vector<std::string>{
                         "ZVB.TXT:71: file ends early: truthfulness correction of scale 6, band 1 expected"}));
  ls.insert(ls.begin() + 9, "");
  write("ZVB.TXT", ls);
  EXPECT_EQ(check(), (std::vector<std::string>{"ZVB.TXT:10: blank line where scoring key of key section 2, answer "
                                               "code 2 was expected (the rest of the file is not checked)"}));
}

// One line of ZVB.TXT replaced on a fresh copy: exactly its message.
TEST_F(BrokenInstallation, OneBadLineOfTheReportTables) {
  const auto original = lines("ZVB.TXT");
  std::string tooManyNorms = "100", fallingStress = "0, 10, 5";
  for (int i = 1; i <= 100; ++i) tooManyNorms += ", 99";
  for (int m = 4; m <= 50; ++m) fallingStress += ", 99";
  const struct { int line; std::string text, error; } cases[] = {
      {25, tooManyNorms, "ZVB.TXT:25: norm count of gender 1, race 1, scale 5 is 100; it must be 0 to 99"},
      {51, fallingStress,  // gender 1, race 1
       "ZVB.TXT:51: stress norm 3 (gender 1, race 1) is 5, below the 10 of row 2; percentiles must not fall as the "
       "stress ratio rises"},
      {4, "9, 19, 24, 35, 50, 56, 63, 76, 81, 161, 163", "ZVB.TXT:4: significant item 42 is 163; it must be 1 to 162"},
  };
  for (const auto& c : cases) {
    write("ZVB.TXT", original);
    setLine("ZVB.TXT", c.line, c.text);
    EXPECT_EQ(check(), std::vector<std::string>{c.error});
  }
}

// Keys, norms, lists and stress cuts broken at once: every fault with its line.
TEST_F(BrokenInstallation, ScoringKeysNormsListsAndStressCuts) {
  auto ls = lines("ZVB.TXT");
  std::string key = ls[5];  // key section 1, code 1
  key.replace(1, 1, "x");
  setLine("ZVB.TXT", 6, key);
  setLine("ZVB.TXT", 7, "\"0000\"");
  setLine("ZVB.TXT", 21, "15, 3, 9, 17, 27, 40, 53, 65, 76, 84, 89, 93, 96, 90, 98, 99");
  setLine("ZVB.TXT", 22, "28, 2, 6, 10, 15, 20, 27, 33, 40, 47, 54, 60, 67, 72, 77, 81, 85, 88, 90, 92, 94, 95, 96, 97, 97, "
                         "98, 98, 98, 100");
  std::string cuts = "16, 18, 18";
  for (int m = 4; m <= 50; ++m) cuts += ", " + std::to_string(14 + 4 * m);
  setLine("ZVB.TXT", 57, cuts + ", 230");
  std::string list = ls[57];  // scale 1: "22, 1, ..."
  list.replace(0, 2, "23");
  setLine("ZVB.TXT", 58, list + ", 1");
  std::string keys = ls[63];  // key items of scale 3
  keys.replace(keys.rfind(", "), std::string::npos, ", 4");
  setLine("ZVB.TXT", 64, keys);
  EXPECT_EQ(check(),
            (std::vector<std::string>{
                "ZVB.TXT:6: scoring key of key section 1, answer code 1 holds \"x\" at position 1; points are "
                "the digits 0 to 9",
                "ZVB.TXT:7: scoring key of key section 1, answer code 2 has 4 characters; the section has 60 items",
                "ZVB.TXT:21: percentile of raw score 13 (gender 1, race 1, scale 1) is 90, below the 96 of raw score "
                "12; percentiles must not fall as the raw score rises",
                "ZVB.TXT:22: percentile of raw score 28 (gender 1, race 1, scale 2) is 100; it must be 0 to 99",
                "ZVB.TXT:57: stress cut 1 is 16; it must be 15 or less so that the lowest ratio 15 falls in a row",
                "ZVB.TXT:57: stress cut 3 is 18, not above stress cut 2 (18); the cuts must ascend",
                "ZVB.TXT:57: stress cut 51 is 230; it must be 248 or more so that the highest ratio (240, plus 8 "
                "from the truthfulness correction) falls in a row",
                "ZVB.TXT:58: item 1 stands twice in the item list of scale 1",
                "ZVB.TXT:64: key item 32 (item 4) stands twice among the key items of scale 3"}));
  setLine("ZVB.TXT", 71, "0, 0, 0, 0, 0, 0, 0, 0, 0");  // no correction of scale 6
  const auto after = check();
  EXPECT_NE(std::find(after.begin(), after.end(),
                      "ZVB.TXT:57: stress cut 51 is 230; it must be 240 or more so that the highest ratio 240 falls in a row"),
            after.end());
}

TEST_F(BrokenInstallation, ReportTextsMustFitTheLayout) {
  setLine("ZVRPT.TXT", 1, "\"Truthfulness\",\"Alcohol\",\"Drugs\",\"Antisocial\",\"Violence\",\"Stress Coping Measure\"");
  setLine("ZVRPT.TXT", 3, "7. Drinks more than intended, often daily");
  setLine("ZVRPT.TXT", 4, "");
  setLine("ZVRPT.TXT", 45, "140. " + std::string(67, 'x'));
  setLine("ZVRPT.TXT", 46, "140. Se emborrach\xC3\xB3 una vez");
  EXPECT_EQ(check(),
            (std::vector<std::string>{
                "ZVRPT.TXT:1: scale name 6 is 21 characters long; at most 20 fit the report",
                "ZVRPT.TXT:3: significant item text 1 is 41 characters long; at most 36 fit the report",
                "ZVRPT.TXT:4: significant item text 2 is empty",
                "ZVRPT.TXT:45: answer text 1 is 72 characters long; at most 71 fit the report",
                "ZVRPT.TXT:46: answer text 2 looks UTF-8 encoded; installation files are Windows-1252"}));
}

TEST_F(BrokenInstallation, ParagraphFiles) {
  auto ls = lines("ZVAL.TXT");
  const int severe = lineOf("ZVAL.TXT", "SEVERE");
  // The END closing SEVERE goes missing, so SEVERE runs into MAXIMUM.
  ls.erase(std::find(ls.begin() + severe, ls.end(), "END"));
  write("ZVAL.TXT", ls);

  const int medium = lineOf("ZVAS.TXT", "MEDIUM-HIGH");
  setLine("ZVAS.TXT", medium, "MEDIUM-HIGH ");
  const int low = lineOf("ZVAS.TXT", "LOW");
  setLine("ZVAS.TXT", low + 1, std::string(72, 'a'));

  auto vi = lines("ZVVI.TXT");
  const auto problem = std::find(vi.begin(), vi.end(), "PROBLEM");
  const auto end = std::find(problem, vi.end(), "END");
  vi.erase(problem + 1, end);  // PROBLEM left empty
  vi.erase(std::find(vi.begin(), vi.end(), "MAXIMUM-HIGH"));
  write("ZVVI.TXT", vi);
  const int emptyAt = lineOf("ZVVI.TXT", "PROBLEM");
  // The last paragraph of a file loses its END.
  auto sc = lines("ZVSC.TXT");
  ASSERT_EQ(sc.back(), "END");
  sc.pop_back();
  write("ZVSC.TXT", sc);

  EXPECT_EQ(check(),
            (std::vector<std::string>{
                "ZVAL.TXT:" + std::to_string(severe) +
                    ": the paragraph \"SEVERE\" runs into the sub-range line \"MAXIMUM\"; a line \"END\" is missing "
                    "before it",
                "ZVAS.TXT:" + std::to_string(low + 1) + ": paragraph line is 72 characters long; at most 71 fit the report",
                "ZVAS.TXT:" + std::to_string(medium) +
                    ": the sub-range line \"MEDIUM-HIGH\" has blanks around the word; it must stand alone on its line",
                "ZVVI.TXT:0: no line \"MAXIMUM-HIGH\": the paragraph of this sub-range is missing",
                "ZVVI.TXT:" + std::to_string(emptyAt) + ": the paragraph \"PROBLEM\" is empty",
                "ZVSC.TXT:" + std::to_string(lineOf("ZVSC.TXT", "MAXIMUM-HIGH")) +
                    ": the paragraph \"MAXIMUM-HIGH\" is not closed by a line \"END\""}));
}

TEST_F(BrokenInstallation, MissingFilesInvalidTextAndFootLines) {
  std::filesystem::remove(dir.file("ZVRPT.TXT"));
  std::filesystem::remove(dir.file("ZVDG.TXT"));
  auto inval = lines("ZVINVAL.TXT");
  inval.pop_back();
  inval[0] += " and a good deal more";
  write("ZVINVAL.TXT", inval);
  write("ZVFOOT.TXT", {"CONFIDENTIAL", std::string(70, 'c'), "A third line"});
  EXPECT_EQ(check(), (std::vector<std::string>{
                         "ZVRPT.TXT:0: cannot be read: No such file or directory",
                         "ZVDG.TXT:0: cannot be read: No such file or directory",
                         "ZVINVAL.TXT:1: line is " + std::to_string(inval[0].size()) +
                             " characters long; at most 71 fit the report",
                         "ZVINVAL.TXT:" + std::to_string(inval.size() + 1) + ": file ends without the line \"END\"",
                         "ZVFOOT.TXT:2: notice line 2 is 70 characters long; at most 69 fit the report",
                         "ZVFOOT.TXT:3: only the first two lines are printed; this line never shows"}));
  write("ZVFOOT.TXT", {"CONFIDENTIAL"});
  EXPECT_EQ(check().back(), "ZVFOOT.TXT:2: file ends early: notice line 2 of 2 expected");
}

TEST_F(BrokenInstallation, QuestionAnswersAndGridTypes) {
  sql("UPDATE English SET ANSWER2 = 'Often' WHERE ID = 150;"
      "UPDATE English SET ANSWER2 = 'Falso' WHERE ID = 12;"
      "UPDATE English SET ANSWER3 = 'Maybe' WHERE ID = 20;"
      "UPDATE Spanish SET ANSWER3 = NULL WHERE ID = 107;"
      "UPDATE Spanish SET ChoiceAudio2 = ' ' WHERE ID = 108;"
      "UPDATE Spanish SET TestQuestion = '' WHERE ID = 9;");
  EXPECT_EQ(check(),
            (std::vector<std::string>{
                "ZV.db:12: table English, item 12: ANSWER2 \"Falso\" gives grid answer type 2; section 1 needs type 0 "
                "(\"False\")",
                "ZV.db:20: table English, item 20: ChoiceAudio3 is empty",
                "ZV.db:20: table English, item 20: 3 answers; items of section 1 have 2",
                "ZV.db:150: table English, item 150: ANSWER2 \"Often\" gives grid answer type 6; section 3 needs a "
                "four-answer type (2, 3 or 4)",
                "ZV.db:9: table Spanish, item 9: TestQuestion is empty",
                "ZV.db:107: table Spanish, item 107: ANSWER4 is filled but an earlier answer is empty",
                "ZV.db:107: table Spanish, item 107: 3 answers; items of section 2 have 4",
                "ZV.db:108: table Spanish, item 108: ChoiceAudio2 is empty"}));
}

TEST_F(BrokenInstallation, QuestionTableNamesRowsAndFields) {
  sql("ALTER TABLE Spanish RENAME TO Spanish_old;"
      "ALTER TABLE Spanish_old RENAME TO spanish;"
      "DELETE FROM English WHERE ID = 161;"
      "ALTER TABLE English DROP COLUMN ChoiceAudio5;");
  EXPECT_EQ(check(), (std::vector<std::string>{
                         "ZV.db:0: table English has 161 rows; it must have one per item, 162",
                         "ZV.db:0: table English has no field \"ChoiceAudio5\"",
                         "ZV.db:161: table English: row 161 holds ID \"162\"; IDs must run 1 to 162 in stored order",
                         "ZV.db:0: table \"spanish\" is not found by the language choice; name it exactly \"Spanish\""}));
  std::filesystem::remove(dir.file("ZV.db"));
  const auto problems = check();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind("ZV.db:0: cannot be opened: ", 0), 0u) << problems[0];
}

TEST_F(BrokenInstallation, ReportPathGivesTheSameMessageAsTheChecker) {
  setLine("ZVB.TXT", 4, "9, 19, 24, 35, 50, 56, 63, 76, 81, 161, 0");
  try {
    LoadReportTables(fs, dir.path());
    FAIL() << "a bad item number must stop the report";
  } catch (const ZvError& e) {
    EXPECT_EQ(e.description(), check().at(0));
  }
}
