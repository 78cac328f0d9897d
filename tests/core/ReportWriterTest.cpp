// Print primitives, the running head and the justified paragraph layout.
#include <gtest/gtest.h>

#include "report/ReportWriter.h"

using namespace zv;

namespace {

std::string words(std::initializer_list<int> lengths, const std::string& gap = " ") {
  std::string s;
  char letter = 'a';
  for (int n : lengths) {
    if (!s.empty()) s += gap;
    s += std::string(static_cast<std::size_t>(n), letter++);
  }
  return s;
}

// Lengths of the blank runs between words, left to right.
std::vector<int> gaps(const std::string& line) {
  std::vector<int> out;
  std::size_t i = line.find_first_not_of(' ');
  while (i < line.size()) {
    const std::size_t b = line.find(' ', i);
    if (b == std::string::npos) break;
    const std::size_t e = line.find_first_not_of(' ', b);
    out.push_back(static_cast<int>(e - b));
    i = e;
  }
  return out;
}

}  // namespace

TEST(PrintPrimitivesTest, SpcTabAndText) {
  ReportWriter w;
  w.Spc(7);
  EXPECT_EQ(w.column(), 8);
  w.Text("ab");
  EXPECT_EQ(w.column(), 10);
  w.Tab(14);
  EXPECT_EQ(w.column(), 14);
  w.Tab(14);  // already there: nothing written
  w.Text("x");
  w.EndLine();
  EXPECT_EQ(w.bytes(), "       ab    x\r\n");
  EXPECT_EQ(w.column(), 1);
}

TEST(PrintPrimitivesTest, TabLeftOfTheColumnGoesToTheNextLine) {
  ReportWriter w;
  w.Text("0123456789");
  w.Tab(5);
  w.Text("x");
  w.EndLine();
  EXPECT_EQ(w.bytes(), "0123456789\r\n    x\r\n");
}

TEST(PrintPrimitivesTest, IntegerItems) {
  ReportWriter w;
  w.Integer(7);
  w.Integer(42);
  w.Integer(0);
  w.Integer(-3);
  w.Integer(100);
  EXPECT_EQ(w.bytes(), " 7  42  0 -3  100 ");
  EXPECT_EQ(w.column(), 19);
}

TEST(PrintPrimitivesTest, BodyAndBlankLines) {
  ReportWriter w;
  w.Body("text");
  w.BlankLine();
  w.Line("\x0C");
  EXPECT_EQ(w.bytes(), "       text\r\n\r\n\x0C\r\n");
  EXPECT_EQ(w.PageLine, 0) << "primitives never count; the sections do";
}

TEST(PrintPrimitivesTest, BytesPassThroughUnchanged) {
  ReportWriter w;
  w.Text("caf\xE9 \x93q\x94");
  EXPECT_EQ(w.column(), 9) << "one byte is one column";
  EXPECT_EQ(w.bytes(), "caf\xE9 \x93q\x94");
}

TEST(NewPageTest, FormFeedLineRunningHeadAndBlankLine) {
  ReportWriter w(std::string("Doe, Jan\xE9") + std::string(16, ' '));
  w.PageLine = 58;
  w.NewPage();
  const std::string head = "       NAME: Doe, Jan\xE9" + std::string(16, ' ') + "  -2-" + std::string(26, ' ') + "ZV REPORT";
  EXPECT_EQ(w.bytes(), "\x0C\r\n" + head + "\r\n\r\n");
  EXPECT_EQ(head.find("-2-"), 40u) << "page number between dashes from column 41";
  EXPECT_EQ(head.find("ZV REPORT"), 69u) << "column 70";
  EXPECT_EQ(w.PageLine, 2);
  EXPECT_EQ(w.PageNumber, 2);
}

TEST(NewPageTest, LastDigitOfThePageNumber) {
  ReportWriter w(std::string(25, 'N'));
  w.PageNumber = 9;
  w.NewPage();
  w.NewPage();
  EXPECT_EQ(w.PageNumber, 11);
  EXPECT_NE(w.bytes().find("-0-"), std::string::npos);
  EXPECT_NE(w.bytes().find("-1-"), std::string::npos);
}

TEST(NewPageTest, PageFullAtOrAboveFiftyEight) {
  ReportWriter w;
  w.PageLine = 57;
  EXPECT_FALSE(w.pageFull());
  w.PageLine = 58;
  EXPECT_TRUE(w.pageFull());
  w.PageLine = 59;  // a count that jumps past 58 still starts a new page
  w.newPageIfFull();
  EXPECT_EQ(w.PageLine, 2);
  w.PageLine = 57;
  w.blankLineIfRoom();
  EXPECT_EQ(w.PageLine, 58);
  w.blankLineIfRoom();
  EXPECT_EQ(w.PageLine, 58);
}

// ---------------------------------------------------------------------------
TEST(JustifyWideningTest, FiftySixCharactersWithFiveGaps) {
  const std::string line = words({10, 10, 10, 10, 6, 5});
  ASSERT_EQ(line.size(), 56u);
  const std::string wide = widenLine(line);
  EXPECT_EQ(wide.size(), 71u);
  EXPECT_EQ(gaps(wide), (std::vector<int>{4, 4, 4, 4, 4}));
}

TEST(JustifyWideningTest, RightEndGapsWidenFirst) {
  const std::string line = words({10, 10, 10, 10, 9, 6});  // 60 characters: 11 blanks to add
  ASSERT_EQ(line.size(), 60u);
  const std::string wide = widenLine(line);
  EXPECT_EQ(wide.size(), 71u);
  EXPECT_EQ(gaps(wide), (std::vector<int>{3, 3, 3, 3, 4}));
  const std::string three = widenLine(words({20, 20, 11, 11}));  // 65: 6 blanks over 3 gaps
  EXPECT_EQ(gaps(three), (std::vector<int>{3, 3, 3}));
  const std::string four = widenLine(words({20, 20, 13, 11}));  // 67: 4 blanks over 3 gaps
  EXPECT_EQ(gaps(four), (std::vector<int>{2, 2, 3}));
}

TEST(JustifyWideningTest, DoubleBlankGapCountsOncePerPass) {
  // Gaps: 1, 2, 1 blanks; 69 characters: 2 blanks to add.
  std::string line = std::string(20, 'a') + " " + std::string(20, 'b') + "  " + std::string(12, 'c') + " " +
                     std::string(13, 'd');
  ASSERT_EQ(line.size(), 69u);
  EXPECT_EQ(gaps(widenLine(line)), (std::vector<int>{1, 3, 2}));
  // 68 characters: 3 blanks, one per gap.
  line.pop_back();
  EXPECT_EQ(gaps(widenLine(line)), (std::vector<int>{2, 3, 2}));
}

TEST(JustifyWideningTest, LimitsAndLinesThatCannotWiden) {
  const std::string fiftyFive = words({10, 10, 10, 10, 11});
  ASSERT_EQ(fiftyFive.size(), 55u);
  EXPECT_EQ(widenLine(fiftyFive), fiftyFive);
  const std::string full = words({35, 35});
  EXPECT_EQ(widenLine(full), full);
  const std::string solid(60, 'x');
  EXPECT_EQ(widenLine(solid), solid);
  const std::string leading = " " + std::string(59, 'x');  // a blank only at position 1 is no gap
  EXPECT_EQ(widenLine(leading), leading);
  // A leading blank stays single; the one inner gap takes every added blank.
  const std::string indented = " " + std::string(29, 'x') + " " + std::string(29, 'y');
  const std::string wide = widenLine(indented);
  EXPECT_EQ(wide.size(), 71u);
  EXPECT_EQ(wide, " " + std::string(29, 'x') + std::string(12, ' ') + std::string(29, 'y'));
}

TEST(JustifyCuttingTest, LastBlankAtOrBeforePosition72) {
  // A blank exactly at position 72: the line is the 71 characters before it.
  const std::string first = words({35, 35});
  ASSERT_EQ(first.size(), 71u);
  auto lines = justifyLines(first + " next words");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1], "next words");
  // A word running to position 73: cut at the blank before it.
  lines = justifyLines(words({35, 37}) + " tail");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(35, 'a'));
  EXPECT_EQ(lines[1], std::string(37, 'b') + " tail");
  // Exactly 71 characters: one line, nothing cut.
  lines = justifyLines(first);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], first);
}

TEST(JustifyCuttingTest, TrailingBlanksGoAndDoubleBlanksStay) {
  // Cut at the blank at position 70; the line of 69 widens its rightmost gap
  // first, then the double blank.
  auto lines = justifyLines(words({30, 30}) + "  end of text");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(30, 'a') + " " + std::string(30, 'b') + "   end  of");
  EXPECT_EQ(lines[1], "text");
  // The second blank of a pair at position 72: the first one trails and is removed.
  lines = justifyLines(words({34, 35}) + "  end");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(34, 'a') + "  " + std::string(35, 'b'));
  EXPECT_EQ(lines[1], "end");
  // The first blank of a pair at position 72: the rest starts with a blank.
  lines = justifyLines(words({35, 35}) + "  end");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], words({35, 35}));
  EXPECT_EQ(lines[1], " end");
}

TEST(JustifyPrintTest, LinesCountedBlankLineAndPageBreaks) {
  const std::string text = words({30, 30, 30, 30, 30, 30});
  ReportWriter w("N");
  w.PageLine = 10;
  w.PrintJustified(text);
  // Three lines of 61 characters each, widened to 71, then a blank line.
  const std::string line = std::string(30, 'a') + std::string(11, ' ') + std::string(30, 'b');
  EXPECT_EQ(w.bytes(), "       " + line + "\r\n       " + std::string(30, 'c') + std::string(11, ' ') +
                           std::string(30, 'd') + "\r\n       " + std::string(30, 'e') + std::string(11, ' ') +
                           std::string(30, 'f') + "\r\n\r\n");
  EXPECT_EQ(w.PageLine, 14);

  ReportWriter n("N");
  n.PageLine = 10;
  n.PrintJustified(text, false);
  EXPECT_EQ(n.PageLine, 13);

  // The second line fills the page: new page, then the third line and the blank.
  ReportWriter p("N");
  p.PageLine = 56;
  p.PrintJustified(text);
  EXPECT_EQ(p.PageNumber, 2);
  EXPECT_EQ(p.PageLine, 2 + 1 + 1);
  // When the last line fills the page the blank line lands on the new page.
  ReportWriter q("N");
  q.PageLine = 55;
  q.PrintJustified(text);
  EXPECT_EQ(q.PageLine, 3);
  const std::string& b = q.bytes();
  EXPECT_EQ(b.substr(b.size() - 6), "\r\n\r\n\r\n") << "running head's blank line, then the paragraph's";
}
