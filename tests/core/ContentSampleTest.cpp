// The sample clients scored with the bundled installation behave as a
// clinician expects of their answer patterns.
#include <gtest/gtest.h>

#include "records/ClientFile.h"
#include "records/Cp1252.h"
#include "records/FileSystem.h"
#include "report/ScoreAndReport.h"
#include "tests/core/TestSupport.h"

using namespace zv;

namespace {

class SampleClients : public ::testing::Test {
 protected:
  void SetUp() override {
    // Scoring works on a copy, so the bundled file is never touched.
    fs.copy(std::string(ZV_PROGRAM_DIR) + "/samples/DATA401.ZV", dir.file("DATA401.ZV"));
    LoadClientFile(fs, dir.file("DATA401.ZV"), table);
  }
  // Scores client n and keeps its report text.
  Scores score(int n) {
    table.CurrentRecord = static_cast<std::int16_t>(n);
    ReportRequest request;
    request.programDir = ZV_PROGRAM_DIR;
    request.outputPath = dir.file("report.prn");
    const Scores s = ScoreAndReport(fs, table, request);
    report = zvtest::readBytes(dir.file("report.prn"));
    return s;
  }
  int pct(const Scores& s, int scale) const { return s.scale[static_cast<std::size_t>(scale)].Percentile; }
  bool says(const std::string& text) const { return report.find(text) != std::string::npos; }

  zvtest::TempDir dir;
  RealFileSystem fs;
  ClientTable table;
  std::string report;
};

}  // namespace

TEST_F(SampleClients, FileHoldsSevenWholeRecords) {
  EXPECT_EQ(fs.size(std::string(ZV_PROGRAM_DIR) + "/samples/DATA401.ZV"), 7u * 255u);
  EXPECT_EQ(table.RecordCount, 7);
  for (int n = 1; n <= 7; ++n) {
    const std::string responses = table.slot[static_cast<std::size_t>(n)].raw(Field::Responses);
    for (int i = 1; i <= 162; ++i) {
      const char c = responses[static_cast<std::size_t>(i - 1)];
      EXPECT_TRUE(c >= '1' && c <= (i <= 105 ? '2' : '4')) << "client " << n << " item " << i;
    }
    EXPECT_EQ(table.slot[static_cast<std::size_t>(n)].raw(Field::NameDeleted), "0");
  }
  // The Spanish name is stored in Windows-1252, one byte per letter.
  EXPECT_EQ(table.slot[6].trimmed(Field::Name), "Pe\xF1" "a Ib\xE1\xF1" "ez, Jos\xE9 \xC1" "ngel");
  EXPECT_EQ(cp1252::toUtf8(table.slot[6].trimmed(Field::Name)), "Peña Ibáñez, José Ángel");
}

TEST_F(SampleClients, HeavyDrinkerMeetsDependencyAtAProblemAlcoholLevel) {
  const Scores s = score(1);
  EXPECT_GE(pct(s, 2), 55) << "Alcohol at PROBLEM range or above";
  EXPECT_EQ(s.DependencyMet, 1);
  EXPECT_LT(pct(s, 1), 40) << "an open client";
  EXPECT_LT(pct(s, 3), 30) << "no drug use";
  EXPECT_TRUE(says("*** Substance (Dependency/Abuse) Classification: substance dependent"));
  EXPECT_TRUE(says("with  physiological") || says("with physiological"));
}

TEST_F(SampleClients, DenierHasLowSubstanceScalesAndRaisedTruthfulness) {
  const Scores s = score(2);
  EXPECT_GE(pct(s, 1), 70);
  EXPECT_LT(pct(s, 1), 95) << "raised, yet still a valid test";
  EXPECT_LT(pct(s, 2), 30);
  EXPECT_LT(pct(s, 3), 30);
  EXPECT_EQ(s.DependencyMet, 0);
  EXPECT_EQ(s.AbuseCount, 0);
  EXPECT_TRUE(says("Truthfulness SCALE: PROBLEM RISK RANGE"));
}

TEST_F(SampleClients, AllTrueClientTriggersTheExcessiveTrueRule) {
  const Scores s = score(3);
  EXPECT_EQ(s.scale[1].RawScore, 99);
  EXPECT_GE(pct(s, 1), 95);
  EXPECT_TRUE(says("The Truthfulness Scale score is at or above the 95th percentile"));
  EXPECT_FALSE(says("PERCENTILE SCORES"));
}

TEST_F(SampleClients, AbuseWithoutDependency) {
  const Scores s = score(4);
  EXPECT_EQ(s.DependencyMet, 0);
  EXPECT_GE(s.AbuseCount, 1);
  EXPECT_EQ(s.ItemCode[74], 2) << "no earlier diagnosis";
  EXPECT_TRUE(says("*** Substance (Dependency/Abuse) Classification: substance abuse"));
}

TEST_F(SampleClients, DrugUserMeetsDependencyOnTheDrugsScale) {
  const Scores s = score(5);
  EXPECT_EQ(s.DependencyMet, 1);
  EXPECT_GE(pct(s, 3), 90);
  EXPECT_LT(pct(s, 2), 30) << "drugs named the main concern, little drinking";
  EXPECT_GE(pct(s, 4), 70) << "antisocial answers and a long court history";
}

TEST_F(SampleClients, SpanishNamedClientUnderHeavyStrain) {
  const Scores s = score(6);
  EXPECT_GE(pct(s, 6), 90);
  EXPECT_EQ(s.DependencyMet, 0);
  EXPECT_GE(s.AbuseCount, 1);
  EXPECT_TRUE(says("NAME: Pe\xF1" "a Ib\xE1\xF1" "ez, Jos\xE9 \xC1" "ngel"));
}

TEST_F(SampleClients, LowRiskClientStaysLow) {
  const Scores s = score(7);
  for (int scale = 1; scale <= 6; ++scale) EXPECT_LT(pct(s, scale), 30) << "scale " << scale;
  EXPECT_EQ(s.DependencyMet, 0);
  EXPECT_EQ(s.AbuseCount, 0);
  EXPECT_TRUE(says("person does not meet the criteria of dependency or abuse."));
}
