// The line-oriented installation files: paragraph files, ZVINVAL.TXT, ZVFOOT.TXT.
#include <gtest/gtest.h>

#include "records/FileSystem.h"
#include "records/ZvError.h"
#include "report/TextFiles.h"
#include "scoring/SequentialReader.h"
#include "tests/core/TestSupport.h"

using namespace zv;

namespace {

std::string errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ZvError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::BadData);
    return e.description();
  }
  return "no error";
}

}  // namespace

TEST(TextFileLines, LineEndsOfEveryKind) {
  EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(splitLines("").empty());
  EXPECT_EQ(splitLines("\n"), (std::vector<std::string>{""}));
  EXPECT_EQ(baseName("/x/y/ZVB.TXT"), "ZVB.TXT");
  EXPECT_EQ(baseName("C:\\ZV\\ZVB.TXT"), "ZVB.TXT");
  EXPECT_EQ(baseName("ZVB.TXT"), "ZVB.TXT");
}

TEST(ParagraphFile, ReadsTheLinesBetweenTheSubRangeWordAndEnd) {
  zvtest::TempDir dir;
  const std::string path = dir.file("ZVAS.TXT");
  zvtest::writeBytes(path,
                     "MEDIUM-LOW\r\nFirst medium line.\r\nEND\r\n"
                     "LOW\r\n  Low line one, indented.\r\n\r\nLow line \xE9 three.\r\nEND\r\n"
                     "MAXIMUM-HIGH\r\nEND\r\n");
  RealFileSystem fs;
  // "LOW" is matched as a whole line, not inside "MEDIUM-LOW".
  EXPECT_EQ(ReadParagraph(fs, path, "LOW"),
            (std::vector<std::string>{"  Low line one, indented.", "", "Low line \xE9 three."}));
  EXPECT_EQ(ReadParagraph(fs, path, "MEDIUM-LOW"), (std::vector<std::string>{"First medium line."}));
  EXPECT_TRUE(ReadParagraph(fs, path, "MAXIMUM-HIGH").empty());
}

TEST(ParagraphFile, Faults) {
  zvtest::TempDir dir;
  const std::string path = dir.file("ZVAL.TXT");
  zvtest::writeBytes(path, "LOW\nA line.\nEND\nSEVERE\nSevere line.\n");
  RealFileSystem fs;
  EXPECT_EQ(errorOf([&] { ReadParagraph(fs, path, "MAXIMUM"); }),
            "ZVAL.TXT:0: no line \"MAXIMUM\": the paragraph of this sub-range is missing");
  EXPECT_EQ(errorOf([&] { ReadParagraph(fs, path, "SEVERE"); }),
            "ZVAL.TXT:4: the paragraph \"SEVERE\" is not closed by a line \"END\"");
  // A word with a trailing blank is not the word.
  zvtest::writeBytes(path, "LOW \nA line.\nEND\n");
  EXPECT_EQ(errorOf([&] { ReadParagraph(fs, path, "LOW"); }),
            "ZVAL.TXT:0: no line \"LOW\": the paragraph of this sub-range is missing");
  try {
    ReadParagraph(fs, dir.file("ZVDG.TXT"), "LOW");
    FAIL() << "a missing file must throw";
  } catch (const ZvError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::FileNotFound);
  }
}

TEST(InvalidTextFile, LinesBeforeEnd) {
  zvtest::TempDir dir;
  const std::string path = dir.file("ZVINVAL.TXT");
  zvtest::writeBytes(path, "One.\r\n\r\nThree.\r\nEND\r\nnot printed\r\n");
  RealFileSystem fs;
  EXPECT_EQ(ReadInvalidText(fs, path), (std::vector<std::string>{"One.", "", "Three."}));
  zvtest::writeBytes(path, "One.\r\nTwo.\r\n");
  EXPECT_EQ(errorOf([&] { ReadInvalidText(fs, path); }), "ZVINVAL.TXT:3: file ends without the line \"END\"");
  zvtest::writeBytes(path, "END");
  EXPECT_TRUE(ReadInvalidText(fs, path).empty());
}

TEST(FootFile, TwoNoticeLines) {
  zvtest::TempDir dir;
  const std::string path = dir.file("ZVFOOT.TXT");
  zvtest::writeBytes(path, "Confidential.\r\nCopyright line.\r\n");
  RealFileSystem fs;
  EXPECT_EQ(ReadFootLines(fs, path), (std::pair<std::string, std::string>{"Confidential.", "Copyright line."}));
  zvtest::writeBytes(path, "Confidential.\r\n");
  EXPECT_EQ(errorOf([&] { ReadFootLines(fs, path); }),
            "ZVFOOT.TXT:2: file ends early: notice line 2 of 2 expected");
  zvtest::writeBytes(path, "");
  EXPECT_EQ(errorOf([&] { ReadFootLines(fs, path); }),
            "ZVFOOT.TXT:1: file ends early: notice line 1 of 2 expected");
}
