// The parsers of ZVRPT.TXT and ZVB.TXT: the classic sequential-input rules,
// every value in its place, and exact messages for every kind of fault; the
// line-oriented installation files (paragraph files, ZVINVAL.TXT, ZVFOOT.TXT)
// as a report reads them, and the line ends and control characters of every
// installation file. Faults in copies of the bundled files: InstallationCheckTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "records/FileSystem.h"
#include "records/ZvError.h"
#include "report/TextFiles.h"
#include "scoring/ReportData.h"
#include "tests/core/ReportTestInstallation.h"

using namespace zv;
using Texts = std::vector<std::string>;

namespace {

// Every value of the two files: the tables read equal those written.
void expectSameTables(const ReportTables& a, const ReportTables& b) {
  EXPECT_EQ(a.ScaleName, b.ScaleName);
  EXPECT_EQ(a.RangeText, b.RangeText);
  EXPECT_EQ(a.SignificantItemText, b.SignificantItemText);
  EXPECT_EQ(a.ChoiceText, b.ChoiceText);
  EXPECT_EQ(a.SignificantItems, b.SignificantItems);
  EXPECT_EQ(a.ScoringKey, b.ScoringKey);
  EXPECT_TRUE(a.NormCount == b.NormCount && a.NormTable == b.NormTable && a.StressNorm == b.StressNorm) << "norms";
  EXPECT_EQ(a.StressCut, b.StressCut);
  EXPECT_EQ(a.ScaleItems, b.ScaleItems);
  EXPECT_EQ(a.KeyItems, b.KeyItems);
  EXPECT_EQ(a.TruthCorrection, b.TruthCorrection);
}

// The test installation with every group of values told apart (norms, keys
// and corrections differ from group to group), so that a value read into
// another group's place shows.
ReportTables distinctTables() {
  ReportTables t = zvtest::reportableTables();
  const int sizes[5] = {0, 60, 45, 34, 23};
  for (int k = 1; k <= 4; ++k)
    for (int c = 0; c <= 4; ++c) t.ScoringKey[k][c] = k <= 2 && c > 2 ? "" : std::string(sizes[k], static_cast<char>('0' + c));
  auto group = [](int g, int r, int s) { return ((g - 1) * 3 + r - 1) * 5 + s - 1; };  // 0..29
  zvtest::setNorms(t, [&](int g, int r, int s) { return 3 + group(g, r, s) % 4; },
                   [&](int g, int r, int s, int x) { return group(g, r, s) * 3 + x; });
  for (int g = 1; g <= 2; ++g)
    for (int r = 1; r <= 3; ++r)
      for (int m = 1; m <= 50; ++m) t.StressNorm[r][m][g] = ((g - 1) * 3 + r - 1) * 8 + m;
  for (int s = 2; s <= 6; ++s)
    for (int b = 1; b <= 9; ++b) t.TruthCorrection[s][b] = 10 * s - b;
  for (int m = 1; m <= 51; ++m) t.StressCut[m] = 6 * m - 6;  // above 240 and the largest correction, 59
  return t;
}

// The two files of `written` in a temporary folder (ZVB.TXT one line per group
// of values: 1 significant items; 2..17 keys; 18..47 norms; 48..53 stress norms;
// 54 cuts; 55..59 scale lists; 60 key items; 61..65 corrections), read back.
class ReportData : public ::testing::Test {
 protected:
  ReportData() { write(); }
  void write() {
    zvtest::writeBytes(dir.file("ZVRPT.TXT"), zvtest::rptText(written));
    zvtest::writeBytes(dir.file("ZVB.TXT"), zvtest::bText(written));
  }
  void setLine(const char* file, int n, const std::string& with) { zvtest::setLine(dir.file(file), n, with); }
  std::string line(const char* file, std::size_t n) { return zvtest::fileLines(dir.file(file)).at(n - 1); }
  // The tables as a report reads them: the first fault is thrown.
  ReportTables load() {
    std::vector<DataProblem> found;
    ReportTables t = ReadReportTables(fs, dir.path(), found);
    throwFirstFault(found);
    return t;
  }
  // Every problem of both files, as the checker lists them.
  Texts problems(ReportTables& t) {
    std::vector<DataProblem> found;
    t = ReadReportTables(fs, dir.path(), found);
    return zvtest::problemTexts(found);
  }

  zvtest::TempDir dir;
  RealFileSystem fs;
  ReportTables written = distinctTables();
};

const std::string kRest = " (the rest of the file is not checked)";

// A counted list: n, then n values v.
std::string counted(int n, const char* v) {
  std::string s = std::to_string(n);
  for (int i = 0; i < n; ++i) s += std::string(",") + v;
  return s;
}

struct TextFiles : ::testing::Test {
  // The problems found since the last call.
  Texts problems() { return zvtest::problemTexts(std::exchange(found, {})); }
  zvtest::TempDir dir;
  RealFileSystem fs;
  std::vector<DataProblem> found;
};

}  // namespace

TEST_F(ReportData, EveryValueLandsInItsPlaceQuotedSignedOrPaddedCountsZeroOrFullAndTextsKeepTheirBytesAndBlanks) {
  written.SignificantItemText[1] = "Bebe a diario \xAB" "ca\xF1" "a\xBB  ";
  written.ChoiceText[6] = "   141. Indented";
  written.ScaleName[2] = "Alcohol \xC9";
  written.TruthCorrection[2] = {0, 19, 18, -17, 16, 15, 14, 13, 12, 11};
  written.NormCount[1][1][1] = 0;
  for (int x = 1; x <= 99; ++x) written.NormTable[1][x][1][1] = 0;
  written.NormCount[2][3][5] = 99;
  for (int x = 1; x <= 99; ++x) written.NormTable[5][x][3][2] = 7;
  written.ScaleItems[1].clear();
  written.ScaleItems[5].clear();
  for (int i = 133; i <= 162; ++i) written.ScaleItems[5].push_back(i);
  write();
  // A comma inside quotes belongs to the field; leading blanks are skipped.
  setLine("ZVRPT.TXT", 1, "\"Truthfulness\",\"Alcohol \xC9\",Drugs,\"Anti, social\",  Violence,\"Stress Coping\"");
  written.ScaleName[4] = "Anti, social";
  setLine("ZVB.TXT", 61, "\"19\", +18 , -17,16,  15, 14, 13, 12, 11");
  expectSameTables(load(), written);
}

TEST_F(ReportData, FieldsMayShareLinesOrSpreadOverLines) {
  // Every integer of ZVB.TXT on a line of its own, with LF line ends.
  std::string oneEach;
  for (char c : zvtest::bText(written)) oneEach += c == ',' ? '\n' : c == '\r' ? '\0' : c;
  oneEach.erase(std::remove(oneEach.begin(), oneEach.end(), '\0'), oneEach.end());
  zvtest::writeBytes(dir.file("ZVB.TXT"), oneEach);
  // Lone CR line ends in ZVRPT.TXT, and all scale names and range texts on one line.
  std::string rpt = zvtest::rptText(written);
  rpt.replace(rpt.find("\r\n"), 2, ",");
  rpt.erase(std::remove(rpt.begin(), rpt.end(), '\n'), rpt.end());
  zvtest::writeBytes(dir.file("ZVRPT.TXT"), rpt);
  expectSameTables(load(), written);
}

TEST_F(ReportData, ALineReadAfterATrailingCommaTakesTheRestOfThatLine) {
  // The comma ends the field; the whole-line read then starts right after it.
  setLine("ZVRPT.TXT", 2, line("ZVRPT.TXT", 2) + ",");
  ReportTables t;
  EXPECT_EQ(problems(t), (Texts{"ZVRPT.TXT:2: significant item text 1 is empty",
                                 "ZVRPT.TXT:136: text after the last value of the file"}));
  EXPECT_EQ(t.SignificantItemText[2], written.SignificantItemText[1]);
}

TEST_F(ReportData, MissingFileIsThePlatformErrorAndAMissingOrShortFileStopsOnlyThatFile) {
  std::filesystem::remove(dir.file("ZVB.TXT"));
  const ZvError missing = zvtest::faultOf([&] { load(); });
  EXPECT_EQ(std::pair(missing.kind(), missing.path()), std::pair(ErrorKind::FileNotFound, dir.file("ZVB.TXT")));
  std::filesystem::remove(dir.file("ZVRPT.TXT"));
  const std::string b = zvtest::bText(written);
  zvtest::writeBytes(dir.file("ZVB.TXT"), b.substr(0, b.size() - 7));  // the last two values cut
  std::vector<DataProblem> found;
  ReadReportTables(fs, dir.path(), found);
  ASSERT_EQ(zvtest::problemTexts(found),
            (Texts{"ZVRPT.TXT:0: cannot be read: No such file or directory",
                   "ZVB.TXT:65: file ends early: truthfulness correction of scale 6, band 8 expected"}));
  ASSERT_TRUE(found[0].cause.has_value()) << "the report gets the platform's error";
  EXPECT_EQ(found[0].cause->kind(), ErrorKind::FileNotFound);
}

TEST_F(ReportData, BlankLinesEmptyFieldsBoundsAndQuotingFaults) {
  const std::string significant = line("ZVB.TXT", 1), keys = line("ZVB.TXT", 60);
  const struct { const char* file; int line; std::string text, error; } cases[] = {
      {"ZVB.TXT", 1, "", "ZVB.TXT:1: blank line where significant item 1 was expected" + kRest},
      {"ZVB.TXT", 2, "   ", "ZVB.TXT:2: blank line where scoring key of key section 1, answer code 0 was expected" + kRest},
      {"ZVB.TXT", 57, "2, 3,, 13", "ZVB.TXT:57: empty field where item 2 of scale 3 was expected" + kRest},
      {"ZVB.TXT", 1, "163" + significant.substr(significant.find(',')), "ZVB.TXT:1: significant item 1 is 163; it must be 1 to 162"},
      {"ZVB.TXT", 25, counted(100, "1"), "ZVB.TXT:25: norm count of gender 1, race 2, scale 3 is 100; it must be 0 to 99"},
      {"ZVB.TXT", 18, "-1", "ZVB.TXT:18: norm count of gender 1, race 1, scale 1 is -1; it must be 0 to 99"},
      {"ZVB.TXT", 58, counted(31, "9"), "ZVB.TXT:58: item count of scale 4 is 31; it must be 0 to 30"},
      {"ZVB.TXT", 55, "2, 1, 0", "ZVB.TXT:55: item 2 of scale 1 is 0; it must be 1 to 162"},
      {"ZVB.TXT", 60, keys.substr(0, keys.find(",17,") + 1) + "200" + keys.substr(keys.find(",17,") + 3),
       "ZVB.TXT:60: key item 17 is 200; it must be 1 to 162"},
      {"ZVB.TXT", 54, "0, 5, x10", "ZVB.TXT:54: stress cut 3 is not a whole number: \"x10\"" + kRest},
      {"ZVB.TXT", 54, "0, \"\", 10", "ZVB.TXT:54: stress cut 2 is not a whole number: \"\"" + kRest},
      {"ZVB.TXT", 54, "0, \" 7\", -3, +4", "ZVB.TXT:54: stress cut 2 is not a whole number: \" 7\"" + kRest},
      {"ZVB.TXT", 54, "0, 99999", "ZVB.TXT:54: stress cut 2 is too large: 99999" + kRest},
      {"ZVRPT.TXT", 1, "\"T\",\"A\",\"D\",\"AS\",\"V\",\"Stress", "ZVRPT.TXT:1: missing closing quote in scale name 6" + kRest},
      {"ZVRPT.TXT", 1, "\"T\",\"A\",\"Drugs\" x,\"AS\",\"V\",\"S\"",
       "ZVRPT.TXT:1: unexpected text after the quoted scale name 3" + kRest},
  };
  for (const auto& c : cases) {
    write();
    setLine(c.file, c.line, c.text);
    const ZvError e = zvtest::faultOf([&] { load(); });
    EXPECT_EQ(e.kind(), ErrorKind::BadData) << c.file << ":" << c.line;
    EXPECT_EQ(e.description(), c.error);
  }
}

TEST_F(ReportData, EveryProblemIsCollectedWithItsLine) {
  written.SignificantItems[5] = 0;
  written.KeyItems[60] = 170;
  write();
  setLine("ZVB.TXT", 21, counted(100, "5"));
  zvtest::writeBytes(dir.file("ZVRPT.TXT"), zvtest::rptText(written) + "extra line\r\n");
  ReportTables t;
  EXPECT_EQ(problems(t), (Texts{"ZVRPT.TXT:137: text after the last value of the file",
                                 "ZVB.TXT:1: significant item 5 is 0; it must be 1 to 162",
                                 "ZVB.TXT:21: norm count of gender 1, race 1, scale 4 is 100; it must be 0 to 99",
                                 "ZVB.TXT:60: key item 60 is 170; it must be 1 to 162"}));
  // Reading went on in step after the oversized norm table.
  EXPECT_EQ(t.NormCount[1][1][5], written.NormCount[1][1][5]);
  EXPECT_EQ(t.TruthCorrection, written.TruthCorrection);
}

// The file of each scale: the golden reports print each scale's own paragraphs.
TEST(ReportDataNames, NoParagraphFileBeyondScale6) {
  EXPECT_THROW(paragraphFileName(7), ZvError);
}

TEST(TextFileLines, LineEndsOfEveryKind) {
  const std::pair<const char*, Texts> splits[] = {
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}}, {"a\r\n\r\nb\r\n", {"a", "", "b"}}, {"", {}}, {"\n", {""}}};
  for (const auto& [bytes, lines] : splits) EXPECT_EQ(splitLines(bytes), lines) << bytes;
  EXPECT_EQ((Texts{baseName("/x/y/ZVB.TXT"), baseName("C:\\ZV\\ZVB.TXT"), baseName("ZVB.TXT")}), Texts(3, "ZVB.TXT"));
}

// The first control byte of each line, lines counted as the readers count
// them; 0x20 to 0x7E and 0x80 to 0xFF are text.
TEST_F(TextFiles, ControlCharactersByLine) {
  const std::string bytes = "a\r\nb\x0C\x0C\nc\rd\x01" "e\x7F\r\n\x80\xFF \x1F~\r\n\x7F\r\n\t";
  zvtest::writeBytes(dir.file("X.TXT"), bytes);
  EXPECT_EQ(readInstallationFile(fs, dir.path(), "X.TXT", found), bytes);
  EXPECT_EQ(problems(), (Texts{"X.TXT:2: control character 0x0C", "X.TXT:4: control character 0x01",
                               "X.TXT:5: control character 0x1F", "X.TXT:6: control character 0x7F",
                               "X.TXT:7: control character 0x09"}));
}

TEST_F(TextFiles, EachSubRangeWordKeysTheLinesUpToEnd) {
  std::string file = "Paragraphs of scale 4\r\nMEDIUM-LOW\r\nFirst medium line.\r\nEND\r\n"
                     "LOW\r\n  Low line one, indented.\r\n\r\nLow line \xE9 three.\r\nEND\r\n";
  for (const char* word : {"MEDIUM-HIGH", "PROBLEM", "MAXIMUM-LOW", "MAXIMUM-HIGH"})
    file += std::string(word) + "\r\n" + word + " text.\r\nEND\r\n";
  zvtest::writeBytes(dir.file("ZVAS.TXT"), file + "not printed\r\n");
  const auto paragraphs = ReadParagraphFile(fs, dir.path(), 4, found);
  EXPECT_EQ(problems(), Texts{});
  // "LOW" is matched as a whole line, not inside "MEDIUM-LOW".
  EXPECT_EQ(paragraphs.at(0), (Texts{"  Low line one, indented.", "", "Low line \xE9 three."}));
  EXPECT_EQ(paragraphs.at(1), (Texts{"First medium line."}));
  EXPECT_EQ(paragraphs.at(5), (Texts{"MAXIMUM-HIGH text."}));
}

// An invalid-test text with a blank line and lines after END, and two notice
// lines: the golden reports.
TEST_F(TextFiles, EmptyInvalidTextAndNoNoticeLines) {
  zvtest::writeBytes(dir.file("ZVINVAL.TXT"), "END");
  EXPECT_TRUE(ReadInvalidText(fs, dir.path(), found).empty());
  EXPECT_EQ(problems(), Texts{});
  zvtest::writeBytes(dir.file("ZVFOOT.TXT"), "");
  ReadFootLines(fs, dir.path(), found);
  EXPECT_EQ(problems(), (Texts{"ZVFOOT.TXT:1: file ends early: notice line 1 of 2 expected"}));
}
