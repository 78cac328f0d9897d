// The line-oriented installation files (paragraph files, ZVINVAL.TXT,
// ZVFOOT.TXT) as a report reads them, and the line ends and control
// characters of every installation file. Their faults: InstallationCheckTest.
#include <gtest/gtest.h>

#include "records/FileSystem.h"
#include "report/TextFiles.h"
#include "tests/core/TestSupport.h"

using namespace zv;

namespace {

using Lines = std::vector<std::string>;

struct TextFiles : ::testing::Test {
  Lines problems() {
    Lines out;
    for (const auto& p : found) out.push_back(p.text());
    found.clear();
    return out;
  }
  zvtest::TempDir dir;
  RealFileSystem fs;
  std::vector<DataProblem> found;
};

}  // namespace

TEST(TextFileLines, LineEndsOfEveryKind) {
  EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_TRUE(splitLines("").empty());
  EXPECT_EQ(splitLines("\n"), (Lines{""}));
  EXPECT_EQ(baseName("/x/y/ZVB.TXT"), "ZVB.TXT");
  EXPECT_EQ(baseName("C:\\ZV\\ZVB.TXT"), "ZVB.TXT");
  EXPECT_EQ(baseName("ZVB.TXT"), "ZVB.TXT");
}

// The first control byte of each line, lines counted as the readers count
// them; 0x20 to 0x7E and 0x80 to 0xFF are text.
TEST_F(TextFiles, ControlCharactersByLine) {
  const std::string bytes = "a\r\nb\x0C\x0C\nc\rd\x01" "e\x7F\r\n\x80\xFF \x1F~\r\n\x7F\r\n\t";
  zvtest::writeBytes(dir.file("X.TXT"), bytes);
  EXPECT_EQ(readInstallationFile(fs, dir.path(), "X.TXT", found), bytes);
  EXPECT_EQ(problems(), (Lines{"X.TXT:2: control character 0x0C", "X.TXT:4: control character 0x01",
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
  EXPECT_EQ(problems(), Lines{});
  // "LOW" is matched as a whole line, not inside "MEDIUM-LOW".
  EXPECT_EQ(paragraphs.at(0), (Lines{"  Low line one, indented.", "", "Low line \xE9 three."}));
  EXPECT_EQ(paragraphs.at(1), (Lines{"First medium line."}));
  EXPECT_EQ(paragraphs.at(5), (Lines{"MAXIMUM-HIGH text."}));
}

TEST_F(TextFiles, InvalidTextBeforeEndAndTheTwoNoticeLines) {
  zvtest::writeBytes(dir.file("ZVINVAL.TXT"), "One.\r\n\r\nThree.\r\nEND\r\nnot printed\r\n");
  EXPECT_EQ(ReadInvalidText(fs, dir.path(), found), (Lines{"One.", "", "Three."}));
  zvtest::writeBytes(dir.file("ZVINVAL.TXT"), "END");
  EXPECT_TRUE(ReadInvalidText(fs, dir.path(), found).empty());
  zvtest::writeBytes(dir.file("ZVFOOT.TXT"), "Confidential.\r\nCopyright line.\r\n");
  EXPECT_EQ(ReadFootLines(fs, dir.path(), found), (std::pair<std::string, std::string>{"Confidential.", "Copyright line."}));
  EXPECT_EQ(problems(), Lines{});
  zvtest::writeBytes(dir.file("ZVFOOT.TXT"), "");
  ReadFootLines(fs, dir.path(), found);
  EXPECT_EQ(problems(), (Lines{"ZVFOOT.TXT:1: file ends early: notice line 1 of 2 expected"}));
}
