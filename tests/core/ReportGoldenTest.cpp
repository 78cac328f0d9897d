// Whole reports of the test installation compared byte for byte with golden
// files that were read line by line against the layout rules when made.
// ZV_UPDATE_GOLDEN=1 rewrites the golden files (then read them again!).
#include <gtest/gtest.h>

#include <cstdlib>

#include "records/FileSystem.h"
#include "report/ScoreAndReport.h"
#include "tests/core/ReportTestInstallation.h"

using namespace zv;
using zvtest::TestClient;

namespace {

std::string goldenPath(const std::string& name) { return std::string(ZV_SOURCE_DIR) + "/tests/core/golden/" + name; }

// A plain client: every item answered without admissions, a short court
// history; then the given {item, code} answers, gender and race.
TestClient client(const char* name, std::initializer_list<std::pair<int, int>> codes, const char* gender = "1",
                  const char* race = "1") {
  TestClient c = zvtest::plainClient(codes);
  c.name = name;
  c.gender = gender;
  c.race = race;
  c.answer(64, 65, 1);  // truthfulness: 2 points here and 5 for the "false" answers on 66..70
  c.court = {"19", "21", "2", "1", "0", "0", "0", "3", "1", "0", "1", "0", "0", "8"};
  return c;
}

struct Golden { const char* file; TestClient client; bool summary; };

std::vector<Golden> goldens() {
  std::vector<Golden> g;
  // Invalid test: a woman's truthfulness table ends at 10, and 100 "true"
  // answers make the raw score 99: percentile 99. The summary is never
  // appended to an invalid test.
  TestClient c = client("Invalid, Ina", {}, "2");
  c.answer(1, 100, 1);
  g.push_back({"invalid-test.prn", c, true});
  // Excessive "true" answers for a man: raw score 99 is in the table (94).
  c = client("Truthful, Ted", {});
  c.answer(1, 104, 1);
  g.push_back({"excessive-true.prn", c, false});
  // Five omitted Violence items and six omitted rating items; item 145 and
  // 66 omitted too, so the classification paragraph becomes the omission note.
  c = client("Omitting, Olga", {{66, 0}, {145, 0}, {4, 1}, {8, 1}}, "1", "5");
  c.marital = "3";
  c.answer(46, 50, 0);
  c.answer(111, 116, 0);
  g.push_back({"omitted-items.prn", c, false});
  // Dependency met (criteria 1, 2, 3, 5) and item 74: previously diagnosed.
  c = client("Dependent, Dan", {{66, 1}, {145, 2}, {146, 1}, {147, 3}, {7, 1},  {150, 2}, {74, 1}, {153, 1},
                                {157, 2}, {4, 1},   {8, 1},   {12, 1},  {20, 1}, {24, 1},  {36, 1}, {48, 1}});
  c.id = "n";
  c.age = "N";
  c.court[10] = "3";  // alcohol arrests
  c.court[12] = "2";  // DUI
  g.push_back({"dependency-met-item74.prn", c, false});
  // Two dependency criteria only, with item 74: dependency still applies.
  g.push_back({"dependency-not-met-item74.prn",
               client("Diagnosed, Dora", {{101, 1}, {149, 3}, {74, 1}, {141, 1}, {153, 3}}, "2", "2"), false});
  // Abuse only: criteria 2 and 4 and drug arrests; drugs scale elevated.
  c = client("Abuser, Abe",
             {{141, 2}, {85, 1}, {157, 3}, {16, 1}, {18, 1}, {20, 1}, {21, 1}, {24, 1}, {27, 1}, {28, 1}}, "1", "3");
  c.court[11] = "4";  // drug arrests
  g.push_back({"abuse-only.prn", c, false});
  // Neither dependency nor abuse, with the one-page summary.
  g.push_back({"summary-page.prn", client("Summary, Sue", {{1, 1}, {3, 1}, {9, 1}}, "2"), true});
  return g;
}

}  // namespace

TEST(ReportGoldenTest, WholeReportsMatchTheirGoldenFilesLineByLine) {
  zvtest::TempDir dir;
  zvtest::writeInstallation(dir.path());
  RealFileSystem fs;
  const bool update = std::getenv("ZV_UPDATE_GOLDEN") != nullptr;
  for (const Golden& g : goldens()) {
    SCOPED_TRACE(g.file);
    ScoreAndReport(fs, zvtest::tableOf({TestClient{}, g.client}, 2), ReportRequest{dir.path(), "", g.summary});
    const std::string bytes = zvtest::readBytes(dir.file("report.prn"));
    if (update) zvtest::writeBytes(goldenPath(g.file), bytes);
    const std::string golden = zvtest::readBytes(goldenPath(g.file));
    ASSERT_FALSE(golden.empty()) << "missing golden file";
    EXPECT_EQ(bytes, golden);
    // Every line ends with CR LF, holds no other CR or LF, is at most 80
    // columns, and a form feed stands alone on its line.
    for (const std::string& line : zvtest::crlfLines(golden)) {
      EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
      if (line.find('\x0C') != std::string::npos) { EXPECT_EQ(line, "\x0C") << "a form feed stands alone on its line"; }
      EXPECT_LE(line.size(), 80u) << line;
    }
  }
}
