#include "scoring/Scoring.h"

#include <algorithm>
#include <cctype>

#include "records/ClientFile.h"
#include "records/ZvError.h"
#include "ui/ScreenRules.h"

namespace zv {
namespace {

std::string upperTrimmed(const std::string& s) {
  std::string t = trimBlanks(s);
  for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return t;
}

// A record field as the report prints it: a control character (a form feed
// or line break in a damaged record would cut the report's pages) becomes a blank.
std::string printable(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = ' ';
  return text;
}

// "N" (any case, any padding) means the value was not available.
std::string orNotAvailable(const std::string& raw) { return upperTrimmed(raw) == "N" ? std::string("N/A") : raw; }

void atLeast(int& percentile, int floor) {
  if (percentile < floor) percentile = floor;
}

void atMost(int& percentile, int ceiling) {
  if (percentile > ceiling) percentile = ceiling;
}

// Points of the age fields (first arrest, first conviction).
int agePoints(int v) {
  if (Between(v, 1, 28)) return 3;
  if (Between(v, 29, 48)) return 2;
  if (Between(v, 49, 99)) return 1;
  return 0;
}

// Points of the plain counts: one less than the count, at most 4.
int countPoints(int v) { return v > 5 ? 4 : (v >= 1 ? v - 1 : 0); }

// Points of the arrest and sentence totals.
int sentencePoints(int v) {
  if (v >= 8) return 4;
  if (Between(v, 6, 7)) return 3;
  if (Between(v, 4, 5)) return 2;
  if (Between(v, 2, 3)) return 1;
  return 0;
}

// Points of a substance-related arrest count on its substance scale.
int substanceArrestPoints(int v) {
  if (v >= 6) return 3;
  if (Between(v, 4, 5)) return 2;
  if (Between(v, 2, 3)) return 1;
  return 0;
}

// Points of a count worth its own value up to 5.
int cappedCount(int v) { return v >= 6 ? 5 : (v >= 1 ? v : 0); }

// Floor for an arrest count on the alcohol and drugs scales.
void arrestFloor(int& percentile, int v) {
  if (v == 1) atLeast(percentile, 40);
  else if (v == 2) atLeast(percentile, 61);
  else if (v == 3) atLeast(percentile, 72);
  else if (v == 4) atLeast(percentile, 80);
  else if (v >= 5) atLeast(percentile, 89);
}

void courtTotalFloor(int& percentile, int t) {
  if (Between(t, 3, 12)) atLeast(percentile, 40);
  else if (Between(t, 13, 17)) atLeast(percentile, 60);
  else if (Between(t, 18, 21)) atLeast(percentile, 72);
  else if (Between(t, 22, 24)) {
    if (percentile < 80) percentile = 82;  // 82, not 80: an 80 or 81 stays
  } else if (t >= 25) atLeast(percentile, 89);
}

struct AdmissionFloors {
  int threesOne, twoTwos, twoOneThree, twoTwoThrees, three, four, five, six, seven, eight, nine, tenOrMore;
};

constexpr AdmissionFloors kSubstanceFloors{15, 26, 30, 38, 47, 52, 59, 67, 77, 87, 91, 93};
constexpr AdmissionFloors kScale4Floors{14, 38, 43, 44, 49, 56, 71, 76, 86, 92, 92, 92};
constexpr AdmissionFloors kScale5Floors{16, 37, 42, 43, 48, 56, 60, 68, 78, 88, 92, 94};

void admissionFloors(int& p, int twos, int threes, const AdmissionFloors& f) {
  const int admissions = twos + threes;
  if (threes == 1) atLeast(p, f.threesOne);
  if (admissions == 2 && twos == 2) atLeast(p, f.twoTwos);
  if (admissions == 2 && threes == 1) atLeast(p, f.twoOneThree);
  if (admissions == 2 && threes == 2) atLeast(p, f.twoTwoThrees);
  if (admissions == 3) atLeast(p, f.three);
  if (admissions == 4) atLeast(p, f.four);
  if (admissions == 5) atLeast(p, f.five);
  if (admissions == 6) atLeast(p, f.six);
  if (admissions == 7) atLeast(p, f.seven);
  if (admissions == 8) atLeast(p, f.eight);
  if (admissions == 9) atLeast(p, f.nine);
  if (admissions >= 10) atLeast(p, f.tenOrMore);
}

// Key-item positions of each admission scale (2..5).
constexpr std::array<std::pair<int, int>, 6> kKeyItemRange = {{{0, -1}, {0, -1}, {1, 15}, {16, 32}, {33, 45}, {46, 60}}};

constexpr std::array<int, 15> kStressA = {106, 107, 109, 113, 114, 115, 118, 122, 124, 126, 127, 129, 130, 133, 135};
constexpr std::array<int, 15> kStressB = {108, 110, 111, 112, 116, 117, 119, 120, 121, 123, 125, 128, 131, 132, 134};

}  // namespace

ScoringConstants SetScoringConstants() {
  ScoringConstants c;
  c.ScaleCount = 6;
  c.CourtFieldCount = 14;
  c.KeyedAnswers = {0, 2, 2, 4, 4};
  return c;
}

int fieldNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 32767) value = 32767;  // the fields are far narrower; keep 16-bit range
  }
  return negative ? -value : value;
}

int genderGroup(int genderCode) { return genderCode == 2 ? 2 : 1; }
int raceGroup(int raceCode) { return Between(raceCode, 1, 3) ? raceCode : 1; }

ClientFields DecodeClient(const ClientTable& clients, Scores& scores) {
  const ClientRecord& r = clients.current();
  ClientFields f;
  f.Name = printable(r.raw(Field::Name));
  f.IdNumber = orNotAvailable(printable(r.raw(Field::SSN)));
  f.Age = orNotAvailable(printable(r.raw(Field::Age)));
  f.Education = orNotAvailable(printable(r.raw(Field::Education)));
  f.DateOfBirth = orNotAvailable(printable(r.raw(Field::DateOfBirth)));
  f.DateTested = printable(r.raw(Field::DateTested));
  f.GenderCode = fieldNumber(r.raw(Field::Gender));
  f.RaceCode = fieldNumber(r.raw(Field::Race));
  f.MaritalCode = fieldNumber(r.raw(Field::Marital));
  for (int k = 1; k <= kCourtFieldCount; ++k) {
    f.CourtText[static_cast<std::size_t>(k)] = printable(r.raw(courtField(k - 1)));
    scores.CourtValue[static_cast<std::size_t>(k)] = fieldNumber(f.CourtText[static_cast<std::size_t>(k)]);
  }
  const std::string responses = r.raw(Field::Responses);
  scores.ItemCode[0] = 0;
  for (int i = 1; i <= kItemCount; ++i) {
    const char c = responses[static_cast<std::size_t>(i - 1)];
    scores.ItemCode[static_cast<std::size_t>(i)] = (c >= '0' && c <= '9') ? c - '0' : 0;
  }
  f.ReportedClient = clients.CurrentRecord;
  scores.ReportedClient = clients.CurrentRecord;
  return f;
}

KeyPosition keyPositionOf(int item, const SectionEnds& ends) {
  if (item <= 60) return {1, item};
  if (item <= ends[1]) return {2, item - 60};
  if (item <= ends[2]) return {3, item - ends[1]};
  return {4, item - ends[2]};
}

CourtPoints courtPointsOf(int field, int v) {
  CourtPoints p;
  if (v <= 0 && field != 14) return p;
  auto add = [&p](std::initializer_list<int> scales, int points, bool total) {
    for (int s : scales) p.scale[static_cast<std::size_t>(s)] += points;
    if (total) p.courtTotal += points;
  };
  switch (field) {
    case 1: add({4}, agePoints(v), true); break;
    case 2: add({5}, agePoints(v), true); break;
    case 3: add({5}, countPoints(v), true); break;
    case 4: add({4}, countPoints(v), true); break;
    case 5: add({5}, countPoints(v), true); break;
    case 6: add({4, 5}, countPoints(v), true); break;
    case 7: add({4, 5}, countPoints(v), false); break;
    case 8: add({4, 5}, sentencePoints(v), true); break;
    case 9: add({4}, sentencePoints(v), true); break;
    case 10: add({5}, sentencePoints(v), true); break;
    case 11:
      add({2}, substanceArrestPoints(v), false);
      add({4}, cappedCount(v), false);
      break;
    case 12:
      add({3}, substanceArrestPoints(v), false);
      add({4}, cappedCount(v), false);
      break;
    case 13: add({2}, cappedCount(v), false); break;
    case 14: {
      int points = 0;
      if (Between(v, 1, 6)) points = 2;
      else if (Between(v, 7, 11)) points = 1;
      add({4}, points, true);
      break;
    }
    default: break;
  }
  return p;
}

void ComputeRawScores(const ScoringConstants& constants, const ReportTables& tables, Scores& scores,
                      const SectionEnds& ends) {
  for (auto& sc : scores.scale) sc = ScaleResult{};
  scores.ItemPoints.fill(0);  // an item on no scale's list earns nothing
  scores.CourtTotal = 0;

  // Keyed scales.
  for (int s = 1; s <= 5; ++s) {
    ScaleResult& sc = scores.scale[static_cast<std::size_t>(s)];
    for (int item : tables.ScaleItems[static_cast<std::size_t>(s)]) {
      if (item < 1 || item > kItemCount)
        throw ZvError(ErrorKind::BadData, 0,
                      "ZVB.TXT: scale " + std::to_string(s) + " lists item " + std::to_string(item) +
                          ", outside 1 to 162");
      const int code = scores.ItemCode[static_cast<std::size_t>(item)];
      if (code == 0) ++sc.OmittedCount;
      const KeyPosition kp = keyPositionOf(item, ends);
      int points = 0;
      if (code > 4) {
        throw ZvError(ErrorKind::BadData, 0,
                      std::string(kClientFileName) + ", record " + std::to_string(scores.ReportedClient) + ": item " +
                          std::to_string(item) + " holds answer code " + std::to_string(code) +
                          "; a scored item takes the codes 0 to 4");
      }
      // A true/false item answered 3 or 4 has no key string and earns nothing.
      if (code <= constants.KeyedAnswers[static_cast<std::size_t>(kp.section)]) {
        const std::string& key =
            tables.ScoringKey[static_cast<std::size_t>(kp.section)][static_cast<std::size_t>(code)];
        if (kp.position >= 1 && static_cast<std::size_t>(kp.position) <= key.size()) {
          const char c = key[static_cast<std::size_t>(kp.position - 1)];
          if (c >= '0' && c <= '9') points = c - '0';
        }
      }
      scores.ItemPoints[static_cast<std::size_t>(item)] = points;
      sc.RawScore += points;
      if (points > 0) ++sc.ScoredItemCount;
    }
  }

  // Item 156 lowers the substance scale it names.
  const int code156 = scores.ItemCode[156];
  if (code156 == 1) scores.scale[3].RawScore -= 1;
  if (code156 == 2) scores.scale[2].RawScore -= 1;

  // Stress ratio.
  ScaleResult& stress = scores.scale[6];
  for (int i = ends[1] + 1; i <= ends[2]; ++i)
    if (scores.ItemCode[static_cast<std::size_t>(i)] == 0) ++stress.OmittedCount;
  int sumA = 0;
  int sumB = 0;
  for (int i : kStressA) {
    const int c = scores.ItemCode[static_cast<std::size_t>(i)];
    sumA += c == 0 ? 1 : c;
  }
  for (int i : kStressB) {
    const int c = scores.ItemCode[static_cast<std::size_t>(i)];
    sumB += c == 0 ? 4 : c;
  }
  stress.RawScore = sumB > 0 ? (sumA * 60) / sumB : 0;

  // Court history.
  for (int f = 1; f <= constants.CourtFieldCount; ++f) {
    const CourtPoints p = courtPointsOf(f, scores.CourtValue[static_cast<std::size_t>(f)]);
    for (int s = 1; s <= 6; ++s) scores.scale[static_cast<std::size_t>(s)].RawScore += p.scale[static_cast<std::size_t>(s)];
    scores.CourtTotal += p.courtTotal;
  }

  // An excess of "true" answers makes the truthfulness scale unusable.
  int trues = 0;
  for (int i = 1; i <= ends[1]; ++i)
    if (scores.ItemCode[static_cast<std::size_t>(i)] == 1) ++trues;
  if (trues * 100 > ends[1] * 95) scores.scale[1].RawScore = 99;
}

void ComputePercentiles(const ReportTables& tables, int gender, int race, Scores& scores) {
  const auto g = static_cast<std::size_t>(genderGroup(gender));
  const auto r = static_cast<std::size_t>(raceGroup(race));

  for (int s = 1; s <= 5; ++s) {
    const auto si = static_cast<std::size_t>(s);
    ScaleResult& sc = scores.scale[si];

    // A. Table look-up with the ceilings of few scored items.
    const int normCount = std::min(tables.NormCount[g][r][si], ReportTables::kMaxNorm);
    if (sc.RawScore <= normCount && sc.OmittedCount < 4) {
      if (sc.RawScore < 0) {
        sc.Percentile = 0;
      } else {
        sc.Percentile = tables.NormTable[si][static_cast<std::size_t>(sc.RawScore)][r][g];
        if (s >= 2) {
          if (sc.ScoredItemCount == 0) atMost(sc.Percentile, 7);
          else if (sc.ScoredItemCount == 1) atMost(sc.Percentile, 18);
          else if (sc.ScoredItemCount == 2) atMost(sc.Percentile, 37);
        }
      }
    } else {
      sc.Percentile = 99;
    }

    // B. Scale-specific rules.
    if (s == 1) {
      const int p = sc.Percentile;
      if (p >= 95) {
        for (int k = 2; k <= 6; ++k) scores.scale[static_cast<std::size_t>(k)].Percentile = 99;
        return;  // the test is invalid: nothing else is scored
      }
      if (p >= 10) {
        const auto band = static_cast<std::size_t>(std::min(p / 10, 9));
        for (int k = 2; k <= 6; ++k)
          scores.scale[static_cast<std::size_t>(k)].RawScore += tables.TruthCorrection[static_cast<std::size_t>(k)][band];
      }
      continue;
    }

    int twos = 0;
    int threes = 0;
    for (int j = kKeyItemRange[si].first; j <= kKeyItemRange[si].second; ++j) {
      const int item = tables.KeyItems[static_cast<std::size_t>(j)];
      if (item < 1 || item > kItemCount) continue;
      const int points = scores.ItemPoints[static_cast<std::size_t>(item)];
      if (points == 2) ++twos;
      if (points == 3) ++threes;
    }
    if (s == 2) arrestFloor(sc.Percentile, scores.CourtValue[11]);
    if (s == 3) arrestFloor(sc.Percentile, scores.CourtValue[12]);
    if (s == 5) courtTotalFloor(sc.Percentile, scores.CourtTotal);

    // C. Admission floors.
    admissionFloors(sc.Percentile, twos, threes,
                    s == 4 ? kScale4Floors : s == 5 ? kScale5Floors : kSubstanceFloors);
  }

  // D. Stress scale.
  ScaleResult& stress = scores.scale[6];
  if (stress.RawScore <= 0) {
    stress.Percentile = 99;
    return;
  }
  for (int m = 1; m <= ReportTables::kStressRows; ++m) {
    if (tables.StressCut[static_cast<std::size_t>(m)] < stress.RawScore &&
        stress.RawScore <= tables.StressCut[static_cast<std::size_t>(m + 1)]) {
      stress.Percentile = tables.StressNorm[r][static_cast<std::size_t>(m)][g];
      return;
    }
  }
}

}  // namespace zv
