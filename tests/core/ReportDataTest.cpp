// The parsers of ZVRPT.TXT and ZVB.TXT: the classic sequential-input rules,
// every value in its place, and exact messages for every kind of fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "records/FileSystem.h"
#include "records/ZvError.h"
#include "scoring/ReportData.h"
#include "tests/core/TestSupport.h"

using namespace zv;

namespace {

// A small pair of files the checks pass, whose values are easy to recognise. ZVB.TXT
// gets one line per group of values so that tests know every line number.
struct Installation {
  std::vector<std::string> scaleNames = {"\"Truth\"", "\"Alcohol\"", "Drugs", "\"Anti, social\"", "  Violence",
                                         "\"Stress\""};
  std::vector<std::string> rangeTexts = {"\"LOW\"", "\"MEDIUM\"", "\"PROBLEM\"", "\"MAXIMUM\""};
  std::vector<std::string> significantTexts;
  std::vector<std::string> choiceTexts;
  std::vector<int> significantItems;
  std::vector<std::string> keys;
  std::vector<std::vector<int>> norms;  // 30 groups in file order
  std::vector<std::vector<int>> stressNorms;  // 6 groups
  std::vector<int> cuts;
  std::vector<std::vector<int>> scaleLists;
  std::vector<int> keyItems;
  std::vector<std::vector<int>> corrections;  // scales 2..6
  std::string eol = "\r\n";

  Installation() {
    for (int k = 1; k <= 42; ++k) significantTexts.push_back("Significant " + std::to_string(k));
    for (int k = 1; k <= 92; ++k) choiceTexts.push_back(std::to_string(139 + (k + 3) / 4) + ". Answer " + std::to_string(k));
    for (int k = 1; k <= 42; ++k) significantItems.push_back(k + 100);
    const int codes[5] = {0, 2, 2, 4, 4};
    const int sizes[5] = {0, 60, 45, 34, 23};
    for (int s = 1; s <= 4; ++s)
      for (int c = 0; c <= codes[s]; ++c) keys.push_back("\"" + std::string(sizes[s], static_cast<char>('0' + c)) + "\"");
    for (int grp = 0; grp < 30; ++grp) {
      std::vector<int> t;
      for (int x = 1; x <= 3 + grp % 4; ++x) t.push_back(grp * 3 + x);
      norms.push_back(t);
    }
    for (int grp = 0; grp < 6; ++grp) {
      std::vector<int> t;
      for (int m = 1; m <= 50; ++m) t.push_back(grp * 8 + m);
      stressNorms.push_back(t);
    }
    for (int m = 1; m <= 51; ++m) cuts.push_back(m * 6 - 6);  // above 240 + the correction 59
    for (int s = 1; s <= 5; ++s) scaleLists.push_back({s, s + 10, s + 20});
    for (int k = 1; k <= 60; ++k) keyItems.push_back(k + 1);
    for (int s = 2; s <= 6; ++s) {
      std::vector<int> t;
      for (int b = 1; b <= 9; ++b) t.push_back(s * 10 - b);
      corrections.push_back(t);
    }
  }

  static std::string joinInts(const std::vector<int>& v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) out += (i ? ", " : "") + std::to_string(v[i]);
    return out;
  }

  std::string rpt() const {
    std::string out;
    for (std::size_t i = 0; i < scaleNames.size(); ++i) out += scaleNames[i] + (i + 1 < scaleNames.size() ? "," : eol);
    for (std::size_t i = 0; i < rangeTexts.size(); ++i) out += rangeTexts[i] + (i + 1 < rangeTexts.size() ? "," : eol);
    for (const auto& t : significantTexts) out += t + eol;
    for (const auto& t : choiceTexts) out += t + eol;
    return out;
  }
  // Line numbers: 1 significant items; 2..17 keys; 18..47 norms; 48..53
  // stress norms; 54 cuts; 55..59 scale lists; 60 key items; 61..65 corrections.
  std::string b() const {
    std::string out = joinInts(significantItems) + eol;
    for (const auto& k : keys) out += k + eol;
    for (const auto& t : norms) out += std::to_string(t.size()) + (t.empty() ? "" : ", " + joinInts(t)) + eol;
    for (const auto& t : stressNorms) out += joinInts(t) + eol;
    out += joinInts(cuts) + eol;
    for (const auto& t : scaleLists) out += std::to_string(t.size()) + (t.empty() ? "" : ", " + joinInts(t)) + eol;
    out += joinInts(keyItems) + eol;
    for (const auto& t : corrections) out += joinInts(t) + eol;
    return out;
  }
  void write(const zvtest::TempDir& dir) const {
    zvtest::writeBytes(dir.file("ZVRPT.TXT"), rpt());
    zvtest::writeBytes(dir.file("ZVB.TXT"), b());
  }
};

// A temporary installation built from `inst`, read back by the loader.
class ReportData : public ::testing::Test {
 protected:
  zvtest::TempDir dir;
  Installation inst;
  RealFileSystem fs;
  void writeB(const std::string& bytes) { zvtest::writeBytes(dir.file("ZVB.TXT"), bytes); }
  // The tables as a report reads them: the first fault is thrown.
  ReportTables load() {
    std::vector<DataProblem> found;
    ReportTables t = ReadReportTables(fs, dir.path(), found);
    throwFirstFault(found);
    return t;
  }
  std::string loadError() {
    try {
      load();
    } catch (const ZvError& e) {
      EXPECT_EQ(e.kind(), ErrorKind::BadData);
      return e.description();
    }
    return "no error";
  }
  // Every problem of both files, as the checker lists them.
  std::vector<std::string> problems(ReportTables* t = nullptr) {
    std::vector<DataProblem> found;
    const ReportTables read = ReadReportTables(fs, dir.path(), found);
    if (t) *t = read;
    std::vector<std::string> out;
    for (const auto& p : found) out.push_back(p.text());
    return out;
  }
};

const std::string kRest = " (the rest of the file is not checked)";

std::string replaceLine(const std::string& text, int line, const std::string& with) {
  std::istringstream in(text);
  std::string out, l;
  for (int n = 1; std::getline(in, l); ++n) out += (n == line ? with + "\r" : l) + "\n";
  return out;
}

}  // namespace

TEST_F(ReportData, EveryValueLandsInItsPlace) {
  inst.write(dir);
  const ReportTables t = load();
  // A comma inside quotes belongs to the field; leading blanks are skipped.
  EXPECT_EQ(std::vector<std::string>(t.ScaleName.begin() + 1, t.ScaleName.begin() + 7),
            (std::vector<std::string>{"Truth", "Alcohol", "Drugs", "Anti, social", "Violence", "Stress"}));
  EXPECT_EQ(t.RangeText[1], "LOW");
  EXPECT_EQ(t.RangeText[4], "MAXIMUM");
  // The field read consumed the line end, so the first text is the next line.
  EXPECT_EQ(t.SignificantItemText[1], "Significant 1");
  EXPECT_EQ(t.SignificantItemText[42], "Significant 42");
  EXPECT_EQ(t.ChoiceText[1], "140. Answer 1");
  EXPECT_EQ(t.ChoiceText[92], "162. Answer 92");
  const struct { int section, code, size; } keys[] = {{1, 0, 60}, {1, 2, 60}, {2, 1, 45}, {3, 4, 34}, {4, 0, 23}, {4, 4, 23}};
  for (const auto& k : keys)
    EXPECT_EQ(t.ScoringKey[k.section][k.code], std::string(k.size, static_cast<char>('0' + k.code))) << k.section << k.code;
  const int grp = 15 + 5 * 1 + 2;  // gender 2, race 2, scale 3
  // {value read, value written}: significant items; norms in group order (gender outermost, then
  // race, then scale); stress norms and cuts; key items; truthfulness corrections.
  const std::pair<int, int> values[] = {
      {t.SignificantItems[1], 101}, {t.SignificantItems[42], 142}, {t.NormCount[1][1][1], 3},
      {t.NormTable[1][1][1][1], 1}, {t.NormTable[1][0][1][1], 0}, {t.NormCount[2][2][3], 3 + grp % 4},
      {t.NormTable[3][2][2][2], grp * 3 + 2}, {t.StressNorm[1][1][1], 1}, {t.StressNorm[3][50][2], 90},
      {t.StressNorm[2][7][2], 39}, {t.StressCut[1], 0}, {t.StressCut[51], 300},
      {t.KeyItems[1], 2}, {t.KeyItems[60], 61}, {t.TruthCorrection[2][1], 19}, {t.TruthCorrection[6][9], 51}};
  for (std::size_t i = 0; i < std::size(values); ++i) EXPECT_EQ(values[i].first, values[i].second) << "value " << i;
  EXPECT_EQ(t.ScaleItems[1], (std::vector<int>{1, 11, 21}));
  EXPECT_EQ(t.ScaleItems[5], (std::vector<int>{5, 15, 25}));
}

TEST_F(ReportData, FieldsMayShareLinesOrSpreadOverLines) {
  // Every integer of ZVB.TXT on a line of its own, with LF line ends.
  std::string oneEach;
  for (char c : inst.b())
    if (c == ',') oneEach += "\n";
    else if (c != ' ' && c != '\r') oneEach += c;
  writeB(oneEach);
  // Lone CR line ends in ZVRPT.TXT, and all scale names and range texts on one line.
  std::string rpt = inst.rpt();
  rpt.replace(rpt.find("\r\n"), 2, ",");
  rpt.erase(std::remove(rpt.begin(), rpt.end(), '\n'), rpt.end());
  zvtest::writeBytes(dir.file("ZVRPT.TXT"), rpt);
  const ReportTables t = load();
  EXPECT_EQ(t.RangeText[4], "MAXIMUM");
  EXPECT_EQ(t.SignificantItemText[1], "Significant 1");
  EXPECT_EQ(t.ChoiceText[92], "162. Answer 92");
  EXPECT_EQ(t.ScoringKey[3][2], std::string(34, '2'));
  EXPECT_EQ(t.TruthCorrection[6][9], 51);
}

TEST_F(ReportData, ALineReadAfterATrailingCommaTakesTheRestOfThatLine) {
  // The comma ends the field; the whole-line read then starts right after it.
  inst.rangeTexts.back() += ",";
  inst.write(dir);
  ReportTables t;
  EXPECT_EQ(problems(&t), (std::vector<std::string>{"ZVRPT.TXT:2: significant item text 1 is empty",
                                                    "ZVRPT.TXT:136: text after the last value of the file"}));
  EXPECT_EQ(t.SignificantItemText[2], "Significant 1");
}

TEST_F(ReportData, TextsStayWindows1252BytesWithTheirBlanks) {
  inst.significantTexts[0] = "Bebe a diario \xAB" "ca\xF1" "a\xBB  ";
  inst.choiceTexts[5] = "   141. Indented";
  inst.scaleNames[1] = "\"Alcohol \xC9\"";
  inst.write(dir);
  const ReportTables t = load();
  EXPECT_EQ(t.SignificantItemText[1], "Bebe a diario \xAB" "ca\xF1" "a\xBB  ");
  EXPECT_EQ(t.ChoiceText[6], "   141. Indented");
  EXPECT_EQ(t.ScaleName[2], "Alcohol \xC9");
}

TEST_F(ReportData, MissingFileIsThePlatformError) {
  inst.write(dir);
  std::filesystem::remove(dir.file("ZVB.TXT"));
  try {
    load();
    FAIL() << "no error";
  } catch (const ZvError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::FileNotFound);
    EXPECT_EQ(e.path(), dir.file("ZVB.TXT"));
  }
}

TEST_F(ReportData, FileEndingEarlyNamesTheMissingValue) {
  inst.write(dir);
  const std::string b = inst.b();
  writeB(b.substr(0, b.find("\r\n" + Installation::joinInts(inst.keyItems))) + "\r\n");
  EXPECT_EQ(loadError(), "ZVB.TXT:60: file ends early: key item 1 expected");
  inst.choiceTexts.pop_back();
  inst.write(dir);
  EXPECT_EQ(loadError(), "ZVRPT.TXT:136: file ends early: answer text 92 (item 162, answer 4) expected");
  inst.choiceTexts.clear();
  inst.significantTexts.resize(10);
  inst.write(dir);
  EXPECT_EQ(loadError(), "ZVRPT.TXT:13: file ends early: significant item text 11 expected");
}

TEST_F(ReportData, BlankLineOrEmptyFieldWhereAValueBelongs) {
  inst.write(dir);
  writeB("\r\n" + inst.b());
  EXPECT_EQ(loadError(), "ZVB.TXT:1: blank line where significant item 1 was expected" + kRest);
  std::string b = inst.b();
  b.insert(b.find("\"0000"), "   \r\n");
  writeB(b);
  EXPECT_EQ(loadError(), "ZVB.TXT:2: blank line where scoring key of key section 1, answer code 0 was expected" + kRest);
  inst.scaleLists[2] = {3, 13};
  b = inst.b();
  b.replace(b.find("2, 3, 13"), 8, "2, 3,, 13");
  writeB(b);
  EXPECT_EQ(loadError(), "ZVB.TXT:57: empty field where item 2 of scale 3 was expected" + kRest);
}

TEST_F(ReportData, BoundsOfCountsAndItemNumbers) {
  inst.write(dir);
  const std::string b = inst.b();
  std::vector<int> keys = inst.keyItems;
  keys[16] = 200;
  const struct { int line; std::string text, error; } cases[] = {
      {1, "163" + Installation::joinInts(inst.significantItems).substr(3),
       "ZVB.TXT:1: significant item 1 is 163; it must be 1 to 162"},
      {25, "100, " + Installation::joinInts(std::vector<int>(100, 1)),
       "ZVB.TXT:25: norm count of gender 1, race 2, scale 3 is 100; it must be 0 to 99"},
      {18, "-1", "ZVB.TXT:18: norm count of gender 1, race 1, scale 1 is -1; it must be 0 to 99"},
      {58, "31, " + Installation::joinInts(std::vector<int>(31, 9)),
       "ZVB.TXT:58: item count of scale 4 is 31; it must be 0 to 30"},
      {55, "2, 1, 0", "ZVB.TXT:55: item 2 of scale 1 is 0; it must be 1 to 162"},
      {60, Installation::joinInts(keys), "ZVB.TXT:60: key item 17 is 200; it must be 1 to 162"},
      {54, "0, 5, x10", "ZVB.TXT:54: stress cut 3 is not a whole number: \"x10\"" + kRest},
      {54, "0, \"\", 10", "ZVB.TXT:54: stress cut 2 is not a whole number: \"\"" + kRest},
      {54, "0, \" 7\", -3, +4", "ZVB.TXT:54: stress cut 2 is not a whole number: \" 7\"" + kRest},
      {54, "0, 99999", "ZVB.TXT:54: stress cut 2 is too large: 99999" + kRest},
  };
  for (const auto& c : cases) {
    writeB(replaceLine(b, c.line, c.text));
    EXPECT_EQ(loadError(), c.error);
  }
}

TEST_F(ReportData, ZeroCountsAndFullCountsAreValid) {
  inst.norms[0].clear();
  inst.norms[29] = std::vector<int>(99, 7);
  inst.scaleLists[0].clear();
  for (int i = 133; i <= 162; ++i) inst.scaleLists[4].push_back(i);
  inst.scaleLists[4].erase(inst.scaleLists[4].begin(), inst.scaleLists[4].begin() + 3);
  inst.write(dir);
  const ReportTables t = load();
  EXPECT_EQ(t.NormCount[1][1][1], 0);
  EXPECT_EQ(t.NormCount[2][3][5], 99);
  EXPECT_EQ(t.NormTable[5][99][3][2], 7);
  EXPECT_TRUE(t.ScaleItems[1].empty());
  EXPECT_EQ(t.ScaleItems[5].size(), 30u);
}

TEST_F(ReportData, QuotingFaults) {
  inst.scaleNames[5] = "\"Stress";
  inst.write(dir);
  EXPECT_EQ(loadError(), "ZVRPT.TXT:1: missing closing quote in scale name 6" + kRest);
  inst = Installation();
  inst.scaleNames[2] = "\"Drugs\" x";
  inst.write(dir);
  EXPECT_EQ(loadError(), "ZVRPT.TXT:1: unexpected text after the quoted scale name 3" + kRest);
}

TEST_F(ReportData, EveryProblemIsCollectedWithItsLine) {
  inst.significantItems[4] = 0;
  inst.norms[3] = std::vector<int>(100, 5);
  inst.keyItems[59] = 170;
  inst.write(dir);
  zvtest::writeBytes(dir.file("ZVRPT.TXT"), inst.rpt() + "extra line\r\n");
  ReportTables t;
  EXPECT_EQ(problems(&t), (std::vector<std::string>{
                       "ZVRPT.TXT:137: text after the last value of the file",
                       "ZVB.TXT:1: significant item 5 is 0; it must be 1 to 162",
                       "ZVB.TXT:21: norm count of gender 1, race 1, scale 4 is 100; it must be 0 to 99",
                       "ZVB.TXT:60: key item 60 is 170; it must be 1 to 162",
                   }));
  // Reading went on in step after the oversized norm table.
  EXPECT_EQ(t.NormCount[1][1][5], static_cast<int>(inst.norms[4].size()));
  EXPECT_EQ(t.TruthCorrection[6][9], 51);
}

TEST_F(ReportData, MissingOrShortFileStopsOnlyThatFile) {
  inst.write(dir);
  std::filesystem::remove(dir.file("ZVRPT.TXT"));
  const std::string b = inst.b();
  writeB(b.substr(0, b.size() - 10));
  std::vector<DataProblem> found;
  ReadReportTables(fs, dir.path(), found);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].text(), "ZVRPT.TXT:0: cannot be read: No such file or directory");
  ASSERT_TRUE(found[0].cause.has_value()) << "the report gets the platform's error";
  EXPECT_EQ(found[0].cause->kind(), ErrorKind::FileNotFound);
  EXPECT_EQ(found[1].text(), "ZVB.TXT:65: file ends early: truthfulness correction of scale 6, band 8 expected");
}

TEST(ReportDataNames, ParagraphFilesByScale) {
  const char* names[] = {"", "ZVVA.TXT", "ZVAL.TXT", "ZVDG.TXT", "ZVAS.TXT", "ZVVI.TXT", "ZVSC.TXT"};
  for (int s = 1; s <= 6; ++s) EXPECT_EQ(paragraphFileName(s), names[s]);
  EXPECT_THROW(paragraphFileName(7), ZvError);
}

TEST_F(ReportData, NumbersMayBeQuotedSignedOrPadded) {
  std::string b = inst.b();
  const std::string corrections = Installation::joinInts(inst.corrections[0]);
  b.replace(b.find(corrections), corrections.size(), "\"19\", +18 , -17,16,  15, 14, 13, 12, 11");
  inst.write(dir);
  writeB(b);
  const ReportTables t = load();
  const int want[] = {19, 18, -17, 16, 15, 14, 13, 12, 11};
  for (int band = 1; band <= 9; ++band) EXPECT_EQ(t.TruthCorrection[2][band], want[band - 1]) << band;
  EXPECT_EQ(t.TruthCorrection[3][1], 29);
}
