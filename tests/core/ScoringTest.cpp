// Scoring rules: working fields, item points, raw scores, the stress ratio,
// court-history points, the truthfulness correction, ceilings and floors.
#include <gtest/gtest.h>

#include "records/ZvError.h"
#include "scoring/Scoring.h"
#include "tests/core/ReportTestInstallation.h"

using namespace zv;
using zvtest::TestClient;

namespace {

using Ints = std::vector<int>;

// Raw scores only: the percentile step would add the truthfulness correction.
Scores rawScore(const TestClient& c, const ReportTables& t = zvtest::testTables()) {
  Scores out;
  DecodeClient(zvtest::tableOf({c}), out);
  ComputeRawScores(SetScoringConstants(), t, out);
  return out;
}

// Raw score, scored items and omitted items of scale k.
Ints counts(const Scores& s, int k) {
  const ScaleResult& r = s.scale[static_cast<std::size_t>(k)];
  return {r.RawScore, r.ScoredItemCount, r.OmittedCount};
}

// The values of an indexed table at the given places.
template <class Table>
Ints at(const Table& t, std::initializer_list<int> places) {
  Ints out;
  for (int p : places) out.push_back(static_cast<int>(t[static_cast<std::size_t>(p)]));
  return out;
}

// A client who answered every item, "false" on the true/false items, 1 on the
// rating items and 4 on the multiple-choice items: every keyed scale has its
// items answered and earns nothing.
TestClient answeredClient(std::initializer_list<std::pair<int, int>> codes = {}) {
  return zvtest::plainClient(codes, 1);
}

// The percentile step on scores built by hand, norm group (g, r).
Scores percentiles(const ReportTables& t, Scores x, int g = 1, int r = 1) {
  ComputePercentiles(t, g, r, x);
  return x;
}

Ints percentilesOf(const Scores& x, int from = 2, int to = 5) {
  Ints out;
  for (int k = from; k <= to; ++k) out.push_back(x.scale[static_cast<std::size_t>(k)].Percentile);
  return out;
}

// Points of court field f with value v on scales 2..5 and on the court total.
void expectCourt(int f, int v, std::array<int, 4> s2to5, int total) {
  const CourtPoints cp = courtPointsOf(f, v);
  EXPECT_EQ(std::pair(cp.scale, cp.courtTotal),
            std::pair((std::array<int, 7>{0, 0, s2to5[0], s2to5[1], s2to5[2], s2to5[3], 0}), total)) << f << ": " << v;
}

// Tables whose norms give percentile = raw score (1..99) on every scale and
// group, and whose truthfulness correction of scale s, band b is 10s + b.
ReportTables identityTables() {
  ReportTables t = zvtest::testTables();
  zvtest::setNorms(t, [](int, int, int) { return 99; }, [](int, int, int, int x) { return x; });
  for (int s = 2; s <= 6; ++s)
    for (int b = 1; b <= 9; ++b) t.TruthCorrection[s][b] = 10 * s + b;
  return t;
}

// Hand-made raw scores: scale 1, scales 2..6 (and a stress ratio of its own),
// scored items, alcohol and drug arrests and a court total.
Scores rawScores(int truth, int others, int scored = 5, int stress = -1, Ints court = {0, 0, 0}) {
  Scores x;
  x.scale[1].RawScore = truth;
  for (int k = 2; k <= 6; ++k) x.scale[k] = {k == 6 && stress >= 0 ? stress : others, 0, 0, scored};
  x.CourtValue[11] = court[0];
  x.CourtValue[12] = court[1];
  x.CourtTotal = court[2];
  return x;
}

// Points 2 or 3 on `twos` and `threes` key items of scale s.
Scores admissions(int s, int twos, int threes, int total = 0) {
  Scores x = rawScores(0, 1, 5, -1, {0, 0, total});
  int item = s == 2 ? 1 : s == 3 ? 16 : s == 4 ? 33 : 46;
  for (int i = 0; i < twos; ++i) x.ItemPoints[item++] = 2;
  for (int i = 0; i < threes; ++i) x.ItemPoints[item++] = 3;
  return x;
}

}  // namespace

TEST(DecodeClientTest, FullWidthFieldsNotAvailableLeadingNumbersAndNormGroups) {
  TestClient c;
  c.id = "n";
  c.age = " N ";
  c.education = "N";
  c.dateOfBirth = "N";
  for (auto [i, v] : {std::pair{0, "01"}, {1, "N"}, {2, ""}, {3, "7"}}) c.court[i] = v;
  for (auto [i, v] : {std::pair{0, '1'}, {1, ' '}, {2, 'x'}, {161, '9'}}) c.responses[i] = v;
  Scores s;
  const ClientFields f = DecodeClient(zvtest::tableOf({TestClient{}, c}, 2), s);
  EXPECT_EQ((std::vector<std::string>{f.Name, f.IdNumber, f.Age, f.Education, f.DateOfBirth, f.DateTested, f.CourtText[1],
                                      f.CourtText[2], f.CourtText[3], f.CourtText[4]}),
            (std::vector<std::string>{std::string("Doe, Jan\xE9") + std::string(16, ' '), "N/A", "N/A", "N/A", "N/A",
                                      "03/04/2024", "01", "N ", "  ", "7 "}));
  EXPECT_EQ(at(s.CourtValue, {1, 2, 3, 4}), (Ints{1, 0, 0, 7}));
  EXPECT_EQ(at(s.ItemCode, {1, 2, 3, 162}), (Ints{1, 0, 0, 9}));
  EXPECT_EQ((Ints{s.ReportedClient, f.ReportedClient}), (Ints{2, 2}));
  // The other fields padded to their widths: the golden reports' headers.

  const std::pair<const char*, int> numbers[] = {{"01", 1}, {"7 ", 7}, {" 5", 5}, {"N ", 0}, {"  ", 0}, {"12", 12}, {"4x", 4}};
  for (auto [text, n] : numbers) EXPECT_EQ(fieldNumber(text), n) << text;
  for (auto [code, g] : {std::pair{0, 1}, {1, 1}, {2, 2}, {3, 1}, {9, 1}}) EXPECT_EQ(genderGroup(code), g) << code;
  for (auto [code, g] : {std::pair{0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 1}, {6, 1}}) EXPECT_EQ(raceGroup(code), g) << code;
}

TEST(RawScoreTest, KeyedPointsOmissionsAndScoredItems) {
  // 3: 2 points, 4: 3 points, 5: 1 point, 6 omitted (the code-0 key: 0), 153: 3 points.
  const Scores s = rawScore(answeredClient({{3, 1}, {4, 1}, {5, 1}, {6, 0}, {153, 1}}));
  EXPECT_EQ(counts(s, 2), (Ints{2 + 3 + 1 + 3, 4, 1}));
  EXPECT_EQ(at(s.ItemPoints, {3, 4, 153, 6}), (Ints{2, 3, 3, 0}));
  // The second key section uses its own positions: true on 61..65 and false on 66..70 earn 1 each.
  TestClient c = answeredClient();
  c.answer(61, 65, 1);
  c.answer(66, 70, 2);
  const Scores t = rawScore(c);
  EXPECT_EQ(counts(t, 1), (Ints{10, 10, 0}));
  EXPECT_EQ(at(t.ItemPoints, {61, 70}), (Ints{1, 1}));
}

TEST(RawScoreTest, ItemsThatEarnNothing) {
  // 120 is a rating item on no list.
  Scores s = rawScore(answeredClient({{100, 1}, {120, 4}}));
  EXPECT_EQ(at(s.ItemPoints, {100, 120}), (Ints{0, 0}));
  // 71: key section 2, position 11 of the "false" key is 'x'; 140: key section 4,
  // code 0, the key "0" is one character long.
  ReportTables t = zvtest::testTables();
  t.ScaleItems[1].push_back(71);
  t.ScaleItems[2].push_back(140);
  s = rawScore(answeredClient({{71, 2}, {140, 0}, {153, 0}}), t);
  EXPECT_EQ(at(s.ItemPoints, {71, 140, 153}), (Ints{0, 0, 0}));
  EXPECT_EQ(counts(s, 2)[2], 2);
  // Codes 3 and 4 on true/false items: neither points nor omissions.
  s = rawScore(answeredClient({{4, 3}, {8, 4}}));
  EXPECT_EQ(at(s.ItemPoints, {4, 8}), (Ints{0, 0}));
  EXPECT_EQ((Ints{counts(s, 2)[0], counts(s, 2)[2]}), (Ints{0, 0}));
}

TEST(RawScoreTest, CodeAboveFourOnKeyedItemIsADataFault) {
  for (int item : {4, 107, 153}) {
    const ZvError e = zvtest::faultOf([&] { rawScore(answeredClient({{item, 5}})); });
    EXPECT_EQ(e.kind(), ErrorKind::BadData) << item;
    EXPECT_EQ(e.description(), "DATA401.ZV, record 1: item " + std::to_string(item) +
                                   " holds answer code 5; a scored item takes the codes 0 to 4");
  }
  EXPECT_NO_THROW(rawScore(answeredClient({{141, 7}}))) << "on no scale list: no fault";
}

TEST(RawScoreTest, Item156LowersTheScaleItNamesAndAnExcessOfTrueAnswersGives99) {
  // Answer to 156 -> raw scores of scales 2 and 3 (2 each before).
  for (auto [answer, s2, s3] : {std::tuple{1, 2, 1}, {2, 1, 2}, {3, 2, 2}}) {
    const Scores s = rawScore(answeredClient({{3, 1}, {18, 1}, {156, answer}}));
    EXPECT_EQ((Ints{counts(s, 2)[0], counts(s, 3)[0]}), (Ints{s2, s3})) << answer;
  }
  TestClient c = answeredClient();
  c.answer(1, 100, 1);  // 100 "true" among items 1..105
  EXPECT_EQ(counts(rawScore(c), 1)[0], 99);
  c.answer(100, 2);  // 99
  EXPECT_NE(counts(rawScore(c), 1)[0], 99);
}

TEST(RawScoreTest, NoAnswersAtAll) {
  Scores s = rawScore(TestClient{});
  ComputePercentiles(zvtest::testTables(), 1, 1, s);  // the client's norm group
  for (int k = 1; k <= 5; ++k) EXPECT_GE(counts(s, k)[2], 4) << k;
  // Percentile 99 of scale 1 ends scoring: every other scale is 99.
  EXPECT_EQ(percentilesOf(s, 1, 6), Ints(6, 99));
  EXPECT_EQ((Ints{counts(s, 6)[0], counts(s, 6)[2]}), (Ints{15, 34}));
}

TEST(StressRatioTest, SumsOfTheTwoGroupsAndTruncation) {
  auto ratio = [](const TestClient& c) { return Ints{counts(rawScore(c), 6)[0], counts(rawScore(c), 6)[2]}; };
  TestClient c = answeredClient();  // all rating items 1: A = 15, B = 15
  EXPECT_EQ(ratio(c), (Ints{60, 0}));
  // A all 4 (60), B all 1 (15): 240, the top of the range.
  for (int i : {106, 107, 109, 113, 114, 115, 118, 122, 124, 126, 127, 129, 130, 133, 135}) c.answer(i, 4);
  EXPECT_EQ(ratio(c)[0], 240);
  // One unanswered item of each group: A counts it 1, B counts it 4; then
  // items 136..139 are not in either group but count as omitted.
  c.answer(106, 0);
  c.answer(108, 0);
  EXPECT_EQ(ratio(c), (Ints{(57 * 60) / 18, 2}));
  c.answer(137, 0);
  EXPECT_EQ(ratio(c), (Ints{(57 * 60) / 18, 3}));
  // Integer division truncates.
  c = zvtest::plainClient();  // rating items 2: A = 30, B = 30
  c.answer(107, 3);       // A = 31: 31 * 60 / 30 = 62
  c.answer(108, 3);       // B = 31: 1860 / 31 = 60
  c.answer(110, 3);       // B = 32: 1860 / 32 = 58.1
  EXPECT_EQ(ratio(c)[0], 58);
}

TEST(StressRatioTest, PercentileRows) {
  const ReportTables t = zvtest::testTables();
  auto stressPercentile = [&](int raw, int g = 1, int r = 1) {
    Scores x;  // every other scale 0: scale 1's percentile 0 corrects nothing
    x.scale[6].RawScore = raw;
    return percentiles(t, x, g, r).scale[6].Percentile;
  };
  // Cuts 10, 15, 20, ...: row m holds (10 + 5(m-1), 10 + 5m]; 10 lies at the
  // lowest cut (no row holds it), 261 above the top cut.
  const std::pair<int, int> cases[] = {{11, t.StressNorm[1][1][1]}, {15, t.StressNorm[1][1][1]},
                                       {16, t.StressNorm[1][2][1]}, {260, t.StressNorm[1][50][1]},
                                       {10, 0}, {261, 0}, {0, 99}, {-3, 99}};
  for (auto [raw, p] : cases) EXPECT_EQ(stressPercentile(raw), p) << raw;
  EXPECT_EQ(stressPercentile(16, 2, 3), t.StressNorm[3][2][2]) << "women, race 3";
}

TEST(CourtPointsTest, EveryFieldAndItsScales) {
  // Ages at first arrest (scale 4) and first conviction (scale 5).
  for (auto [v, p] : {std::pair{0, 0}, {1, 3}, {28, 3}, {29, 2}, {48, 2}, {49, 1}, {99, 1}}) {
    expectCourt(1, v, {0, 0, p, 0}, p);
    expectCourt(2, v, {0, 0, 0, p}, p);
  }
  // Counts; parole revocations (7) stay out of the court total.
  for (auto [v, p] : {std::pair{0, 0}, {1, 0}, {2, 1}, {5, 4}, {6, 4}, {99, 4}}) {
    expectCourt(3, v, {0, 0, 0, p}, p);
    expectCourt(4, v, {0, 0, p, 0}, p);
    expectCourt(5, v, {0, 0, 0, p}, p);
    expectCourt(6, v, {0, 0, p, p}, p);
    expectCourt(7, v, {0, 0, p, p}, 0);
  }
  // Arrests and sentences.
  for (auto [v, p] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 3}, {7, 3}, {8, 4}, {40, 4}}) {
    expectCourt(8, v, {0, 0, p, p}, p);
    expectCourt(9, v, {0, 0, p, 0}, p);
    expectCourt(10, v, {0, 0, 0, p}, p);
  }
  // Alcohol (11) and drug (12) arrests; neither counts in the court total.
  for (auto [v, substance, s4] : {std::tuple{0, 0, 0}, {1, 0, 1}, {2, 1, 2}, {3, 1, 3}, {4, 2, 4}, {5, 2, 5},
                                  {6, 3, 5}, {20, 3, 5}}) {
    expectCourt(11, v, {substance, 0, s4, 0}, 0);
    expectCourt(12, v, {0, substance, s4, 0}, 0);
  }
  for (auto [v, p] : {std::pair{0, 0}, {1, 1}, {5, 5}, {6, 5}, {99, 5}}) expectCourt(13, v, {p, 0, 0, 0}, 0);
  // Months employed.
  for (auto [v, p] : {std::pair{0, 0}, {1, 2}, {6, 2}, {7, 1}, {11, 1}, {12, 0}}) expectCourt(14, v, {0, 0, p, 0}, p);
}

// Arrest counts lifting the percentiles of a client: the golden reports.
TEST(CourtPointsTest, RawScoresAndCourtTotalOfAClient) {
  TestClient c = answeredClient();
  c.court = {"20", "30", "3", "2", "1", "2", "6", "9", "4", "N", "5", "2", "7", "3"};
  const Scores s = rawScore(c);
  // Scale 2: alcohol arrests 2, DUI 5. Scale 3: drug arrests 1. Scale 4: first
  // arrest 3, probation 1, parole 1, parole revocations 4, arrests 4, jail 2,
  // alcohol arrests 5, drug arrests 2, months employed 2. Scale 5: first
  // conviction 2, felony 2, probation revocations 0, parole 1, parole
  // revocations 4, arrests 4, prison "N" 0. Court total: 3 + 2 + 2 + 1 + 0 + 1 + 4 + 2 + 0 + 2.
  EXPECT_EQ((Ints{counts(s, 2)[0], counts(s, 3)[0], counts(s, 4)[0], counts(s, 5)[0], s.CourtTotal}),
            (Ints{2 + 5, 1, 3 + 1 + 1 + 4 + 4 + 2 + 5 + 2 + 2, 2 + 2 + 0 + 1 + 4 + 4, 17}));
}

TEST(TruthCorrectionTest, BandsStopsAndStressRatio) {
  ReportTables t = identityTables();
  // Band 0: nothing corrected below ten.
  const std::pair<int, int> bands[] = {{0, 0},  {1, 0},  {9, 0},  {10, 1}, {19, 1}, {20, 2}, {29, 2}, {30, 3},
                                       {45, 4}, {50, 5}, {60, 6}, {70, 7}, {80, 8}, {89, 8}, {90, 9}, {94, 9}};
  for (auto [p, b] : bands) {
    const Scores x = percentiles(t, rawScores(p, 5, 5, 100));
    for (int k = 2; k <= 6; ++k)
      EXPECT_EQ(x.scale[k].RawScore, (k == 6 ? 100 : 5) + (b ? 10 * k + b : 0)) << p << " " << k;
    EXPECT_EQ(x.scale[2].Percentile, 5 + (b ? 20 + b : 0)) << "the corrected raw score is looked up";
  }
  // At 95 the correction stops.
  Scores x = percentiles(t, rawScores(95, 5, 5, 100));
  EXPECT_EQ(percentilesOf(x, 2, 6), Ints(5, 99));
  for (int k = 2; k <= 6; ++k) EXPECT_EQ(x.scale[k].RawScore, k == 6 ? 100 : 5) << "no correction at 95";
  // 94 corrects with row 9 and scores normally; 169 lies in (165, 170].
  x = percentiles(t, rawScores(94, 5, 5, 100));
  EXPECT_EQ((Ints{x.scale[2].RawScore, x.scale[2].Percentile, x.scale[6].RawScore, x.scale[6].Percentile}),
            (Ints{5 + 29, 34, 100 + 69, t.StressNorm[1][32][1]}));
  // A stress ratio corrected to zero or below gives 99.
  for (int b = 1; b <= 9; ++b) t.TruthCorrection[6][b] = -1000;
  x = percentiles(t, rawScores(50, 5, 5, 200));
  EXPECT_EQ((Ints{x.scale[6].RawScore, x.scale[6].Percentile}), (Ints{-800, 99}));
}

TEST(TableLookupTest, BoundsOmissionsNegativeScoresAndNormGroups) {
  ReportTables t = identityTables();
  t.NormCount[1][1][2] = 40;
  // A raw score equal to the count is looked up; one above it gives 99.
  EXPECT_EQ(percentiles(t, rawScores(0, 40)).scale[2].Percentile, 40);
  EXPECT_EQ(percentilesOf(percentiles(t, rawScores(0, 41)), 2, 3), (Ints{99, 41}));
  Scores x = rawScores(0, 20);
  x.scale[3].OmittedCount = 3;
  x.scale[4].OmittedCount = 4;
  EXPECT_EQ(percentilesOf(percentiles(t, x), 3, 4), (Ints{20, 99})) << "four omitted items";
  EXPECT_EQ(percentiles(t, rawScores(0, -2)).scale[2].Percentile, 0);
  x = rawScores(0, -2);
  x.scale[2].OmittedCount = 4;
  EXPECT_EQ(percentiles(t, x).scale[2].Percentile, 99);
  EXPECT_EQ(percentiles(t, rawScores(0, 0)).scale[2].Percentile, 0) << "raw score 0 reads entry 0";

  t = zvtest::testTables();
  t.NormTable[2][10][3][2] = 77;
  t.NormTable[2][10][1][1] = 11;
  // Women of race 3 read their own table; gender 0 or 7 and race 5 or 0 are normed as group 1.
  for (auto [g, r, p] : {std::tuple{2, 3, 77}, {0, 5, 11}, {7, 0, 11}})
    EXPECT_EQ(percentiles(t, rawScores(0, 10), g, r).scale[2].Percentile, p) << g << " " << r;
}

TEST(CeilingsAndFloorsTest, CeilingsOfFewScoredItems) {
  const ReportTables t = identityTables();
  for (auto [scored, expected] : {std::pair{0, 7}, {1, 18}, {2, 37}, {3, 60}})
    EXPECT_EQ(percentilesOf(percentiles(t, rawScores(0, 60, scored))), Ints(4, expected)) << scored;
  EXPECT_EQ(percentiles(t, rawScores(60, 0, 0)).scale[1].Percentile, 60) << "scale 1 has no ceiling";
  EXPECT_EQ(percentiles(t, rawScores(0, 120, 0)).scale[2].Percentile, 99) << "the 99 of an out-of-table score";
}

TEST(CeilingsAndFloorsTest, ArrestAndCourtTotalFloors) {
  const ReportTables t = identityTables();
  // Floors lift above ceilings. Alcohol arrests 2: at least 61; drug arrests
  // 5: at least 89; court total 13: scale 5 at least 60.
  EXPECT_EQ(percentilesOf(percentiles(t, rawScores(0, 60, 0, -1, {2, 5, 13}))), (Ints{61, 89, 7, 60}));
  for (auto [v, expected] : {std::pair{0, 5}, {1, 40}, {2, 61}, {3, 72}, {4, 80}, {5, 89}, {12, 89}})
    EXPECT_EQ(percentilesOf(percentiles(t, rawScores(0, 5, 5, -1, {v, v, 0})), 2, 4), (Ints{expected, expected, 5})) << v;
  EXPECT_EQ(percentiles(t, rawScores(0, 95, 5, -1, {5, 0, 0})).scale[2].Percentile, 95) << "a floor never lowers";
  const std::pair<int, int> floors[] = {{2, 5}, {3, 40}, {12, 40}, {13, 60}, {17, 60}, {18, 72},
                                        {21, 72}, {22, 82}, {24, 82}, {25, 89}, {60, 89}};
  for (auto [total, expected] : floors)
    EXPECT_EQ(percentilesOf(percentiles(t, rawScores(0, 5, 5, -1, {0, 0, total})), 4, 5), (Ints{5, expected})) << total;
  // 22..24: below 80 becomes 82; 80 and 81 stay.
  for (auto [raw, expected] : {std::pair{79, 82}, {80, 80}, {81, 81}, {83, 83}})
    EXPECT_EQ(percentiles(t, rawScores(0, raw, 5, -1, {0, 0, 23})).scale[5].Percentile, expected) << raw;
}

TEST(AdmissionFloorsTest, TableRowsPerScale) {
  const ReportTables t = identityTables();
  struct Row { int twos, threes; int s23, s4, s5; };
  const Row rows[] = {
      {0, 0, 1, 1, 1},     {1, 0, 1, 1, 1},     {0, 1, 15, 14, 16},  {2, 0, 26, 38, 37},  {1, 1, 30, 43, 42},
      {0, 2, 38, 44, 43},  {3, 0, 47, 49, 48},  {2, 1, 47, 49, 48},  {4, 0, 52, 56, 56},  {5, 0, 59, 71, 60},
      {6, 0, 67, 76, 68},  {7, 0, 77, 86, 78},  {8, 0, 87, 92, 88},  {9, 0, 91, 92, 92},  {10, 0, 93, 92, 94},
      {12, 1, 93, 92, 94},
  };
  for (const Row& r : rows)
    for (int s = 2; s <= 5; ++s) {
      if ((s == 5 && r.twos + r.threes > 15) || (s == 4 && r.twos + r.threes > 13)) continue;
      const int expected = s <= 3 ? r.s23 : s == 4 ? r.s4 : r.s5;
      EXPECT_EQ(percentiles(t, admissions(s, r.twos, r.threes)).scale[s].Percentile, expected)
          << "scale " << s << " twos " << r.twos << " threes " << r.threes;
    }
}

TEST(AdmissionFloorsTest, OwnKeyItemsAndAfterTheCourtTotalRule) {
  // Only the scale's own key items count.
  Scores x = admissions(2, 0, 0);
  x.ItemPoints[16] = 3;   // a drugs key item
  x.ItemPoints[100] = 3;  // on no key list
  EXPECT_EQ(percentilesOf(percentiles(identityTables(), x), 2, 3), (Ints{1, 15}));
  // Court total 23 turns 50 into 82; the admission floor (47) of three twos
  // does not lower it. Ten admissions lift an 80 (kept by the court rule) to 94.
  for (auto [twos, raw, expected] : {std::tuple{3, 50, 82}, {10, 80, 94}}) {
    x = admissions(5, twos, 0, 23);
    x.scale[5].RawScore = raw;
    EXPECT_EQ(percentiles(identityTables(), x).scale[5].Percentile, expected) << twos;
  }
}
