// Report sections: chart columns and bars, risk-range words, the page foot,
// page breaks and the page-line count of every section. What every report
// holds the same way (the chart's frame, the classification heading, each
// section on a page with room) is compared whole in ReportGoldenTest.
#include <gtest/gtest.h>

#include <functional>

#include "records/FileSystem.h"
#include "report/ReportSections.h"
#include "tests/core/ReportTestInstallation.h"

using namespace zv;

namespace {

using Lines = std::vector<std::string>;

// Lines `from`.. of `l` are exactly `expected`.
void expectLines(const Lines& l, std::size_t from, const Lines& expected) {
  ASSERT_LE(from + expected.size(), l.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(l[from + i], expected[i]) << "line " << from + i;
}

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

const std::string kName = "Roe, Kim" + sp(17);
const std::string kHead2 = "       NAME: " + kName + "  -2-" + sp(26) + "ZV REPORT";  // the running head of page 2
const std::string kRuler = sp(37);
const std::string kScaleA = "0           30        55            90 100";
const std::string kScaleB = "----------- PERCENTILE SCORES -----------";

class Layout : public ::testing::Test {
 protected:
  Layout() {
    zvtest::writeInstallation(dir.path(), tables);
    std::vector<DataProblem> problems;
    texts = ReadReportTexts(fs, dir.path(), problems);
    client.Name = kName;
    client.Age = "41 ";
    scores.ReportedClient = 7;
    for (int s = 1; s <= 6; ++s) scores.scale[s].Percentile = 10 * s;
    for (int i = 1; i <= 162; ++i) scores.ItemCode[i] = i <= 105 ? 2 : 4;
  }

  // Runs one section on a fresh writer standing at `pageLine`; its lines.
  Lines print(int pageLine, const std::function<void(ReportContext&)>& section) {
    writer = ReportWriter(kName);
    writer.PageLine = pageLine;
    ReportContext ctx{tables, texts, scores, client, writer};
    section(ctx);
    return zvtest::crlfLines(writer.bytes());
  }
  Lines chart() { return print(0, [](ReportContext& c) { PrintProfile(c, 1, 6); }); }
  Lines paragraph(int scale) { return print(0, [scale](ReportContext& c) { PrintScaleParagraph(c, scale); }); }

  zvtest::TempDir dir;
  ReportTables tables = zvtest::testTables();
  ReportTexts texts;
  RealFileSystem fs;
  Scores scores;
  ClientFields client;
  ReportWriter writer{kName};
};

}  // namespace

// The chart's frame, its scale rows in order and its footnotes of 90+% and
// of omitted items stand in every golden report: ReportGoldenTest.
TEST_F(Layout, ChartPercentileColumnsAndBars) {
  // Percentile columns: " 7 " starts in column 29, " 42 " in column 28 (units digit in column 30);
  // bars start in column 38 and are 41 characters wide (n = p div 25 ... stars).
  for (auto [s, p] : {std::pair{1, 7}, {4, 42}, {5, 99}, {6, 0}, {2, 25}, {3, 10}}) scores.scale[s].Percentile = p;
  const Lines l = print(19, [](ReportContext& c) { PrintProfile(c, 1, 6); });
  ASSERT_EQ(l.size(), 22u) << "the chart writes 22 lines";
  EXPECT_EQ(writer.PageLine, 19 + 19) << "but counts 19";
  EXPECT_EQ((Lines{l[3].substr(20, 11), l[5].substr(27, 4), l[7].substr(27, 4), l[9].substr(28, 3)}),
            (Lines{sp(8) + " 7 ", " 42 ", " 99 ", " 0 "}));
  auto dotted = [](std::initializer_list<int> cells) {
    std::string s = "|";
    for (int n : cells) s += std::string(static_cast<std::size_t>(n), '.') + "|";
    return s;
  };
  const std::string dottedA = dotted({15, 11, 7, 3}), dottedB = dotted({11, 9, 13, 3});
  auto bar = [](const std::string& dots, std::size_t stars) { return std::string(stars, '*') + dots.substr(stars); };
  EXPECT_EQ((Lines{l[3].substr(37), l[5].substr(37), l[7].substr(37), l[9].substr(37), l[15].substr(37), l[17].substr(37)}),
            (Lines{bar(dottedA, 3), bar(dottedA, 17), std::string(40, '*') + "|", bar(dottedA, 1), bar(dottedB, 11),
                   bar(dottedB, 5)}));
  EXPECT_EQ((Lines{l[19], l[20]}), (Lines{kRuler + kScaleA, kRuler + kScaleB})) << "no footnote";
}

// The 90+% footnote's first line and the rows of unscored scales: the golden reports.
TEST_F(Layout, ChartFootnotes) {
  scores.scale[1].Percentile = 90;
  scores.scale[2].Percentile = 5;
  Lines l = chart();
  EXPECT_EQ((Lines{l[3].substr(27, 5), l[15].substr(28, 4), l[20]}),
            (Lines{" 90 *", " 5 *", sp(7) + "  is elevated (90+%)" + sp(10) + kScaleB}));
  scores.scale[1].Percentile = 95;
  EXPECT_EQ(chart()[20], sp(7) + "  is excessively high" + sp(9) + kScaleB);

  // Too many omitted items outrank 90+%; four omitted are still charted.
  scores.scale[6].OmittedCount = 5;
  scores.scale[6].Percentile = 3;  // " **" at Tab(28) even where a percentile below 10 takes Tab(29)
  scores.scale[3].OmittedCount = 4;
  scores.scale[3].Percentile = 99;
  scores.scale[1].Percentile = 92;
  l = chart();
  EXPECT_EQ(l[9], "       Stress Coping" + sp(8) + " **" + sp(6) + "Scale not scored, insufficient answers");
  EXPECT_EQ(l[17].substr(27, 5), " 99 *");
  expectLines(l, 19, {sp(7) + "** Too many omitted items" + sp(5) + kScaleA,
                      sp(7) + "   to score this scale" + sp(8) + kScaleB});
}

TEST(RiskRangeTest, BandEdges) {
  // Percentiles and their sub-ranges; the range is the sub-range's first word.
  using Cases = std::vector<std::pair<int, std::string>>;
  const Cases general = {{0, "LOW"},          {39, "LOW"},         {40, "MEDIUM-LOW"},  {55, "MEDIUM-LOW"},
                         {56, "MEDIUM-HIGH"}, {69, "MEDIUM-HIGH"}, {70, "PROBLEM"},     {89, "PROBLEM"},
                         {90, "MAXIMUM-LOW"}, {94, "MAXIMUM-LOW"}, {95, "MAXIMUM-HIGH"}, {99, "MAXIMUM-HIGH"}};
  const Cases substance = {{0, "LOW"}, {29, "LOW"}, {30, "MEDIUM-LOW"}, {39, "MEDIUM-LOW"}, {40, "MEDIUM-HIGH"},
                           {54, "MEDIUM-HIGH"}, {55, "PROBLEM-LOW"}, {72, "PROBLEM-LOW"}, {73, "PROBLEM-HIGH"},
                           {89, "PROBLEM-HIGH"}, {90, "SEVERE"}, {95, "SEVERE"}, {96, "MAXIMUM"}, {99, "MAXIMUM"}};
  for (int s = 1; s <= 6; ++s)
    for (const auto& [p, sub] : s == 2 || s == 3 ? substance : general) {
      const RiskRange r = riskRangeOf(s, p);
      EXPECT_EQ((Lines{r.range, r.subRange}), (Lines{sub.substr(0, sub.find('-')), sub})) << s << " " << p;
    }
}

TEST_F(Layout, ScaleParagraphs) {
  // A title and plain lines: the golden reports. Substance paragraphs are
  // joined by dependency. Low alcohol score with dependency met: joined, with the recovery sentence.
  scores.scale[2].Percentile = 29;
  scores.DependencyMet = 1;
  Lines l = paragraph(2);
  // The paragraph's lines, each followed by one blank, then the sentence.
  std::string first = "Scale 2 LOW: this line is filled out to the full width";
  first.resize(71, '.');
  const std::string joined =
      first + " of a report line, and the paragraph goes on with a second line and ends with a third, shorter one "
              "(r\xE9sum\xE9).  Check if this person is a recovering substance (alcohol and/or drugs) abuser. If "
              "Truthfulness Scale score is below the 90th percentile and the person is not recovering, then "
              "dependence should be explored in interview.";
  Lines expected = {"       Alcohol SCALE: LOW RISK RANGE" + sp(24) + "RISK PERCENTILE:29"};
  for (const auto& line : justifyLines(joined)) expected.push_back("       " + line);
  EXPECT_EQ(l, expected);
  EXPECT_EQ(writer.PageLine, static_cast<int>(l.size())) << "no blank line after a joined paragraph";

  // The same score without dependency: plain lines.
  scores.DependencyMet = 0;
  EXPECT_EQ(paragraph(2).size(), 4u);
  // 55 and above without dependency: joined with the risk sentence.
  scores.scale[3].Percentile = 55;
  EXPECT_NE(paragraph(3).back().find("risk."), std::string::npos);
  // 54 without dependency, 30 with it: plain.
  for (auto [p, dep] : {std::pair{54, 0}, {30, 1}}) {
    scores.scale[3].Percentile = p;
    scores.DependencyMet = dep;
    EXPECT_EQ(paragraph(3).size(), 4u) << p;
  }
}

TEST_F(Layout, PageFoot) {
  // Mode 2 at 52 (four blanks and both notices) and mode 1 at 53: the golden reports.
  // Mode 2 at 57 writes only the first notice, and does above 58 too; mode 1 at 58 the same.
  for (auto [mode, at] : {std::pair{2, 57}, {2, 60}, {1, 58}}) {
    const std::size_t lines = print(at, [m = mode](ReportContext& c) { PrintPageFoot(c, m); }).size();
    EXPECT_EQ((std::pair{lines, writer.PageLine}), (std::pair<std::size_t, int>{1, at + 1})) << mode << " " << at;
  }
}

// The header of codes in the tables: the golden reports.
TEST_F(Layout, HeaderLinesOfCodesOutsideTheTables) {
  client.GenderCode = 7;  // outside the table: "N/A"
  client.RaceCode = 9;
  client.MaritalCode = 0;
  const Lines l = print(0, [](ReportContext& c) { PrintHeader(c, 2); });
  EXPECT_EQ((Lines{l[2], l[5], l[6], l[8]}),
            (Lines{sp(33) + "ONE-PAGE SUMMARY", "       AGE : 41      SEX: N/A   " + sp(27) + "CONFIDENTIAL REPORT",
                   "       ETHNICITY/RACE: N/A            ", "       MARITAL STATUS: N/A      "}));
}

TEST_F(Layout, ResponseRows) {
  for (int i = 1; i <= 105; ++i) scores.ItemCode[i] = 1;
  for (auto [i, c] : {std::pair{2, 2}, {3, 0}, {4, 3}}) scores.ItemCode[i] = c;
  for (int i = 106; i <= 162; ++i) scores.ItemCode[i] = i % 5;
  auto responses = [](ReportContext& c) { PrintResponses(c); };
  Lines l = print(40, responses);
  EXPECT_EQ(l, (Lines{sp(35) + "ZV RESPONSES", sp(35) + "------------",
                      "         1- 50   TF00TTTTTT  TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  ",
                      "        51-100   TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  TTTTTTTTTT  ",
                      "       101-150   TTTTT12340  1234012340  1234012340  1234012340  1234012340  ",
                      "       151-162   1234012340  12", ""}));
  EXPECT_EQ(writer.PageLine, 47);
  // 53: 59 after the rows, no blank line, no page break.
  EXPECT_EQ(print(53, responses).size(), 6u);
  EXPECT_EQ(writer.PageLine, 59);
}

// Both lists side by side, a longer one alone on the right, one point not
// significant: the golden reports.
TEST_F(Layout, SignificantItemsPageBreaks) {
  const std::string kAlcoholDrugs = "       ALCOHOL" + sp(29) + "DRUGS";
  const std::string kAlcoholDrugsRule = "       -------" + sp(29) + "-----";
  const std::string kAntisocialViolence = "       ANTISOCIAL" + sp(26) + "VIOLENCE";
  const std::string kReview = "Review the Truthfulness Scale score";
  auto significant = [](ReportContext& c) { PrintSignificantItems(c); };
  for (int i : {3, 4, 8}) scores.ItemPoints[i] = 3;
  // 50: 54 after the opening, 56 after the headings; row 2 brings the count
  // to 58: new page, continuation title, headings again.
  Lines l = print(50, significant);
  expectLines(l, 6, {"       3. Significant answer number 3      No Significant Items were selected.",
                     "       4. Significant answer number 4      " + kReview, "\x0C", kHead2, "",
                     "       SIGNIFICANT ITEMS (continued):", "", kAlcoholDrugs, kAlcoholDrugsRule,
                     "       8. Significant answer number 8", "", kAntisocialViolence});

  // The page test follows a pair's last row too: two rows bring it to 58; the
  // blank line after the pair goes on the new page.
  scores.ItemPoints = {};
  expectLines(print(50, significant), 7, {"       " + kReview + " " + kReview, "\x0C", kHead2, "",
                                          "       SIGNIFICANT ITEMS (continued):", "", kAlcoholDrugs,
                                          kAlcoholDrugsRule, "", kAntisocialViolence});

  // At 56 the opening moves to a new page.
  l = print(56, significant);
  EXPECT_EQ((Lines{l[0], l[3].substr(0, 25)}), (Lines{"\x0C", "       SIGNIFICANT ITEMS:"}));
}

TEST_F(Layout, ChoicesTextsOmissionsAndPageBreak) {
  for (auto [i, c] : {std::pair{140, 3}, {141, 2}, {143, 4}, {150, 0}, {162, 1}}) scores.ItemCode[i] = c;
  scores.ItemCode[161] = 8;  // a damaged code never reads another item's texts
  const Lines l = print(40, [](ReportContext& c) { PrintChoices(c); });
  auto choice = [this](int k) { return "       " + tables.ChoiceText[k].substr(0, 71); };
  expectLines(l, 0, {"       MULTIPLE CHOICE (DEFENDANT'S SELF-REPORT):", "       ------------------------------------------",
                     "       140. Answer 3 of item 140", "       141. Answer 2 of item 141"});
  // Line 5: the first 71 characters of a longer text.
  EXPECT_EQ((Lines{l[5], l[10], l[12]}), (Lines{choice(16), choice(36), "       150. No response given."}));
  // 40 + 2 + 16 lines = 58 after item 155 (answer 4, text 64): new page.
  expectLines(l, 17, {choice(64), "\x0C", kHead2, "", choice(68)});
  expectLines(l, 26, {"       161. Answer code 8 is not one of this item's answers.", "       162. Answer 1 of item 162", ""});
  EXPECT_EQ(writer.PageLine, 2 + 7 + 1);
}

TEST_F(Layout, AdditionalInformation) {
  const char* values[15] = {"", "17", "N ", "3 ", "n ", "0 ", "  ", "99", "12", "1 ", "N ", "7 ", "0 ", "2 ", "12"};
  for (int f = 1; f <= 14; ++f) client.CourtText[f] = values[f];
  const Lines l = print(43, [](ReportContext& c) { PrintAdditionalInfo(c); });
  EXPECT_EQ(l, (Lines{sp(21) + "ADDITIONAL INFORMATION PROVIDED BY CLIENT", sp(21) + std::string(41, '-'),
                      "       Age at first arrest.......... 17   Total number of times arrested... 12",
                      "       Age at first conviction...... N/A  Jail sentences................... 1 ",
                      "       Felony arrests............... 3    Prison sentences................. N/A",
                      "       Times on probation........... N/A  Alcohol-related arrests.......... 7 ",
                      "       Probation revocations........ 0    Drug-related arrests............. 0 ",
                      "       Times on parole..............      DUI or DWI arrests............... 2 ",
                      "       Parole revocations........... 99   Months employed in last 12 months.12", ""}));
  EXPECT_EQ(writer.PageLine, 53);
}

TEST_F(Layout, SignatureBlock) {
  // The block at both columns of the test number: the golden reports.
  print(30, [](ReportContext& c) { PrintSignatureBlock(c, 63); });
  EXPECT_EQ(writer.PageLine, 37);
  scores.ReportedClient = 51;
  const Lines l = print(57, [](ReportContext& c) { PrintSignatureBlock(c, 62); });
  EXPECT_EQ(l[5].find("(ZV TEST # 51 )"), 61u) << "column 62";
  EXPECT_EQ(l.size(), 6u) << "no blank line on a full page";
  EXPECT_EQ(writer.PageLine, 63);
}

TEST_F(Layout, InvalidNoteAndInvalidText) {
  // Each note with its blank lines on a page with room: the golden reports.
  Lines l = print(55, [this](ReportContext&) { PrintInvalidNote(writer, 2); });
  EXPECT_EQ(l, (Lines{"", "        This Truthfulness Scale is inaccurate because there were an  excessive",
                      "        number of True responses in Section 1."}));
  EXPECT_EQ(writer.PageLine, 58);

  // An empty text line is still written after 7 blanks.
  l = print(56, [](ReportContext& c) { PrintInvalidText(c); });
  EXPECT_EQ(l, (Lines{"       This test is not valid: the Truthfulness Scale score lies at or above",
                      "       the 95th percentile, or too many items were answered \"true\".", "\x0C", kHead2, "",
                      "       ", "       Retest the client after an interview."}));
  EXPECT_EQ(writer.PageLine, 4);
}
