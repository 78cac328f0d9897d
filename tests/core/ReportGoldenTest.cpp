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

// A plain client: every item answered without admissions, a short court history.
TestClient baseClient() {
  TestClient c;
  c.answer(1, 105, 2);
  c.answer(106, 139, 2);
  c.answer(140, 162, 4);
  c.answer(64, 65, 1);  // truthfulness: 2 points here and 5 for the "false" answers on 66..70
  c.court = {"19", "21", "2", "1", "0", "0", "0", "3", "1", "0", "1", "0", "0", "8"};
  return c;
}

struct Golden {
  const char* file;
  TestClient client;
  bool summary;
};

std::vector<Golden> goldens() {
  std::vector<Golden> g;
  {
    // Invalid test: a woman's truthfulness table ends at 10, and 100 "true"
    // answers make the raw score 99: percentile 99.
    TestClient c = baseClient();
    c.name = "Invalid, Ina";
    c.gender = "2";
    c.answer(1, 100, 1);
    g.push_back({"invalid-test.prn", c, true});  // the summary is never appended to an invalid test
  }
  {
    // Excessive "true" answers for a man: raw score 99 is in the table (60).
    TestClient c = baseClient();
    c.name = "Truthful, Ted";
    c.answer(1, 104, 1);
    g.push_back({"excessive-true.prn", c, false});
  }
  {
    // Five omitted Violence items and six omitted rating items; item 145 and
    // 66 omitted too, so the classification paragraph becomes the omission note.
    TestClient c = baseClient();
    c.name = "Omitting, Olga";
    c.race = "5";
    c.marital = "3";
    c.answer(46, 50, 0);
    c.answer(111, 116, 0);
    c.answer(66, 0);
    c.answer(145, 0);
    c.answer(4, 1);
    c.answer(8, 1);
    g.push_back({"omitted-items.prn", c, false});
  }
  {
    // Dependency met (criteria 1, 2, 3, 5) and item 74: previously diagnosed.
    TestClient c = baseClient();
    c.name = "Dependent, Dan";
    c.id = "n";
    c.age = "N";
    c.answer(66, 1);
    c.answer(145, 2);
    c.answer(146, 1);
    c.answer(147, 3);
    c.answer(7, 1);
    c.answer(150, 2);
    c.answer(74, 1);
    c.answer(153, 1);
    c.answer(157, 2);
    c.answer(4, 1);
    c.answer(8, 1);
    c.answer(12, 1);
    c.answer(20, 1);
    c.answer(24, 1);
    c.answer(36, 1);
    c.answer(48, 1);
    c.court[10] = "3";  // alcohol arrests
    c.court[12] = "2";  // DUI
    g.push_back({"dependency-met-item74.prn", c, false});
  }
  {
    // Two dependency criteria only, with item 74: dependency still applies.
    TestClient c = baseClient();
    c.name = "Diagnosed, Dora";
    c.gender = "2";
    c.race = "2";
    c.answer(101, 1);
    c.answer(149, 3);
    c.answer(74, 1);
    c.answer(141, 1);
    c.answer(153, 3);
    g.push_back({"dependency-not-met-item74.prn", c, false});
  }
  {
    // Abuse only: criteria 2 and 4 and drug arrests; drugs scale elevated.
    TestClient c = baseClient();
    c.name = "Abuser, Abe";
    c.race = "3";
    c.answer(141, 2);
    c.answer(85, 1);
    c.answer(157, 3);
    for (int i : {16, 18, 20, 21, 24, 27, 28}) c.answer(i, 1);
    c.court[11] = "4";  // drug arrests
    g.push_back({"abuse-only.prn", c, false});
  }
  {
    // Neither dependency nor abuse, with the one-page summary.
    TestClient c = baseClient();
    c.name = "Summary, Sue";
    c.gender = "2";
    c.answer(1, 1);
    c.answer(3, 1);
    c.answer(9, 1);
    g.push_back({"summary-page.prn", c, true});
  }
  return g;
}

}  // namespace

TEST(ReportGoldenTest, WholeReportsMatchTheirGoldenFiles) {
  zvtest::TempDir dir;
  zvtest::writeInstallation(dir.path());
  RealFileSystem fs;
  const bool update = std::getenv("ZV_UPDATE_GOLDEN") != nullptr;
  for (const Golden& g : goldens()) {
    SCOPED_TRACE(g.file);
    const ClientTable table = zvtest::tableOf({TestClient{}, g.client}, 2);
    ReportRequest request{dir.path(), "", g.summary};
    ScoreAndReport(fs, table, request);
    const std::string bytes = zvtest::readBytes(dir.file("report.prn"));
    if (update) zvtest::writeBytes(goldenPath(g.file), bytes);
    const std::string golden = zvtest::readBytes(goldenPath(g.file));
    ASSERT_FALSE(golden.empty()) << "missing golden file";
    EXPECT_EQ(bytes, golden);
  }
}

TEST(ReportGoldenTest, PageLinesAndFormFeedsOfEveryGolden) {
  for (const Golden& g : goldens()) {
    SCOPED_TRACE(g.file);
    const std::string golden = zvtest::readBytes(goldenPath(g.file));
    ASSERT_FALSE(golden.empty());
    ASSERT_EQ(golden.substr(golden.size() - 2), "\r\n");
    std::size_t start = 0;
    while (start < golden.size()) {
      const std::size_t e = golden.find("\r\n", start);
      ASSERT_NE(e, std::string::npos);
      const std::string line = golden.substr(start, e - start);
      EXPECT_EQ(line.find('\n'), std::string::npos);
      EXPECT_EQ(line.find('\r'), std::string::npos);
      const auto ff = line.find('\x0C');
      if (ff != std::string::npos) {
        EXPECT_EQ(line, "\x0C") << "a form feed stands alone on its line";
      }
      EXPECT_LE(line.size(), 80u) << line;
      start = e + 2;
    }
  }
}
