// Scoring rules: working fields, item points, raw scores, the stress ratio,
// court-history points, the truthfulness correction, ceilings and floors.
#include <gtest/gtest.h>

#include "records/ZvError.h"
#include "scoring/Scoring.h"
#include "tests/core/ReportTestInstallation.h"

using namespace zv;
using zvtest::TestClient;

namespace {

struct Scored {
  ClientFields fields;
  Scores scores;
};

// Raw scores only: the percentile step would add the truthfulness correction.
Scored rawScore(const TestClient& c, const ReportTables& t = zvtest::testTables()) {
  const ClientTable table = zvtest::tableOf({c});
  Scored out;
  out.fields = DecodeClient(table, out.scores);
  ComputeRawScores(SetScoringConstants(), t, out.scores);
  return out;
}

Scored score(const TestClient& c, const ReportTables& t = zvtest::testTables()) {
  Scored out = rawScore(c, t);
  ComputePercentiles(t, out.fields.GenderCode, out.fields.RaceCode, out.scores);
  return out;
}

const ScaleResult& scale(const Scored& s, int k) { return s.scores.scale[static_cast<std::size_t>(k)]; }

// A client who answered every item, "false" on the true/false items, 1 on the
// rating items and 4 on the multiple-choice items: every keyed scale has its
// items answered and earns nothing.
TestClient answeredClient() {
  TestClient c;
  c.answer(1, 105, 2);
  c.answer(106, 139, 1);
  c.answer(140, 162, 4);
  return c;
}

}  // namespace

TEST(ScoringConstantsTest, FixedCounts) {
  const ScoringConstants c = SetScoringConstants();
  EXPECT_EQ(c.ScaleCount, 6);
  EXPECT_EQ(c.CourtFieldCount, 14);
  EXPECT_EQ(c.KeyedAnswers, (std::array<int, 5>{0, 2, 2, 4, 4}));
}

// ---------------------------------------------------------------------------
TEST(DecodeClientTest, FullWidthFieldsAndNotAvailable) {
  TestClient c;
  c.id = "n";
  c.age = " N ";
  c.education = "N";
  c.dateOfBirth = "N";
  c.court[0] = "01";
  c.court[1] = "N";
  c.court[2] = "";
  c.court[3] = "7";
  c.responses[0] = '1';
  c.responses[1] = ' ';
  c.responses[2] = 'x';
  c.responses[161] = '9';
  ClientTable table = zvtest::tableOf({TestClient{}, c}, 2);
  Scores s;
  const ClientFields f = DecodeClient(table, s);
  EXPECT_EQ(f.Name, std::string("Doe, Jan\xE9") + std::string(16, ' '));
  EXPECT_EQ(f.IdNumber, "N/A");
  EXPECT_EQ(f.Age, "N/A");
  EXPECT_EQ(f.Education, "N/A");
  EXPECT_EQ(f.DateOfBirth, "N/A");
  EXPECT_EQ(f.DateTested, "03/04/2024");
  EXPECT_EQ(f.CourtText[1], "01");
  EXPECT_EQ(f.CourtText[2], "N ");
  EXPECT_EQ(f.CourtText[3], "  ");
  EXPECT_EQ(f.CourtText[4], "7 ");
  EXPECT_EQ(s.CourtValue[1], 1);
  EXPECT_EQ(s.CourtValue[2], 0);
  EXPECT_EQ(s.CourtValue[3], 0);
  EXPECT_EQ(s.CourtValue[4], 7);
  EXPECT_EQ(s.ItemCode[1], 1);
  EXPECT_EQ(s.ItemCode[2], 0);
  EXPECT_EQ(s.ItemCode[3], 0);
  EXPECT_EQ(s.ItemCode[162], 9);
  EXPECT_EQ(s.ReportedClient, 2);
  EXPECT_EQ(f.ReportedClient, 2);

  TestClient given;
  const ClientFields g = DecodeClient(zvtest::tableOf({given}), s);
  EXPECT_EQ(g.IdNumber, "123-45    ");
  EXPECT_EQ(g.Age, "34 ");
  EXPECT_EQ(g.Education, "12");
  EXPECT_EQ(g.DateOfBirth, "01/02/1990");
}

TEST(DecodeClientTest, LeadingNumbers) {
  EXPECT_EQ(fieldNumber("01"), 1);
  EXPECT_EQ(fieldNumber("7 "), 7);
  EXPECT_EQ(fieldNumber(" 5"), 5);
  EXPECT_EQ(fieldNumber("N "), 0);
  EXPECT_EQ(fieldNumber("  "), 0);
  EXPECT_EQ(fieldNumber("12"), 12);
  EXPECT_EQ(fieldNumber("4x"), 4);
}

TEST(DecodeClientTest, NormGroups) {
  EXPECT_EQ(genderGroup(0), 1);
  EXPECT_EQ(genderGroup(1), 1);
  EXPECT_EQ(genderGroup(2), 2);
  EXPECT_EQ(genderGroup(3), 1);
  EXPECT_EQ(genderGroup(9), 1);
  EXPECT_EQ(raceGroup(0), 1);
  EXPECT_EQ(raceGroup(1), 1);
  EXPECT_EQ(raceGroup(2), 2);
  EXPECT_EQ(raceGroup(3), 3);
  EXPECT_EQ(raceGroup(4), 1);
  EXPECT_EQ(raceGroup(6), 1);
}

// ---------------------------------------------------------------------------
TEST(RawScoreTest, KeyedPointsOmissionsAndScoredItems) {
  TestClient c = answeredClient();
  c.answer(3, 1);   // 2 points
  c.answer(4, 1);   // 3 points
  c.answer(5, 1);   // 1 point
  c.answer(6, 0);   // omitted, earns the code-0 key (0)
  c.answer(153, 1); // 3 points
  const Scored s = rawScore(c);
  EXPECT_EQ(scale(s, 2).RawScore, 2 + 3 + 1 + 3);
  EXPECT_EQ(scale(s, 2).ScoredItemCount, 4);
  EXPECT_EQ(scale(s, 2).OmittedCount, 1);
  EXPECT_EQ(s.scores.ItemPoints[3], 2);
  EXPECT_EQ(s.scores.ItemPoints[4], 3);
  EXPECT_EQ(s.scores.ItemPoints[153], 3);
  EXPECT_EQ(s.scores.ItemPoints[6], 0);
}

TEST(RawScoreTest, SecondKeySectionUsesItsOwnPositions) {
  TestClient c = answeredClient();
  c.answer(61, 65, 1);  // true on the first five truthfulness items: 1 each
  c.answer(66, 70, 2);  // false on the next five: 1 each
  const Scored s = rawScore(c);
  EXPECT_EQ(scale(s, 1).RawScore, 10);
  EXPECT_EQ(scale(s, 1).ScoredItemCount, 10);
  EXPECT_EQ(s.scores.ItemPoints[61], 1);
  EXPECT_EQ(s.scores.ItemPoints[70], 1);
}

TEST(RawScoreTest, ItemOnNoListEarnsNothing) {
  TestClient c = answeredClient();
  c.answer(100, 1);
  c.answer(120, 4);  // rating item on no list
  const Scored s = rawScore(c);
  EXPECT_EQ(s.scores.ItemPoints[100], 0);
  EXPECT_EQ(s.scores.ItemPoints[120], 0);
  for (int i = 1; i <= 162; ++i) EXPECT_GE(s.scores.ItemPoints[static_cast<std::size_t>(i)], 0);
}

TEST(RawScoreTest, NonDigitKeyAndShortKeyEarnNothing) {
  TestClient c = answeredClient();
  c.answer(71, 2);  // key section 2, position 11 of the "false" key is 'x'
  c.answer(140, 0); // key section 4, code 0: the key "0" is one character long
  c.answer(153, 0);
  ReportTables t = zvtest::testTables();
  t.ScaleItems[1].push_back(71);
  t.ScaleItems[2].push_back(140);
  const Scored s = rawScore(c, t);
  EXPECT_EQ(s.scores.ItemPoints[71], 0);
  EXPECT_EQ(s.scores.ItemPoints[140], 0);
  EXPECT_EQ(s.scores.ItemPoints[153], 0);
  EXPECT_EQ(scale(s, 2).OmittedCount, 2);
}

TEST(RawScoreTest, CodesThreeAndFourOnTrueFalseItemsEarnNothing) {
  TestClient c = answeredClient();
  c.answer(4, 3);
  c.answer(8, 4);
  const Scored s = rawScore(c);
  EXPECT_EQ(s.scores.ItemPoints[4], 0);
  EXPECT_EQ(s.scores.ItemPoints[8], 0);
  EXPECT_EQ(scale(s, 2).OmittedCount, 0);
  EXPECT_EQ(scale(s, 2).RawScore, 0);
}

TEST(RawScoreTest, CodeAboveFourOnKeyedItemIsADataFault) {
  for (int item : {4, 107, 153}) {
    TestClient c = answeredClient();
    c.answer(item, 5);
    try {
      rawScore(c);
      FAIL() << "item " << item;
    } catch (const ZvError& e) {
      EXPECT_EQ(e.kind(), ErrorKind::BadData);
      EXPECT_NE(e.description().find("DATA401.ZV"), std::string::npos) << e.description();
      EXPECT_NE(e.description().find("item " + std::to_string(item) + " holds answer code 5"), std::string::npos)
          << e.description();
    }
  }
  TestClient unkeyed = answeredClient();
  unkeyed.answer(141, 7);  // on no scale list: no fault
  EXPECT_NO_THROW(rawScore(unkeyed));
}

TEST(RawScoreTest, Item156LowersTheScaleItNames) {
  TestClient c = answeredClient();
  c.answer(3, 1);
  c.answer(18, 1);
  c.answer(156, 1);
  Scored s = rawScore(c);
  EXPECT_EQ(scale(s, 2).RawScore, 2);
  EXPECT_EQ(scale(s, 3).RawScore, 2 - 1);
  c.answer(156, 2);
  s = rawScore(c);
  EXPECT_EQ(scale(s, 2).RawScore, 2 - 1);
  EXPECT_EQ(scale(s, 3).RawScore, 2);
  c.answer(156, 3);
  s = rawScore(c);
  EXPECT_EQ(scale(s, 2).RawScore, 2);
  EXPECT_EQ(scale(s, 3).RawScore, 2);
}

TEST(RawScoreTest, ExcessOfTrueAnswers) {
  TestClient c = answeredClient();
  c.answer(1, 100, 1);  // 100 "true" among items 1..105
  Scored s = rawScore(c);
  EXPECT_EQ(scale(s, 1).RawScore, 99);
  c.answer(100, 2);  // 99
  s = rawScore(c);
  EXPECT_NE(scale(s, 1).RawScore, 99);
}

TEST(RawScoreTest, NoAnswersAtAll) {
  TestClient c;
  const Scored s = score(c);
  for (int k = 1; k <= 5; ++k) {
    EXPECT_GE(scale(s, k).OmittedCount, 4) << k;
  }
  EXPECT_EQ(scale(s, 1).Percentile, 99);
  // Percentile 1 of 99 ends scoring: every other scale is 99.
  for (int k = 2; k <= 6; ++k) EXPECT_EQ(scale(s, k).Percentile, 99) << k;
  EXPECT_EQ(scale(s, 6).RawScore, 15);
  EXPECT_EQ(scale(s, 6).OmittedCount, 34);
}

// ---------------------------------------------------------------------------
TEST(StressRatioTest, SumsOfTheTwoGroups) {
  TestClient c = answeredClient();  // all rating items 1: A = 15, B = 15
  Scored s = rawScore(c);
  EXPECT_EQ(scale(s, 6).RawScore, 60);
  EXPECT_EQ(scale(s, 6).OmittedCount, 0);
  c.answer(106, 139, 4);  // A = 60, B = 60
  s = rawScore(c);
  EXPECT_EQ(scale(s, 6).RawScore, 60);
  c.answer(106, 139, 1);
  // A all 4 (60), B all 1 (15): 240, the top of the range.
  for (int i : {106, 107, 109, 113, 114, 115, 118, 122, 124, 126, 127, 129, 130, 133, 135}) c.answer(i, 4);
  s = rawScore(c);
  EXPECT_EQ(scale(s, 6).RawScore, 240);
  // One unanswered item of each group: A counts it 1, B counts it 4.
  c.answer(106, 0);
  c.answer(108, 0);
  s = rawScore(c);
  EXPECT_EQ(scale(s, 6).RawScore, (57 * 60) / 18);
  EXPECT_EQ(scale(s, 6).OmittedCount, 2);
  // Items 136..139 are not in either group but count as omitted.
  c.answer(137, 0);
  s = rawScore(c);
  EXPECT_EQ(scale(s, 6).RawScore, (57 * 60) / 18);
  EXPECT_EQ(scale(s, 6).OmittedCount, 3);
}

TEST(StressRatioTest, IntegerDivisionTruncates) {
  TestClient c = answeredClient();
  c.answer(106, 139, 2);  // A = 30, B = 30
  c.answer(107, 3);       // A = 31: 31 * 60 / 30 = 62
  c.answer(108, 3);       // B = 31: 1860 / 31 = 60
  c.answer(110, 3);       // B = 32: 1860 / 32 = 58.1
  const Scored s = rawScore(c);
  EXPECT_EQ(scale(s, 6).RawScore, 58);
}

TEST(StressRatioTest, PercentileRows) {
  const ReportTables t = zvtest::testTables();
  auto stressPercentile = [&](int raw) {
    Scores x;
    x.scale[6].RawScore = raw;
    x.scale[1].OmittedCount = 0;
    x.scale[1].RawScore = 0;  // percentile 0: no correction
    for (int k = 2; k <= 5; ++k) x.scale[static_cast<std::size_t>(k)].RawScore = 0;
    ComputePercentiles(t, 1, 1, x);
    return x.scale[6].Percentile;
  };
  // Cuts 10, 15, 20, ...: row m holds (10 + 5(m-1), 10 + 5m].
  EXPECT_EQ(stressPercentile(11), t.StressNorm[1][1][1]);
  EXPECT_EQ(stressPercentile(15), t.StressNorm[1][1][1]);
  EXPECT_EQ(stressPercentile(16), t.StressNorm[1][2][1]);
  EXPECT_EQ(stressPercentile(260), t.StressNorm[1][50][1]);
  EXPECT_EQ(stressPercentile(10), 0);   // at the lowest cut: no row holds it
  EXPECT_EQ(stressPercentile(261), 0);  // above the top cut
  EXPECT_EQ(stressPercentile(0), 99);
  EXPECT_EQ(stressPercentile(-3), 99);
  // Norm group: women, race 3.
  Scores x;
  x.scale[6].RawScore = 16;
  ComputePercentiles(t, 2, 3, x);
  EXPECT_EQ(x.scale[6].Percentile, t.StressNorm[3][2][2]);
}

// ---------------------------------------------------------------------------
TEST(CourtPointsTest, AgeFields) {
  for (int f : {1, 2}) {
    const int target = f == 1 ? 4 : 5;
    const std::pair<int, int> cases[] = {{0, 0}, {1, 3}, {28, 3}, {29, 2}, {48, 2}, {49, 1}, {99, 1}};
    for (auto [v, p] : cases) {
      const CourtPoints cp = courtPointsOf(f, v);
      EXPECT_EQ(cp.scale[static_cast<std::size_t>(target)], p) << f << " " << v;
      EXPECT_EQ(cp.courtTotal, p) << f << " " << v;
      EXPECT_EQ(cp.scale[target == 4 ? 5 : 4], 0);
    }
  }
}

TEST(CourtPointsTest, CountFields) {
  const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {2, 1}, {5, 4}, {6, 4}, {99, 4}};
  for (auto [v, p] : cases) {
    EXPECT_EQ(courtPointsOf(3, v).scale[5], p);
    EXPECT_EQ(courtPointsOf(3, v).courtTotal, p);
    EXPECT_EQ(courtPointsOf(4, v).scale[4], p);
    EXPECT_EQ(courtPointsOf(4, v).courtTotal, p);
    EXPECT_EQ(courtPointsOf(5, v).scale[5], p);
    EXPECT_EQ(courtPointsOf(5, v).courtTotal, p);
    EXPECT_EQ(courtPointsOf(6, v).scale[4], p);
    EXPECT_EQ(courtPointsOf(6, v).scale[5], p);
    EXPECT_EQ(courtPointsOf(6, v).courtTotal, p);
    EXPECT_EQ(courtPointsOf(7, v).scale[4], p);
    EXPECT_EQ(courtPointsOf(7, v).scale[5], p);
    EXPECT_EQ(courtPointsOf(7, v).courtTotal, 0) << "parole revocations stay out of the court total";
  }
}

TEST(CourtPointsTest, ArrestAndSentenceFields) {
  const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 3}, {7, 3}, {8, 4}, {40, 4}};
  for (auto [v, p] : cases) {
    EXPECT_EQ(courtPointsOf(8, v).scale[4], p);
    EXPECT_EQ(courtPointsOf(8, v).scale[5], p);
    EXPECT_EQ(courtPointsOf(8, v).courtTotal, p);
    EXPECT_EQ(courtPointsOf(9, v).scale[4], p);
    EXPECT_EQ(courtPointsOf(9, v).scale[5], 0);
    EXPECT_EQ(courtPointsOf(9, v).courtTotal, p);
    EXPECT_EQ(courtPointsOf(10, v).scale[5], p);
    EXPECT_EQ(courtPointsOf(10, v).scale[4], 0);
    EXPECT_EQ(courtPointsOf(10, v).courtTotal, p);
  }
}

TEST(CourtPointsTest, SubstanceArrests) {
  struct Case { int v, substance, scale4; };
  const Case cases[] = {{0, 0, 0}, {1, 0, 1}, {2, 1, 2}, {3, 1, 3}, {4, 2, 4}, {5, 2, 5}, {6, 3, 5}, {20, 3, 5}};
  for (const Case& c : cases) {
    const CourtPoints a = courtPointsOf(11, c.v);
    EXPECT_EQ(a.scale[2], c.substance) << c.v;
    EXPECT_EQ(a.scale[4], c.scale4) << c.v;
    EXPECT_EQ(a.scale[3], 0);
    EXPECT_EQ(a.courtTotal, 0);
    const CourtPoints d = courtPointsOf(12, c.v);
    EXPECT_EQ(d.scale[3], c.substance) << c.v;
    EXPECT_EQ(d.scale[4], c.scale4) << c.v;
    EXPECT_EQ(d.scale[2], 0);
    EXPECT_EQ(d.courtTotal, 0);
  }
  const std::pair<int, int> dui[] = {{0, 0}, {1, 1}, {5, 5}, {6, 5}, {99, 5}};
  for (auto [v, p] : dui) {
    EXPECT_EQ(courtPointsOf(13, v).scale[2], p);
    EXPECT_EQ(courtPointsOf(13, v).courtTotal, 0);
  }
}

TEST(CourtPointsTest, MonthsEmployed) {
  const std::pair<int, int> cases[] = {{0, 0}, {1, 2}, {6, 2}, {7, 1}, {11, 1}, {12, 0}};
  for (auto [v, p] : cases) {
    EXPECT_EQ(courtPointsOf(14, v).scale[4], p) << v;
    EXPECT_EQ(courtPointsOf(14, v).courtTotal, p) << v;
  }
}

TEST(CourtPointsTest, RawScoresAndCourtTotalOfAClient) {
  TestClient c = answeredClient();
  c.court = {"20", "30", "3", "2", "1", "2", "6", "9", "4", "N", "5", "2", "7", "3"};
  const Scored s = rawScore(c);
  // Scale 4: first arrest 3, probation 1, parole 1, parole revocations 4,
  // arrests 4, jail 2, alcohol arrests 5, drug arrests 2, months employed 2.
  EXPECT_EQ(scale(s, 4).RawScore, 3 + 1 + 1 + 4 + 4 + 2 + 5 + 2 + 2);
  // Scale 5: first conviction 2, felony 2, probation revocations 0, parole 1,
  // parole revocations 4, arrests 4, prison "N" 0.
  EXPECT_EQ(scale(s, 5).RawScore, 2 + 2 + 0 + 1 + 4 + 4);
  // Scale 2: alcohol arrests 2, DUI 5. Scale 3: drug arrests 1.
  EXPECT_EQ(scale(s, 2).RawScore, 2 + 5);
  EXPECT_EQ(scale(s, 3).RawScore, 1);
  // Court total: 3 + 2 + 2 + 1 + 0 + 1 + 4 + 2 + 0 + 2.
  EXPECT_EQ(s.scores.CourtTotal, 17);
}

TEST(CourtPointsTest, AlcoholArrestsOfFive) {
  TestClient c = answeredClient();
  c.court[10] = "5";
  const Scored raw = rawScore(c);
  EXPECT_EQ(scale(raw, 2).RawScore, 2);
  EXPECT_EQ(scale(raw, 4).RawScore, 5);
  const Scored s = score(c);
  EXPECT_EQ(scale(s, 2).Percentile, 89);
}

// ---------------------------------------------------------------------------
namespace {

// Tables whose scale 1 percentile equals its raw score (1..99) and whose
// other scales give percentile = raw score as well, for one group.
ReportTables identityTables() {
  ReportTables t = zvtest::testTables();
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (int s = 1; s <= 5; ++s) {
        t.NormCount[g][r][s] = 99;
        for (int x = 1; x <= 99; ++x) t.NormTable[s][x][r][g] = x;
      }
  for (int s = 2; s <= 6; ++s)
    for (int b = 1; b <= 9; ++b) t.TruthCorrection[s][b] = 10 * s + b;
  return t;
}

Scores rawScores(int truth, int others, int scored = 5) {
  Scores x;
  x.scale[1].RawScore = truth;
  for (int k = 2; k <= 6; ++k) {
    x.scale[static_cast<std::size_t>(k)].RawScore = others;
    x.scale[static_cast<std::size_t>(k)].ScoredItemCount = scored;
  }
  return x;
}

}  // namespace

TEST(TruthCorrectionTest, BandsSelectTheirRow) {
  const ReportTables t = identityTables();
  const std::pair<int, int> bands[] = {{10, 1}, {19, 1}, {20, 2}, {29, 2}, {30, 3}, {45, 4}, {50, 5},
                                       {60, 6}, {70, 7}, {80, 8}, {89, 8}, {90, 9}, {94, 9}};
  for (auto [p, b] : bands) {
    Scores x = rawScores(p, 5);
    x.scale[6].RawScore = 100;
    ComputePercentiles(t, 1, 1, x);
    EXPECT_EQ(x.scale[1].Percentile, p);
    for (int k = 2; k <= 6; ++k) {
      const int corrected = (k == 6 ? 100 : 5) + 10 * k + b;
      EXPECT_EQ(x.scale[static_cast<std::size_t>(k)].RawScore, corrected) << p << " " << k;
    }
    // The corrected raw score is what scales 2..5 look up.
    EXPECT_EQ(x.scale[2].Percentile, 5 + 20 + b) << p;
  }
}

TEST(TruthCorrectionTest, BelowTenNothingIsCorrected) {
  const ReportTables t = identityTables();
  for (int p : {0, 1, 9}) {
    Scores x = rawScores(p, 5);
    ComputePercentiles(t, 1, 1, x);
    for (int k = 2; k <= 5; ++k) EXPECT_EQ(x.scale[static_cast<std::size_t>(k)].RawScore, 5) << p;
  }
}

TEST(TruthCorrectionTest, StopsAtNinetyFive) {
  const ReportTables t = identityTables();
  Scores x = rawScores(95, 5);
  x.scale[6].RawScore = 100;
  ComputePercentiles(t, 1, 1, x);
  for (int k = 2; k <= 6; ++k) {
    EXPECT_EQ(x.scale[static_cast<std::size_t>(k)].Percentile, 99) << k;
    EXPECT_EQ(x.scale[static_cast<std::size_t>(k)].RawScore, k == 6 ? 100 : 5) << "no correction at 95";
  }
  // 94 corrects with row 9 and scores normally.
  x = rawScores(94, 5);
  x.scale[6].RawScore = 100;
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].RawScore, 5 + 29);
  EXPECT_EQ(x.scale[2].Percentile, 34);
  EXPECT_EQ(x.scale[6].RawScore, 100 + 69);
  EXPECT_EQ(x.scale[6].Percentile, t.StressNorm[1][32][1]);  // 169 lies in (165, 170]
}

TEST(TruthCorrectionTest, StressRatioCorrectedToZeroGivesNinetyNine) {
  ReportTables t = identityTables();
  for (int b = 1; b <= 9; ++b) t.TruthCorrection[6][b] = -1000;
  Scores x = rawScores(50, 5);
  x.scale[6].RawScore = 200;
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[6].RawScore, -800);
  EXPECT_EQ(x.scale[6].Percentile, 99);
}

// ---------------------------------------------------------------------------
TEST(TableLookupTest, BoundsOmissionsAndNegativeScores) {
  ReportTables t = identityTables();
  t.NormCount[1][1][2] = 40;
  Scores x = rawScores(0, 40);
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].Percentile, 40) << "a raw score equal to the count is looked up";
  x = rawScores(0, 41);
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].Percentile, 99) << "one above the count";
  EXPECT_EQ(x.scale[3].Percentile, 41);
  x = rawScores(0, 20);
  x.scale[3].OmittedCount = 3;
  x.scale[4].OmittedCount = 4;
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[3].Percentile, 20);
  EXPECT_EQ(x.scale[4].Percentile, 99) << "four omitted items";
  x = rawScores(0, -2);
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].Percentile, 0);
  x = rawScores(0, -2);
  x.scale[2].OmittedCount = 4;
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].Percentile, 99);
  x = rawScores(0, 0);
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].Percentile, 0) << "raw score 0 reads entry 0";
}

TEST(TableLookupTest, NormGroupsChooseTheirTable) {
  ReportTables t = zvtest::testTables();
  t.NormTable[2][10][3][2] = 77;
  t.NormTable[2][10][1][1] = 11;
  Scores x = rawScores(0, 10);
  ComputePercentiles(t, 2, 3, x);
  EXPECT_EQ(x.scale[2].Percentile, 77);
  x = rawScores(0, 10);
  ComputePercentiles(t, 0, 5, x);  // gender 0 and race 5 are normed as group 1
  EXPECT_EQ(x.scale[2].Percentile, 11);
  x = rawScores(0, 10);
  ComputePercentiles(t, 7, 0, x);
  EXPECT_EQ(x.scale[2].Percentile, 11);
}

TEST(CeilingsAndFloorsTest, CeilingsOfFewScoredItems) {
  const ReportTables t = identityTables();
  const std::pair<int, int> ceilings[] = {{0, 7}, {1, 18}, {2, 37}, {3, 60}};
  for (auto [scored, expected] : ceilings) {
    Scores x = rawScores(0, 60, scored);
    ComputePercentiles(t, 1, 1, x);
    for (int k = 2; k <= 5; ++k) EXPECT_EQ(x.scale[static_cast<std::size_t>(k)].Percentile, expected) << scored;
  }
  // Scale 1 has no ceiling.
  Scores x = rawScores(60, 0, 0);
  x.scale[1].ScoredItemCount = 0;
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[1].Percentile, 60);
  // The 99 of an out-of-table score is not capped.
  x = rawScores(0, 120, 0);
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].Percentile, 99);
}

TEST(CeilingsAndFloorsTest, FloorsLiftAboveCeilings) {
  const ReportTables t = identityTables();
  Scores x = rawScores(0, 60, 0);
  x.CourtValue[11] = 2;  // alcohol arrests: at least 61
  x.CourtValue[12] = 5;  // drug arrests: at least 89
  x.CourtTotal = 13;     // scale 5: at least 60
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].Percentile, 61);
  EXPECT_EQ(x.scale[3].Percentile, 89);
  EXPECT_EQ(x.scale[4].Percentile, 7);
  EXPECT_EQ(x.scale[5].Percentile, 60);
}

TEST(CeilingsAndFloorsTest, ArrestFloors) {
  const ReportTables t = identityTables();
  const std::pair<int, int> floors[] = {{0, 5}, {1, 40}, {2, 61}, {3, 72}, {4, 80}, {5, 89}, {12, 89}};
  for (auto [v, expected] : floors) {
    Scores x = rawScores(0, 5);
    x.CourtValue[11] = v;
    x.CourtValue[12] = v;
    ComputePercentiles(t, 1, 1, x);
    EXPECT_EQ(x.scale[2].Percentile, expected) << v;
    EXPECT_EQ(x.scale[3].Percentile, expected) << v;
    EXPECT_EQ(x.scale[4].Percentile, 5) << v;
  }
  Scores x = rawScores(0, 95);
  x.CourtValue[11] = 5;
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].Percentile, 95) << "a floor never lowers";
}

TEST(CeilingsAndFloorsTest, CourtTotalFloors) {
  const ReportTables t = identityTables();
  const std::pair<int, int> floors[] = {{2, 5}, {3, 40}, {12, 40}, {13, 60}, {17, 60}, {18, 72},
                                        {21, 72}, {22, 82}, {24, 82}, {25, 89}, {60, 89}};
  for (auto [total, expected] : floors) {
    Scores x = rawScores(0, 5);
    x.CourtTotal = total;
    ComputePercentiles(t, 1, 1, x);
    EXPECT_EQ(x.scale[5].Percentile, expected) << total;
    EXPECT_EQ(x.scale[4].Percentile, 5) << total;
  }
  // 22..24: below 80 becomes 82; 80 and 81 stay.
  for (auto [raw, expected] : {std::pair{79, 82}, {80, 80}, {81, 81}, {83, 83}}) {
    Scores x = rawScores(0, raw);
    x.CourtTotal = 23;
    ComputePercentiles(t, 1, 1, x);
    EXPECT_EQ(x.scale[5].Percentile, expected) << raw;
  }
}

namespace {

// Points 2 or 3 on `twos` and `threes` key items of scale s.
Scores admissions(int s, int twos, int threes) {
  Scores x = rawScores(0, 1);
  const int first = s == 2 ? 1 : s == 3 ? 16 : s == 4 ? 33 : 46;
  int item = first;
  for (int i = 0; i < twos; ++i) x.ItemPoints[static_cast<std::size_t>(item++)] = 2;
  for (int i = 0; i < threes; ++i) x.ItemPoints[static_cast<std::size_t>(item++)] = 3;
  return x;
}

}  // namespace

TEST(AdmissionFloorsTest, TableRowsPerScale) {
  const ReportTables t = identityTables();
  struct Row { int twos, threes; int s23, s4, s5; };
  const Row rows[] = {
      {0, 0, 1, 1, 1},     {1, 0, 1, 1, 1},     {0, 1, 15, 14, 16},  {2, 0, 26, 38, 37},  {1, 1, 30, 43, 42},
      {0, 2, 38, 44, 43},  {3, 0, 47, 49, 48},  {2, 1, 47, 49, 48},  {4, 0, 52, 56, 56},  {5, 0, 59, 71, 60},
      {6, 0, 67, 76, 68},  {7, 0, 77, 86, 78},  {8, 0, 87, 92, 88},  {9, 0, 91, 92, 92},  {10, 0, 93, 92, 94},
      {12, 1, 93, 92, 94},
  };
  for (const Row& r : rows) {
    for (int s = 2; s <= 5; ++s) {
      if (s == 5 && r.twos + r.threes > 15) continue;
      if (s == 4 && r.twos + r.threes > 13) continue;
      Scores x = admissions(s, r.twos, r.threes);
      ComputePercentiles(t, 1, 1, x);
      const int expected = s <= 3 ? r.s23 : s == 4 ? r.s4 : r.s5;
      EXPECT_EQ(x.scale[static_cast<std::size_t>(s)].Percentile, expected)
          << "scale " << s << " twos " << r.twos << " threes " << r.threes;
    }
  }
}

TEST(AdmissionFloorsTest, OnlyTheScalesOwnKeyItemsCount) {
  const ReportTables t = identityTables();
  Scores x = admissions(2, 0, 0);
  x.ItemPoints[16] = 3;  // a drugs key item
  x.ItemPoints[100] = 3; // on no key list
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[2].Percentile, 1);
  EXPECT_EQ(x.scale[3].Percentile, 15);
}

TEST(AdmissionFloorsTest, AfterTheCourtTotalRule) {
  const ReportTables t = identityTables();
  // Court total 23 turns 50 into 82; the admission floor (47) does not lower it.
  Scores x = admissions(5, 3, 0);
  x.scale[5].RawScore = 50;
  x.CourtTotal = 23;
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[5].Percentile, 82);
  // Ten admissions lift an 80 (kept by the court rule) to 94.
  x = admissions(5, 10, 0);
  x.scale[5].RawScore = 80;
  x.CourtTotal = 23;
  ComputePercentiles(t, 1, 1, x);
  EXPECT_EQ(x.scale[5].Percentile, 94);
}
