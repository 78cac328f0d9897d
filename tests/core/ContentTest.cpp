// The bundled content is coherent: keys agree with the wording and with the
// rules that read the items, norms and corrections run the right way, the
// two question tables match item for item. What the installation checker
// demands of every installation (widths, rising norms, ascending cuts) it
// finds true of the bundled one: InstallationCheckTest, "an untouched copy".
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <map>
#include <set>
#include <tuple>

#include "app/QuestionDb.h"
#include "records/ClientFile.h"
#include "records/FileSystem.h"
#include "report/ReportInstallation.h"
#include "report/ScoreAndReport.h"
#include "scoring/ReportData.h"
#include "scoring/Scoring.h"
#include "tests/core/TestSupport.h"

using namespace zv;

namespace {

const ReportInstallation& installation() {
  static RealFileSystem fs;
  static const ReportInstallation bundled = LoadReportInstallation(fs, ZV_PROGRAM_DIR);
  return bundled;
}
const ReportTables& tables() { return installation().tables; }

// Points item i earns for answer code c (0 when the code has no key).
int points(int item, int code) {
  const int section = item <= 60 ? 1 : item <= 105 ? 2 : item <= 139 ? 3 : 4;
  const int start = section == 1 ? 0 : section == 2 ? 60 : section == 3 ? 105 : 139;
  if (code > (section <= 2 ? 2 : 4)) return 0;
  const std::string& key = tables().ScoringKey[static_cast<std::size_t>(section)][static_cast<std::size_t>(code)];
  const std::size_t p = static_cast<std::size_t>(item - start - 1);
  return p < key.size() && std::isdigit(static_cast<unsigned char>(key[p])) ? key[p] - '0' : 0;
}

int highestRiskPoints(int item) {
  int best = 0;
  for (int c = 1; c <= (item <= 105 ? 2 : 4); ++c) best = std::max(best, points(item, c));
  return best;
}

bool onList(int scale, int item) {
  const auto& l = tables().ScaleItems[static_cast<std::size_t>(scale)];
  return std::find(l.begin(), l.end(), item) != l.end();
}

int scaleOf(int item) {
  for (int s = 1; s <= 5; ++s)
    if (onList(s, item)) return s;
  return 0;
}

struct Row { std::string question, audio; std::vector<std::string> answers, answerAudio; };

std::vector<Row> readTable(const std::string& name) {
  auto db = Workspace::standard(std::string(ZV_PROGRAM_DIR) + "/zv.ini")
                .OpenDatabase(std::string(ZV_PROGRAM_DIR) + "/ZV.db");
  auto rs = db.SelectAll(name);
  std::vector<Row> rows(1);
  for (; !rs.IsEOF(); rs.MoveNext()) {
    Row r{rs.field("TestQuestion"), rs.field("QuestionAudio"), {}, {}};
    for (int a = 1; a <= 5; ++a) {
      const std::string text = rs.field("ANSWER" + std::to_string(a));
      if (text.empty()) break;
      r.answers.push_back(text);
      r.answerAudio.push_back(rs.field("ChoiceAudio" + std::to_string(a)));
    }
    rows.push_back(r);
  }
  return rows;
}

// A question table ("English" or "Spanish"), read once.
const std::vector<Row>& questions(const std::string& table) {
  static std::map<std::string, std::vector<Row>> read;
  if (!read.count(table)) read[table] = readTable(table);
  return read[table];
}

}  // namespace

TEST(ContentScales, NamesAndListSizes) {
  const auto& t = tables();
  EXPECT_EQ(t.ScaleName, (std::array<std::string, 7>{"", "Truthfulness", "Alcohol", "Drugs", "Antisocial", "Violence",
                                                      "Stress Coping"}));
  // 15 to 30 items a list; an item sits on one list only, so its points never count twice.
  std::set<int> seen;
  for (int s = 1; s <= 5; ++s) {
    const auto& items = t.ScaleItems[static_cast<std::size_t>(s)];
    EXPECT_TRUE(items.size() >= 15 && items.size() <= 30) << "scale " << s << ": " << items.size();
    for (int i : items) EXPECT_TRUE(seen.insert(i).second) << "item " << i;
  }
  // The stress items stand on no list: scale 6 reads them directly.
  for (int i = 106; i <= 135; ++i) EXPECT_EQ(scaleOf(i), 0) << "item " << i;
}

TEST(ContentKeys, PointsOnlyForListedItemsAndNeverForNoAnswer) {
  for (int i = 1; i <= 162; ++i) {
    EXPECT_EQ(points(i, 0), 0) << "item " << i;
    EXPECT_EQ(highestRiskPoints(i) > 0, scaleOf(i) != 0)
        << "item " << i << (scaleOf(i) ? " never earns a point" : " is on no list but earns");
  }
  // A true/false item earns its points on one answer only.
  for (int i = 1; i <= 105; ++i)
    if (scaleOf(i)) { EXPECT_TRUE((points(i, 1) > 0) != (points(i, 2) > 0)) << "item " << i; }
}

TEST(ContentKeys, KeyItemsAreWeightedAdmissionsAndSignificantItemsCanBeSelected) {
  const auto& t = tables();
  const int first[] = {1, 16, 33, 46, 61};
  // (Each key item once in its group: the checker, on an untouched copy.)
  for (int g = 0; g < 4; ++g)
    for (int k = first[g]; k < first[g + 1]; ++k) {
      const int item = t.KeyItems[static_cast<std::size_t>(k)];
      EXPECT_TRUE(onList(g + 2, item)) << "key item " << item << " of scale " << g + 2;
      const int p = highestRiskPoints(item);
      EXPECT_TRUE(p == 2 || p == 3) << "key item " << item << " earns " << p;
    }
  const int areaFirst[] = {1, 12, 25, 32, 43};
  for (int a = 0; a < 4; ++a)
    for (int k = areaFirst[a]; k < areaFirst[a + 1]; ++k) {
      const int item = t.SignificantItems[static_cast<std::size_t>(k)];
      EXPECT_TRUE(onList(a + 2, item)) << "significant item " << item;
      EXPECT_GT(highestRiskPoints(item), 1) << "significant item " << item << " could never be selected";
      const std::string& text = t.SignificantItemText[static_cast<std::size_t>(k)];
      EXPECT_EQ(text.rfind(std::to_string(item) + ". ", 0), 0u) << text;
    }
}

TEST(ContentKeys, ItemsTheClassificationReads) {
  // Admitted on "True" by the classification, so they earn points on True (and so none on False: above).
  for (int i : {7, 32, 53, 59, 62, 66, 68, 85, 101}) EXPECT_GT(points(i, 1), 0) << "item " << i;
  // Failed attempts to cut down are read through their points (none on the fourth answer: below).
  for (int i : {155, 158})
    for (int c = 1; c <= 3; ++c) EXPECT_GE(points(i, c), 2) << "item " << i << " answer " << c;
  // Multiple choice: the fourth answer is the no-problem answer, and the
  // points fall from the first answer to the fourth.
  for (int i = 140; i <= 162; ++i) {
    EXPECT_EQ(points(i, 4), 0) << "item " << i;
    for (int c = 2; c <= 4; ++c) EXPECT_LE(points(i, c), points(i, c - 1)) << "item " << i;
  }
  // Frequency ratings on a list earn more the more often.
  for (int i = 136; i <= 139; ++i)
    for (int c = 2; c <= 4; ++c) EXPECT_GT(points(i, c), points(i, c - 1)) << "item " << i;
}

TEST(ContentWording, ClassificationItemsSayWhatTheRulesRead) {
  const auto& en = questions("English");
  const std::pair<int, const char*> says[] = {
      {66, "more"}, {145, "more"}, {146, "stop drinking"}, {147, "going without"},  // tolerance, withdrawal
      {7, "more than I meant"}, {148, "than you meant"}, {149, "cut down"}, {155, "quit"}, {158, "stopped"},
      {32, "time"}, {150, "time"}, {53, "given up"}, {152, "given up"}, {101, "health"}, {144, "hurting"},
      {59, "missed work"}, {62, "let my family down"}, {140, "keep you from"},  // duties
      {141, "drive"}, {142, "law"}, {68, "fights"}, {85, "trouble with people"}, {143, "arguments"},
      {74, "dependent"}, {153, "drinking"}, {157, "drug use"}};  // earlier diagnosis, self-ratings
  for (auto [i, word] : says) EXPECT_NE(en[static_cast<std::size_t>(i)].question.find(word), std::string::npos) << i << ": " << word;
  const std::vector<std::string> rating = {"A serious problem", "A moderate problem", "A mild problem", "No problem"};
  for (int i : {153, 157}) EXPECT_EQ(en[static_cast<std::size_t>(i)].answers, rating) << i;
  EXPECT_EQ((std::vector<std::string>(en[156].answers.begin(), en[156].answers.begin() + 2)),
            (std::vector<std::string>{"Alcohol", "Drugs"}));
  // Item 151: answers 1 and 3 are neglected duties, answer 2 hazardous use.
  const char* duties[] = {"missed work", "drove", "did not take care"};
  for (int a = 0; a < 3; ++a) EXPECT_NE(en[151].answers[static_cast<std::size_t>(a)].find(duties[a]), std::string::npos) << a;
  EXPECT_EQ(en[151].answers[3], "None of these has happened");
}

TEST(ContentWording, TruthfulnessRisesWhenCommonFaultsAreDenied) {
  // An absolute claim ("never", "always", "every") earns a point when
  // answered True; an admission of a small fault earns one when answered False.
  const std::regex absolute(R"(\b(never|always|every)\b)", std::regex::icase);
  for (int i : tables().ScaleItems[1]) {  // (15 or more: ContentScales)
    ASSERT_LE(i, 105);
    const std::string& q = questions("English")[static_cast<std::size_t>(i)].question;
    EXPECT_EQ(points(i, 1) > 0, std::regex_search(q, absolute)) << "item " << i << ": " << q;
    EXPECT_EQ(highestRiskPoints(i), 1);
  }
}

TEST(ContentNorms, PercentilesRiseFromZeroTo99AndCorrectionsShrinkAsTheBandFalls) {
  const auto& t = tables();
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r) {
      for (int s = 1; s <= 5; ++s) {
        const int count = t.NormCount[g][r][s];
        ASSERT_TRUE(count >= 10 && count <= 99) << g << r << s << ": " << count;
        EXPECT_LE(t.NormTable[s][1][r][g], 10);
        EXPECT_EQ(t.NormTable[s][count][r][g], 99) << g << r << s;
      }
      EXPECT_LE(t.StressNorm[r][1][g], 5);
      EXPECT_EQ(t.StressNorm[r][50][g], 99);
    }
  // Truthfulness corrections shrink as the band falls.
  for (int s = 2; s <= 6; ++s) {
    EXPECT_GE(t.TruthCorrection[s][1], 0);
    EXPECT_GT(t.TruthCorrection[s][9], t.TruthCorrection[s][1]);
    for (int b = 2; b <= 9; ++b) EXPECT_GE(t.TruthCorrection[s][b], t.TruthCorrection[s][b - 1]) << s << b;
  }
  EXPECT_LE(t.TruthCorrection[6][9], 8);
}

TEST(ContentNorms, StressRatioRunsFromGoodCopingToStrain) {
  // Strain items rated "Very Often" and coping items "Rare or Never" give the
  // highest ratio, 240; the reverse gives 15. The percentiles must follow.
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (auto [ratio, low, below] : {std::tuple{240, 95, 100}, {15, 0, 6}}) {
        Scores x;  // no truthfulness correction moves the ratio
        x.scale[6].RawScore = ratio;
        ComputePercentiles(tables(), g, r, x);
        EXPECT_GE(x.scale[6].Percentile, low) << g << r << " " << ratio;
        EXPECT_LT(x.scale[6].Percentile, below) << g << r << " " << ratio;
      }
}

TEST(ContentQuestions, BothLanguagesItemForItem) {
  const auto& en = questions("English");
  const auto& es = questions("Spanish");
  ASSERT_EQ((std::pair{en.size(), es.size()}), (std::pair<std::size_t, std::size_t>{163, 163}));
  using Texts = std::vector<std::string>;
  // The answers of sections 1 and 2 in English and Spanish.
  const std::pair<Texts, Texts> fixed[] = {
      {{"True", "False"}, {"Cierto", "Falso"}},
      {{"Rare or Never", "Sometimes", "Often", "Very Often"},
       {"Rara vez o nunca", "A veces", "Seguido o a menudo", "Muy seguido o muy a menudo"}}};
  auto code = [](const std::string& prefix, std::size_t n) {
    return prefix + std::string(3 - std::to_string(n).size(), '0') + std::to_string(n);
  };
  std::map<std::string, std::string> enSounds, esSounds;
  for (int i = 1; i <= 162; ++i) {
    const auto& e = en[static_cast<std::size_t>(i)];
    const auto& s = es[static_cast<std::size_t>(i)];
    if (i <= 139) {
      EXPECT_EQ((std::pair{e.answers, s.answers}), fixed[i > 105]) << i;
    } else {
      EXPECT_EQ((std::pair{e.answers.size(), s.answers.size()}), (std::pair<std::size_t, std::size_t>{4, 4})) << i;
      EXPECT_NE(e.answers, s.answers) << i;
      // Questions of section 3 are questions in both languages.
      EXPECT_EQ(e.question.back(), '?') << i;
      EXPECT_NE(s.question.find("\xC2\xBF"), std::string::npos) << i << " lacks ¿";
    }
    EXPECT_NE(e.question, s.question) << i;
    EXPECT_LE(e.question.size(), 160u) << i;
    EXPECT_EQ(e.audio, code("EQ", i));
    EXPECT_EQ(s.audio, code("SQ", i));
    for (std::size_t a = 0; a < e.answerAudio.size(); ++a) {
      // Identical answer texts share one sound file, numbered as they first occur.
      for (auto [row, names, prefix] : {std::tuple{&e, &enSounds, "EA"}, std::tuple{&s, &esSounds, "SA"}}) {
        const auto [it, fresh] = names->emplace(row->answers[a], row->answerAudio[a]);
        EXPECT_EQ(it->second, row->answerAudio[a]) << i;
        if (fresh) { EXPECT_EQ(row->answerAudio[a], code(prefix, names->size())); }
      }
    }
  }
}

TEST(ContentReportTexts, AnswerTextsFollowTheirItemAndEveryParagraphFitsTheLine) {
  const auto& t = tables();
  for (std::size_t k = 1; k <= 92; ++k)  // four answer texts an item from 140 on
    EXPECT_EQ(t.ChoiceText[k].rfind(std::to_string(139 + (k + 3) / 4) + ". ", 0), 0u) << t.ChoiceText[k];
  const ReportTexts& texts = installation().texts;
  for (int s = 1; s <= 6; ++s)
    for (const auto& word : subRangeWords(s)) {
      const auto& lines = texts.paragraph(s, word);
      EXPECT_GE(lines.size(), 3u) << paragraphFileName(s) << " " << word;
      for (const auto& l : lines)
        EXPECT_FALSE(!l.empty() && l.back() == '-') << "a hyphen at the line end turns into a stray blank: " << l;
    }
  EXPECT_LE(texts.footLines.first.size(), 60u);
  EXPECT_LE(texts.footLines.second.size(), 60u);
  // The invalid-test text is printed for SampleClients' "all true".
}

// The sample clients scored with the bundled installation behave as a
// clinician expects of their answer patterns.
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

  // Percentile ranges {scale, at least, below}, dependency and abuse (1 met, 0 not, -1 either), words the
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
      const int p = s.scale[static_cast<std::size_t>(scale)].Percentile;
      EXPECT_TRUE(p >= low && p < below) << "scale " << scale << ": " << p;
    }
    if (c.dependency >= 0) { EXPECT_EQ(s.DependencyMet, c.dependency); }
    if (c.abuse >= 0) { EXPECT_EQ(s.AbuseCount > 0, c.abuse > 0); }
    for (const auto& text : c.says) EXPECT_NE(report.find(text), std::string::npos) << text;
    for (const auto& text : c.never) EXPECT_EQ(report.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(scored[2].scale[1].RawScore, 99) << "all true";
  EXPECT_EQ(scored[3].ItemCode[74], 2) << "abuse without dependency: no earlier diagnosis";
}
