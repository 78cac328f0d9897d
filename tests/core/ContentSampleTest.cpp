// The sample clients scored with the bundled installation behave as a
// clinician expects of their answer patterns.
#include <gtest/gtest.h>

#include <algorithm>

#include "records/ClientFile.h"
#include "records/Cp1252.h"
#include "records/FileSystem.h"
#include "report/ScoreAndReport.h"
#include "tests/core/TestSupport.h"

using namespace zv;

TEST(SampleClients, SevenWholeRecordsEachScoredAsItsPatternSays) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  ClientTable table;
  // Scoring works on a copy, so the bundled file is never touched.
  fs.copy(std::string(ZV_PROGRAM_DIR) + "/samples/DATA401.ZV", dir.file("DATA401.ZV"));
  LoadClientFile(fs, dir.file("DATA401.ZV"), table);
  EXPECT_EQ(fs.size(std::string(ZV_PROGRAM_DIR) + "/samples/DATA401.ZV"), 7u * 255u);
  ASSERT_EQ(table.RecordCount, 7);
  // The Spanish name is stored in Windows-1252, one byte per letter.
  const std::string spanish = "Pe\xF1" "a Ib\xE1\xF1" "ez, Jos\xE9 \xC1" "ngel";
  EXPECT_EQ(table.slot[6].trimmed(Field::Name), spanish);
  EXPECT_EQ(cp1252::toUtf8(spanish), "Peña Ibáñez, José Ángel");

  // Percentile ranges {scale, at least, below}, dependency and abuse (-1: either), words the
  // report holds (runs of blanks read as one) and words it never holds.
  struct Case {
    const char* who;
    std::vector<std::tuple<int, int, int>> ranges;
    int dependency, abuse;
    std::vector<std::string> says, never;
  };
  const Case cases[] = {
      {"heavy drinker", {{2, 55, 100}, {1, 0, 40}, {3, 0, 30}}, 1, -1,
       {"*** Substance (Dependency/Abuse) Classification: substance dependent", "with physiological"}, {}},
      {"denier", {{1, 70, 95}, {2, 0, 30}, {3, 0, 30}}, 0, 0, {"Truthfulness SCALE: PROBLEM RISK RANGE"}, {}},
      {"all true", {{1, 95, 100}}, -1, -1, {"The Truthfulness Scale score is at or above the 95th percentile"},
       {"PERCENTILE SCORES"}},
      {"abuse without dependency", {}, 0, 1, {"*** Substance (Dependency/Abuse) Classification: substance abuse"}, {}},
      {"drug user", {{3, 90, 100}, {2, 0, 30}, {4, 70, 100}}, 1, -1, {}, {}},
      {"Spanish name under strain", {{6, 90, 100}}, 0, 1, {"NAME: " + spanish}, {}},
      {"low risk", {{1, 0, 30}, {2, 0, 30}, {3, 0, 30}, {4, 0, 30}, {5, 0, 30}, {6, 0, 30}}, 0, 0,
       {"person does not meet the criteria of dependency or abuse."}, {}},
  };
  std::vector<Scores> scored;
  for (int n = 1; n <= 7; ++n) {
    const Case& c = cases[n - 1];
    SCOPED_TRACE(c.who);
    const std::string responses = table.slot[static_cast<std::size_t>(n)].raw(Field::Responses);
    for (int i = 1; i <= 162; ++i) {
      const char code = responses[static_cast<std::size_t>(i - 1)];
      EXPECT_TRUE(code >= '1' && code <= (i <= 105 ? '2' : '4')) << "item " << i;
    }
    EXPECT_EQ(table.slot[static_cast<std::size_t>(n)].raw(Field::NameDeleted), "0");
    table.CurrentRecord = static_cast<std::int16_t>(n);
    const Scores s = ScoreAndReport(fs, table, {ZV_PROGRAM_DIR, dir.file("report.prn"), false});
    scored.push_back(s);
    std::string report = zvtest::readBytes(dir.file("report.prn"));
    report.erase(std::unique(report.begin(), report.end(), [](char a, char b) { return a == ' ' && b == ' '; }),
                 report.end());
    for (auto [scale, low, below] : c.ranges) {
      EXPECT_GE(s.scale[static_cast<std::size_t>(scale)].Percentile, low) << "scale " << scale;
      if (below <= 99) { EXPECT_LT(s.scale[static_cast<std::size_t>(scale)].Percentile, below) << "scale " << scale; }
    }
    if (c.dependency >= 0) { EXPECT_EQ(s.DependencyMet, c.dependency); }
    if (c.abuse == 0) { EXPECT_EQ(s.AbuseCount, 0); }
    if (c.abuse > 0) { EXPECT_GE(s.AbuseCount, c.abuse); }
    for (const auto& text : c.says) EXPECT_NE(report.find(text), std::string::npos) << text;
    for (const auto& text : c.never) EXPECT_EQ(report.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(scored[2].scale[1].RawScore, 99) << "all true";
  EXPECT_EQ(scored[3].ItemCode[74], 2) << "abuse without dependency: no earlier diagnosis";
}
