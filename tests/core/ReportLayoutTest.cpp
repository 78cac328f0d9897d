// Report sections: chart columns and bars, risk-range words, the page foot,
// page breaks and the page-line count of every section.
#include <gtest/gtest.h>

#include "records/FileSystem.h"
#include "report/ReportSections.h"
#include "tests/core/ReportTestInstallation.h"

using namespace zv;

namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
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

// 1-based column of `needle` in `line`, 0 when absent.
int columnOf(const std::string& line, const std::string& needle) {
  const auto p = line.find(needle);
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

class Layout : public ::testing::Test {
 protected:
  Layout() {
    zvtest::writeInstallation(dir.path(), tables);
    client.Name = "Roe, Kim" + std::string(17, ' ');
    client.IdNumber = "N/A";
    client.Age = "41 ";
    client.Education = "10";
    client.DateOfBirth = "N/A";
    client.DateTested = "05/06/2024";
    client.GenderCode = 2;
    client.RaceCode = 3;
    client.MaritalCode = 4;
    for (int f = 1; f <= 14; ++f) client.CourtText[static_cast<std::size_t>(f)] = "0 ";
    scores.ReportedClient = 7;
    for (int s = 1; s <= 6; ++s) scores.scale[static_cast<std::size_t>(s)].Percentile = 10 * s;
    for (int i = 1; i <= 162; ++i) scores.ItemCode[static_cast<std::size_t>(i)] = i <= 105 ? 2 : 4;
  }

  ReportContext context() { return ReportContext{fs, dir.path(), tables, scores, client, writer}; }
  std::vector<std::string> lines() const { return linesOf(writer.bytes()); }

  zvtest::TempDir dir;
  ReportTables tables = zvtest::testTables();
  RealFileSystem fs;
  Scores scores;
  ClientFields client;
  ReportWriter writer{"Roe, Kim" + std::string(17, ' ')};
};

}  // namespace

// ---------------------------------------------------------------------------
TEST_F(Layout, ChartLinesAndCount) {
  auto ctx = context();
  writer.PageLine = 19;
  PrintProfile(ctx, 1, 6);
  const auto l = lines();
  ASSERT_EQ(l.size(), 22u) << "the chart writes 22 lines";
  EXPECT_EQ(writer.PageLine, 19 + 19) << "but counts 19";
  const std::string rulerPad(37, ' ');
  EXPECT_EQ(l[0], std::string(7, ' ') + "MEASURES" + std::string(12, ' ') + "%ile" + std::string(6, ' ') +
                      std::string(16, ' ') + "ZV PROFILE");
  EXPECT_EQ(l[1], std::string(7, ' ') + "--------" + std::string(12, ' ') + "----" + std::string(6, ' ') +
                      "+---------------+-----------+-------+---+");
  EXPECT_EQ(l[2], rulerPad + "|   LOW RISK    |  MEDIUM   |PROBLEM|MAX|");
  const std::string emptyA = "|" + std::string(15, ' ') + "|" + std::string(11, ' ') + "|" + std::string(7, ' ') + "|" +
                             std::string(3, ' ') + "|";
  EXPECT_EQ(l[4], rulerPad + emptyA);
  EXPECT_EQ(l[6], rulerPad + emptyA);
  EXPECT_EQ(l[8], rulerPad + emptyA);
  EXPECT_EQ(l[10], rulerPad + "+---------------+-----------+-------+---+");
  EXPECT_EQ(l[11], rulerPad + "0" + std::string(15, ' ') + "40" + std::string(10, ' ') + "70" + std::string(6, ' ') +
                       "90 100");
  EXPECT_EQ(l[12], std::string(34, ' ') + std::string(16, ' ') + "SUBSTANCE SCALES");
  EXPECT_EQ(l[13], rulerPad + "+-----------+---------+-------------+---+");
  EXPECT_EQ(l[14], rulerPad + "| LOW RISK  | MEDIUM  |   PROBLEM   |MAX|");
  EXPECT_EQ(l[16], rulerPad + "|           |         |             |   |");
  EXPECT_EQ(l[18], rulerPad + "+-----------+---------+-------------+---+");
  EXPECT_EQ(l[19], rulerPad + "0           30        55            90 100");
  EXPECT_EQ(l[20], rulerPad + "----------- PERCENTILE SCORES -----------");
  EXPECT_EQ(l[21], "");
  // Scale rows in chart order: 1, 4, 5, 6 then 2, 3.
  EXPECT_EQ(columnOf(l[3], "Truthfulness"), 8);
  EXPECT_EQ(columnOf(l[5], "Antisocial"), 8);
  EXPECT_EQ(columnOf(l[7], "Violence"), 8);
  EXPECT_EQ(columnOf(l[9], "Stress Coping"), 8);
  EXPECT_EQ(columnOf(l[15], "Alcohol"), 8);
  EXPECT_EQ(columnOf(l[17], "Drugs"), 8);
  for (const auto& line : l) EXPECT_LE(line.size(), 79u) << line;
}

TEST_F(Layout, ChartPercentileColumnsAndBars) {
  scores.scale[1].Percentile = 7;
  scores.scale[4].Percentile = 42;
  scores.scale[5].Percentile = 99;
  scores.scale[6].Percentile = 0;
  scores.scale[2].Percentile = 25;
  scores.scale[3].Percentile = 10;
  auto ctx = context();
  PrintProfile(ctx, 1, 6);
  const auto l = lines();
  // " 7 " starts in column 29, " 42 " in column 28: units digit in column 30.
  EXPECT_EQ(l[3].substr(28, 3), " 7 ");
  EXPECT_EQ(l[3].substr(20, 8), std::string(8, ' '));
  EXPECT_EQ(l[5].substr(27, 4), " 42 ");
  EXPECT_EQ(l[7].substr(27, 4), " 99 ");
  EXPECT_EQ(l[9].substr(28, 3), " 0 ");
  // Bars start in column 38 and are 41 characters wide.
  const std::string dottedA = "|" + std::string(15, '.') + "|" + std::string(11, '.') + "|" + std::string(7, '.') +
                              "|" + std::string(3, '.') + "|";
  const std::string dottedB = "|" + std::string(11, '.') + "|" + std::string(9, '.') + "|" + std::string(13, '.') +
                              "|" + std::string(3, '.') + "|";
  ASSERT_EQ(dottedA.size(), 41u);
  ASSERT_EQ(dottedB.size(), 41u);
  EXPECT_EQ(l[3].substr(37), std::string(3, '*') + dottedA.substr(3));  // n = 70 div 25 = 2
  EXPECT_EQ(l[5].substr(37), std::string(17, '*') + dottedA.substr(17));  // n = 16
  EXPECT_EQ(l[7].substr(37), std::string(40, '*') + "|");
  EXPECT_EQ(l[9].substr(37), "*" + dottedA.substr(1));
  EXPECT_EQ(l[15].substr(37), std::string(11, '*') + dottedB.substr(11));  // n = 10
  EXPECT_EQ(l[17].substr(37), std::string(5, '*') + dottedB.substr(5));    // n = 4
  for (int i : {3, 5, 7, 9, 15, 17}) EXPECT_EQ(l[static_cast<std::size_t>(i)].size(), 78u) << i;
  EXPECT_EQ(l[19], std::string(37, ' ') + "0           30        55            90 100") << "no footnote";
  EXPECT_EQ(l[20], std::string(37, ' ') + "----------- PERCENTILE SCORES -----------");
}

TEST_F(Layout, ChartTruthfulnessElevated) {
  scores.scale[1].Percentile = 90;
  scores.scale[2].Percentile = 5;
  auto ctx = context();
  PrintProfile(ctx, 1, 6);
  const auto l = lines();
  EXPECT_EQ(l[3].substr(27, 5), " 90 *");
  EXPECT_EQ(l[15].substr(28, 4), " 5 *");
  // Footnote texts after Spc(7), then Tab(38).
  EXPECT_EQ(l[19], std::string(7, ' ') + "* Truthfulness Scale score" + std::string(4, ' ') +
                       "0           30        55            90 100");
  EXPECT_EQ(l[20], std::string(7, ' ') + "  is elevated (90+%)" + std::string(10, ' ') +
                       "----------- PERCENTILE SCORES -----------");
  EXPECT_EQ(columnOf(l[19], "0 "), 38);
  EXPECT_EQ(columnOf(l[20], "---"), 38);

  writer = ReportWriter("X");
  scores.scale[1].Percentile = 95;
  PrintProfile(ctx, 1, 6);
  EXPECT_EQ(lines()[20], std::string(7, ' ') + "  is excessively high" + std::string(9, ' ') +
                             "----------- PERCENTILE SCORES -----------");
}

TEST_F(Layout, ChartTooManyOmittedItems) {
  scores.scale[5].OmittedCount = 5;
  scores.scale[5].Percentile = 99;
  scores.scale[6].OmittedCount = 5;
  scores.scale[6].Percentile = 3;
  scores.scale[3].OmittedCount = 4;  // four omitted: charted
  scores.scale[3].Percentile = 99;
  scores.scale[1].Percentile = 92;
  auto ctx = context();
  PrintProfile(ctx, 1, 6);
  const auto l = lines();
  // Violence ends in column 15, Tab(28), " **" in 28..30, Tab(38).
  EXPECT_EQ(l[7], "       Violence" + std::string(12, ' ') + " **" + std::string(7, ' ') +
                      "Scale not scored, insufficient answers");
  // Percentile 3: Tab(29) as for any percentile below 10.
  EXPECT_EQ(l[9], "       Stress Coping" + std::string(8, ' ') + " **" + std::string(6, ' ') +
                      "Scale not scored, insufficient answers");
  EXPECT_EQ(l[17].substr(27, 5), " 99 *");
  EXPECT_EQ(l[19], std::string(7, ' ') + "** Too many omitted items" + std::string(5, ' ') +
                       "0           30        55            90 100");
  EXPECT_EQ(l[20], std::string(7, ' ') + "   to score this scale" + std::string(8, ' ') +
                       "----------- PERCENTILE SCORES -----------");
}

// ---------------------------------------------------------------------------
TEST(RiskRangeTest, BandEdgesOfScales1456) {
  const std::tuple<int, const char*, const char*> cases[] = {
      {0, "LOW", "LOW"},          {39, "LOW", "LOW"},          {40, "MEDIUM", "MEDIUM-LOW"},
      {55, "MEDIUM", "MEDIUM-LOW"}, {56, "MEDIUM", "MEDIUM-HIGH"}, {69, "MEDIUM", "MEDIUM-HIGH"},
      {70, "PROBLEM", "PROBLEM"}, {89, "PROBLEM", "PROBLEM"},  {90, "MAXIMUM", "MAXIMUM-LOW"},
      {94, "MAXIMUM", "MAXIMUM-LOW"}, {95, "MAXIMUM", "MAXIMUM-HIGH"}, {99, "MAXIMUM", "MAXIMUM-HIGH"},
  };
  for (int s : {1, 4, 5, 6})
    for (const auto& [p, range, sub] : cases) {
      EXPECT_STREQ(riskRangeOf(s, p).range, range) << s << " " << p;
      EXPECT_STREQ(riskRangeOf(s, p).subRange, sub) << s << " " << p;
    }
}

TEST(RiskRangeTest, BandEdgesOfSubstanceScales) {
  const std::tuple<int, const char*, const char*> cases[] = {
      {0, "LOW", "LOW"},           {29, "LOW", "LOW"},           {30, "MEDIUM", "MEDIUM-LOW"},
      {39, "MEDIUM", "MEDIUM-LOW"}, {40, "MEDIUM", "MEDIUM-HIGH"}, {54, "MEDIUM", "MEDIUM-HIGH"},
      {55, "PROBLEM", "PROBLEM-LOW"}, {72, "PROBLEM", "PROBLEM-LOW"}, {73, "PROBLEM", "PROBLEM-HIGH"},
      {89, "PROBLEM", "PROBLEM-HIGH"}, {90, "SEVERE", "SEVERE"},    {95, "SEVERE", "SEVERE"},
      {96, "MAXIMUM", "MAXIMUM"},  {99, "MAXIMUM", "MAXIMUM"},
  };
  for (int s : {2, 3})
    for (const auto& [p, range, sub] : cases) {
      EXPECT_STREQ(riskRangeOf(s, p).range, range) << s << " " << p;
      EXPECT_STREQ(riskRangeOf(s, p).subRange, sub) << s << " " << p;
    }
}

TEST_F(Layout, ScaleParagraphTitleAndPlainLines) {
  scores.scale[4].Percentile = 56;
  auto ctx = context();
  writer.PageLine = 20;
  PrintScaleParagraph(ctx, 4);
  const auto l = lines();
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[0], "       Antisocial SCALE: MEDIUM RISK RANGE" + std::string(18, ' ') + "RISK PERCENTILE:56");
  EXPECT_EQ(columnOf(l[0], "RISK PERCENTILE:"), 61);
  EXPECT_EQ(l[1].substr(0, 30), "       Scale 4 MEDIUM-HIGH: th");
  EXPECT_EQ(l[3], "       ends with a third, shorter one (r\xE9sum\xE9).");
  EXPECT_EQ(writer.PageLine, 24);
}

TEST_F(Layout, SubstanceParagraphsJoinedByDependency) {
  // Low alcohol score with dependency met: joined, with the recovery sentence.
  scores.scale[2].Percentile = 29;
  scores.DependencyMet = 1;
  auto ctx = context();
  PrintScaleParagraph(ctx, 2);
  auto l = lines();
  EXPECT_EQ(l[0], "       Alcohol SCALE: LOW RISK RANGE" + std::string(24, ' ') + "RISK PERCENTILE:29");
  // The paragraph's lines, each followed by one blank, then the sentence.
  std::string first = "Scale 2 LOW: this line is filled out to the full width";
  first.resize(71, '.');
  const std::string joined =
      first + " of a report line, and the paragraph goes on with a second line and ends with a third, shorter one "
              "(r\xE9sum\xE9).  Check if this person is a recovering substance (alcohol and/or drugs) abuser. If "
              "Truthfulness Scale score is below the 90th percentile and the person is not recovering, then "
              "dependence should be explored in interview.";
  const auto expected = justifyLines(joined);
  ASSERT_EQ(l.size(), expected.size() + 1);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(l[i + 1], "       " + expected[i]);
  EXPECT_EQ(l[1], "       " + first);
  EXPECT_EQ(l[2], "       of a report line, and the paragraph goes on with a second line and ends");
  EXPECT_EQ(l[3], "       with a third,  shorter  one  (r\xE9sum\xE9).   Check  if  this  person  is  a");
  EXPECT_EQ(writer.PageLine, static_cast<int>(l.size())) << "no blank line after a joined paragraph";

  // The same score without dependency: plain lines.
  writer = ReportWriter("X");
  scores.DependencyMet = 0;
  PrintScaleParagraph(ctx, 2);
  EXPECT_EQ(lines().size(), 4u);

  // 55 and above without dependency: joined with the risk sentence.
  writer = ReportWriter("X");
  scores.scale[3].Percentile = 55;
  PrintScaleParagraph(ctx, 3);
  l = lines();
  EXPECT_EQ(l[0], "       Drugs SCALE: PROBLEM RISK RANGE" + std::string(22, ' ') + "RISK PERCENTILE:55");
  EXPECT_NE(l.back().find("risk."), std::string::npos);
  // 54 without dependency, 30 with it: plain.
  for (auto [p, dep] : {std::pair{54, 0}, {30, 1}}) {
    writer = ReportWriter("X");
    scores.scale[3].Percentile = p;
    scores.DependencyMet = dep;
    PrintScaleParagraph(ctx, 3);
    EXPECT_EQ(lines().size(), 4u) << p;
  }
}

TEST_F(Layout, MissingParagraphIsAnInstallationFault) {
  zvtest::writeBytes(dir.file("ZVSC.TXT"), "LOW\r\nline\r\nEND\r\n");
  scores.scale[6].Percentile = 50;
  auto ctx = context();
  try {
    PrintScaleParagraph(ctx, 6);
    FAIL();
  } catch (const ZvError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::BadData);
    EXPECT_NE(e.description().find("ZVSC.TXT"), std::string::npos) << e.description();
    EXPECT_NE(e.description().find("MEDIUM-LOW"), std::string::npos) << e.description();
  }
}

// ---------------------------------------------------------------------------
TEST_F(Layout, PageFootModeTwo) {
  auto ctx = context();
  writer.PageLine = 52;
  PrintPageFoot(ctx, 2);
  auto l = lines();
  ASSERT_EQ(l.size(), 6u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(l[static_cast<std::size_t>(i)], "");
  EXPECT_EQ(l[4], "       Test installation for the report tests.  All rights reserved.");
  EXPECT_EQ(l[5], "         Second notice line of the test installation");
  EXPECT_EQ(writer.PageLine, 58);

  // At 57 only the first notice fits.
  writer = ReportWriter("X");
  writer.PageLine = 57;
  PrintPageFoot(ctx, 2);
  l = lines();
  ASSERT_EQ(l.size(), 1u);
  EXPECT_EQ(writer.PageLine, 58);
  // Above 58 the first notice is still written.
  writer = ReportWriter("X");
  writer.PageLine = 60;
  PrintPageFoot(ctx, 2);
  EXPECT_EQ(lines().size(), 1u);
  EXPECT_EQ(writer.PageLine, 61);
}

TEST_F(Layout, PageFootModeOne) {
  auto ctx = context();
  writer.PageLine = 53;
  PrintPageFoot(ctx, 1);
  auto l = lines();
  ASSERT_EQ(l.size(), 5u);
  EXPECT_EQ(l[4], "         Second notice line of the test installation");
  EXPECT_EQ(writer.PageLine, 58);
  writer = ReportWriter("X");
  writer.PageLine = 58;
  PrintPageFoot(ctx, 1);
  EXPECT_EQ(lines().size(), 1u);
  EXPECT_EQ(writer.PageLine, 59);
}

TEST_F(Layout, HeaderLines) {
  auto ctx = context();
  PrintHeader(ctx, 1);
  auto l = lines();
  ASSERT_EQ(l.size(), 11u);
  EXPECT_EQ(l[0], std::string(29, ' ') + "ZORVEX");
  EXPECT_EQ(l[1], std::string(29, ' ') + std::string(23, '*'));
  EXPECT_EQ(l[2], "");
  EXPECT_EQ(l[3], "       NAME: Roe, Kim" + std::string(17, ' '));
  EXPECT_EQ(l[4], "       ID# : N/A");
  EXPECT_EQ(l[5], "       AGE : 41      SEX: Female" + std::string(27, ' ') + "CONFIDENTIAL REPORT");
  EXPECT_EQ(columnOf(l[5], "CONFIDENTIAL"), 60);
  EXPECT_EQ(l[6], "       ETHNICITY/RACE: Hispanic       ");
  EXPECT_EQ(l[7], "       EDUCATION/HIGHEST GRADE: 10");
  EXPECT_EQ(l[8], "       MARITAL STATUS: Seperated");
  EXPECT_EQ(l[9], "       DATE OF BIRTH: N/A");
  EXPECT_EQ(l[10], "       DATE SCORED: 05/06/2024");
  EXPECT_EQ(writer.PageLine, 11);

  writer = ReportWriter("X");
  client.GenderCode = 7;  // outside the table: "N/A"
  client.RaceCode = 9;
  client.MaritalCode = 0;
  PrintHeader(ctx, 2);
  l = lines();
  EXPECT_EQ(l[2], std::string(33, ' ') + "ONE-PAGE SUMMARY");
  EXPECT_EQ(l[5], "       AGE : 41      SEX: N/A   " + std::string(27, ' ') + "CONFIDENTIAL REPORT");
  EXPECT_EQ(l[6], "       ETHNICITY/RACE: N/A            ");
  EXPECT_EQ(l[8], "       MARITAL STATUS: N/A      ");
}

TEST_F(Layout, ClassificationHeadingLines) {
  scores.DependencyMet = 0;
  auto ctx = context();
  PrintClassificationHeading(ctx);
  auto l = lines();
  ASSERT_EQ(l.size(), 4u);
  const std::string a = "According to DSM-IV criteria as represented in the ZV, this";
  const std::string b = " person does not meet the criteria of dependency or abuse.";
  EXPECT_EQ(l[0], std::string(41 - a.size() / 2, ' ') + a);
  EXPECT_EQ(l[1], std::string(41 - b.size() / 2, ' ') + b);
  EXPECT_EQ(l[2], "");
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(writer.PageLine, 5) << "the two lines count 3, the blank lines 2";

  writer = ReportWriter("X");
  scores.ItemCode[74] = 1;
  PrintClassificationHeading(ctx);
  l = lines();
  ASSERT_EQ(l.size(), 3u);
  const std::string d = "*** Substance (Dependency/Abuse) Classification: substance dependent";
  EXPECT_EQ(l[0], std::string(41 - d.size() / 2, ' ') + d);
  EXPECT_EQ(writer.PageLine, 4);

  writer = ReportWriter("X");
  scores.ItemCode[74] = 2;
  scores.ItemCode[142] = 1;
  PrintClassificationHeading(ctx);
  const std::string ab = "*** Substance (Dependency/Abuse) Classification: substance abuse";
  EXPECT_EQ(lines()[0], std::string(41 - ab.size() / 2, ' ') + ab);
  EXPECT_EQ(scores.AbuseCount, 1);
}

// ---------------------------------------------------------------------------
TEST_F(Layout, ResponseRows) {
  for (int i = 1; i <= 105; ++i) scores.ItemCode[static_cast<std::size_t>(i)] = 1;
  scores.ItemCode[2] = 2;
  scores.ItemCode[3] = 0;
  scores.ItemCode[4] = 3;
  for (int i = 106; i <= 162; ++i) scores.ItemCode[static_cast<std::size_t>(i)] = i % 5;
  auto ctx = context();
  writer.PageLine = 40;
  PrintResponses(ctx);
  const auto l = lines();
  ASSERT_EQ(l.size(), 7u);
  EXPECT_EQ(l[0], std::string(35, ' ') + "ZV RESPONSES");
  EXPECT_EQ(l[1], std::string(35, ' ') + "------------");
  EXPECT_EQ(l[2], "         1- 50   TF00TTTTTT  TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  ");
  EXPECT_EQ(l[3], "        51-100   TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  ");
  EXPECT_EQ(l[4], "       101-150   TTTTT12340  1234012340  1234012340  1234012340  1234012340  ");
  EXPECT_EQ(l[5], "       151-162   1234012340  12");
  EXPECT_EQ(l[6], "");
  EXPECT_EQ(writer.PageLine, 47);

  writer = ReportWriter("X");
  writer.PageLine = 53;  // 59 after the rows: no blank line, no page break
  PrintResponses(ctx);
  EXPECT_EQ(lines().size(), 6u);
  EXPECT_EQ(writer.PageLine, 59);
}

TEST_F(Layout, SignificantItemsSideBySide) {
  // Alcohol: items 4 and 8 (3 points), 3 (2 points); drugs: five selected.
  for (int i : {3, 4, 8}) scores.ItemPoints[static_cast<std::size_t>(i)] = i == 3 ? 2 : 3;
  for (int i : {16, 18, 20, 21, 24}) scores.ItemPoints[static_cast<std::size_t>(i)] = 2;
  scores.ItemPoints[5] = 1;  // one point is not significant
  auto ctx = context();
  writer.PageLine = 10;
  PrintSignificantItems(ctx);
  const auto l = lines();
  EXPECT_EQ(l[0], "       SIGNIFICANT ITEMS: These  answers  are  the  defendant's  self-reported");
  EXPECT_EQ(l[1], "       responses. And, they represent direct admissions or unusual  responses,");
  EXPECT_EQ(l[2], "       which may help in understanding the defendant's situation.");
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(l[4], "       ALCOHOL" + std::string(29, ' ') + "DRUGS");
  EXPECT_EQ(l[5], "       -------" + std::string(29, ' ') + "-----");
  EXPECT_EQ(l[6], "       3. Significant answer number 3      16. Significant answer number 12");
  EXPECT_EQ(l[7], "       4. Significant answer number 4      18. Significant answer number 14");
  EXPECT_EQ(l[8], "       8. Significant answer number 8      20. Significant answer number 16");
  EXPECT_EQ(l[9], std::string(43, ' ') + "21. Significant answer number 17");
  EXPECT_EQ(l[10], std::string(43, ' ') + "24. Significant answer number 20");
  EXPECT_EQ(l[11], "");
  EXPECT_EQ(l[12], "       ANTISOCIAL" + std::string(26, ' ') + "VIOLENCE");
  EXPECT_EQ(l[13], "       ----------" + std::string(26, ' ') + "--------");
  EXPECT_EQ(l[14], "       No Significant Items were selected. No Significant Items were selected.");
  EXPECT_EQ(l[15], "       Review the Truthfulness Scale score Review the Truthfulness Scale score");
  EXPECT_EQ(l[16], "");
  ASSERT_EQ(l.size(), 17u);
  EXPECT_EQ(writer.PageLine, 10 + 4 + 2 + 5 + 1 + 2 + 2 + 1);
}

TEST_F(Layout, SignificantItemsContinueOnANewPage) {
  for (int i : {3, 4, 8}) scores.ItemPoints[static_cast<std::size_t>(i)] = 3;
  auto ctx = context();
  writer.PageLine = 50;  // 54 after the opening, 56 after the headings
  PrintSignificantItems(ctx);
  const auto l = lines();
  ASSERT_GE(l.size(), 20u);
  EXPECT_EQ(l[6], "       3. Significant answer number 3      No Significant Items were selected.");
  EXPECT_EQ(l[7], "       4. Significant answer number 4      Review the Truthfulness Scale score");
  // Row 2 brings the count to 58: new page, continuation title, headings again.
  EXPECT_EQ(l[8], "\x0C");
  EXPECT_EQ(l[9].substr(0, 13), "       NAME: ");
  EXPECT_EQ(l[10], "");
  EXPECT_EQ(l[11], "       SIGNIFICANT ITEMS (continued):");
  EXPECT_EQ(l[12], "");
  EXPECT_EQ(l[13], "       ALCOHOL" + std::string(29, ' ') + "DRUGS");
  EXPECT_EQ(l[14], "       -------" + std::string(29, ' ') + "-----");
  EXPECT_EQ(l[15], "       8. Significant answer number 8");
  EXPECT_EQ(l[16], "");
  EXPECT_EQ(l[17], "       ANTISOCIAL" + std::string(26, ' ') + "VIOLENCE");
}

TEST_F(Layout, SignificantItemsPageTestAfterAPairsLastRow) {
  auto ctx = context();
  writer.PageLine = 50;  // opening 3 + blank: 54; headings: 56; two rows: 58
  PrintSignificantItems(ctx);
  const auto l = lines();
  EXPECT_EQ(l[7], "       Review the Truthfulness Scale score Review the Truthfulness Scale score");
  EXPECT_EQ(l[8], "\x0C") << "the last row of the pair fills the page";
  EXPECT_EQ(l[11], "       SIGNIFICANT ITEMS (continued):");
  EXPECT_EQ(l[13], "       ALCOHOL" + std::string(29, ' ') + "DRUGS");
  EXPECT_EQ(l[15], "") << "blank line after the pair";
  EXPECT_EQ(l[16], "       ANTISOCIAL" + std::string(26, ' ') + "VIOLENCE");
}

TEST_F(Layout, SignificantItemsOpeningMovesToANewPage) {
  auto ctx = context();
  writer.PageLine = 56;
  PrintSignificantItems(ctx);
  const auto l = lines();
  EXPECT_EQ(l[0], "\x0C");
  EXPECT_EQ(l[3].substr(0, 25), "       SIGNIFICANT ITEMS:");
}

TEST_F(Layout, ChoicesTextsOmissionsAndPageBreak) {
  scores.ItemCode[140] = 3;
  scores.ItemCode[141] = 2;
  scores.ItemCode[143] = 4;
  scores.ItemCode[150] = 0;
  scores.ItemCode[162] = 1;
  scores.ItemCode[161] = 8;  // a damaged code never reads another item's texts
  auto ctx = context();
  writer.PageLine = 40;
  PrintChoices(ctx);
  const auto l = lines();
  EXPECT_EQ(l[0], "       MULTIPLE CHOICE (DEFENDANT'S SELF-REPORT):");
  EXPECT_EQ(l[1], "       ------------------------------------------");
  EXPECT_EQ(l[2], "       140. Answer 3 of item 140");
  EXPECT_EQ(l[3], "       141. Answer 2 of item 141");
  EXPECT_EQ(l[5], "       " + tables.ChoiceText[16].substr(0, 71));
  EXPECT_EQ(l[5].size(), 78u) << "the first 71 characters";
  // 40 + 2 + 16 lines = 58 after item 155: new page.
  EXPECT_EQ(l[17], "       " + tables.ChoiceText[64].substr(0, 71));
  EXPECT_EQ(tables.ChoiceText[64].substr(0, 5), "155. ");
  EXPECT_EQ(l[18], "\x0C");
  EXPECT_EQ(l[21], "       " + tables.ChoiceText[68].substr(0, 71));
  EXPECT_EQ(l[10], "       " + tables.ChoiceText[36].substr(0, 71));
  EXPECT_EQ(l[10].size(), 78u);
  EXPECT_EQ(l[12], "       150. No response given.");
  EXPECT_EQ(l[26], "       161. Answer code 8 is not one of this item's answers.");
  EXPECT_EQ(l[27], "       162. Answer 1 of item 162");
  EXPECT_EQ(l[28], "");
  EXPECT_EQ(writer.PageLine, 2 + 7 + 1);
}

TEST_F(Layout, AdditionalInformation) {
  const char* values[15] = {"", "17", "N ", "3 ", "n ", "0 ", "  ", "99", "12", "1 ", "N ", "7 ", "0 ", "2 ", "12"};
  for (int f = 1; f <= 14; ++f) client.CourtText[static_cast<std::size_t>(f)] = values[f];
  auto ctx = context();
  writer.PageLine = 43;
  PrintAdditionalInfo(ctx);
  const auto l = lines();
  ASSERT_EQ(l.size(), 10u);
  EXPECT_EQ(l[0], std::string(21, ' ') + "ADDITIONAL INFORMATION PROVIDED BY CLIENT");
  EXPECT_EQ(l[1], std::string(21, ' ') + std::string(41, '-'));
  EXPECT_EQ(l[2], "       Age at first arrest.......... 17   Total number of times arrested... 12");
  EXPECT_EQ(l[3], "       Age at first conviction...... N/A  Jail sentences................... 1 ");
  EXPECT_EQ(l[4], "       Felony arrests............... 3    Prison sentences................. N/A");
  EXPECT_EQ(l[5], "       Times on probation........... N/A  Alcohol-related arrests.......... 7 ");
  EXPECT_EQ(l[6], "       Probation revocations........ 0    Drug-related arrests............. 0 ");
  EXPECT_EQ(l[7], "       Times on parole..............      DUI or DWI arrests............... 2 ");
  EXPECT_EQ(l[8], "       Parole revocations........... 99   Months employed in last 12 months.12");
  EXPECT_EQ(columnOf(l[2], "Total"), 43);
  EXPECT_EQ(l[9], "");
  EXPECT_EQ(writer.PageLine, 53);
}

TEST_F(Layout, SignatureBlock) {
  auto ctx = context();
  writer.PageLine = 30;
  PrintSignatureBlock(ctx, 63);
  auto l = lines();
  ASSERT_EQ(l.size(), 7u);
  EXPECT_EQ(l[0], "       RECOMMENDATIONS:" + std::string(55, '_'));
  EXPECT_EQ(l[0].size(), 78u);
  EXPECT_EQ(l[1], "");
  EXPECT_EQ(l[2], "       " + std::string(71, '_'));
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(l[4], "       ______________________        ______________");
  EXPECT_EQ(l[5], "       STAFF MEMBER SIGNATURE             DATE" + std::string(16, ' ') + "(ZV TEST # 7 )");
  EXPECT_EQ(columnOf(l[5], "(ZV TEST #"), 63);
  EXPECT_EQ(l[6], "");
  EXPECT_EQ(writer.PageLine, 37);

  writer = ReportWriter("X");
  writer.PageLine = 57;
  scores.ReportedClient = 51;
  PrintSignatureBlock(ctx, 62);
  l = lines();
  EXPECT_EQ(columnOf(l[5], "(ZV TEST # 51 )"), 62);
  EXPECT_EQ(l.size(), 6u) << "no blank line on a full page";
  EXPECT_EQ(writer.PageLine, 63);
}

TEST_F(Layout, InvalidNoteAndInvalidText) {
  PrintInvalidNote(writer, 1);
  auto l = lines();
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[0], "");
  EXPECT_EQ(l[1], "        This scale  is inaccurate and  not  scorable  because  the  respondent");
  EXPECT_EQ(l[2], "        omitted or skipped an excessive number of items.");
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(writer.PageLine, 4);
  writer = ReportWriter("X");
  writer.PageLine = 55;
  PrintInvalidNote(writer, 2);
  l = lines();
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[1], "        This Truthfulness Scale is inaccurate because there were an  excessive");
  EXPECT_EQ(l[2], "        number of True responses in Section 1.");
  EXPECT_EQ(writer.PageLine, 58);

  writer = ReportWriter("X");
  writer.PageLine = 56;
  auto ctx = context();
  PrintInvalidText(ctx);
  l = lines();
  EXPECT_EQ(l[0], "       This test is not valid: the Truthfulness Scale score lies at or above");
  EXPECT_EQ(l[1], "       the 95th percentile, or too many items were answered \"true\".");
  EXPECT_EQ(l[2], "\x0C");
  EXPECT_EQ(l[5], "       ") << "an empty text line is still written after 7 blanks";
  EXPECT_EQ(l[6], "       Retest the client after an interview.");
  ASSERT_EQ(l.size(), 7u);
  EXPECT_EQ(writer.PageLine, 4);
}
