// Print primitives, the running head and the justified paragraph layout. Body
// lines, blank lines and form feeds, never counted but by the sections: the golden reports.
#include <gtest/gtest.h>

#include "report/ReportWriter.h"

using namespace zv;

namespace {

std::string words(std::initializer_list<int> lengths) {
  std::string s;
  char letter = 'a';
  for (int n : lengths) s += (s.empty() ? "" : " ") + std::string(static_cast<std::size_t>(n), letter++);
  return s;
}

// Lengths of the blank runs between words, left to right.
std::vector<int> gaps(const std::string& line) {
  std::vector<int> out;
  std::size_t b = line.find(' ', line.find_first_not_of(' '));
  while (b != std::string::npos) {
    const std::size_t e = line.find_first_not_of(' ', b);
    out.push_back(static_cast<int>(e - b));
    b = line.find(' ', e);
  }
  return out;
}

std::string run(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

}  // namespace

TEST(PrintPrimitivesTest, TextIntegersLinesAndBytes) {
  ReportWriter w;
  w.Spc(7);
  w.Text("ab");
  w.Tab(14);
  w.Tab(14);  // a second Tab to the column writes nothing
  EXPECT_EQ(w.column(), 14);
  w.Text("x");
  w.EndLine();
  EXPECT_EQ(w.column(), 1);
  w.Text("0123456789");
  w.Tab(5);  // left of the column: on the next line
  w.Text("x");
  w.EndLine();
  EXPECT_EQ(w.bytes(), "       ab    x\r\n0123456789\r\n    x\r\n");

  ReportWriter n;
  for (int v : {7, 42, 0, -3, 100}) n.Integer(v);
  n.Text("caf\xE9 \x93q\x94");
  EXPECT_EQ(n.bytes(), " 7  42  0 -3  100 caf\xE9 \x93q\x94");
  EXPECT_EQ(n.column(), 19 + 8) << "one byte is one column";
}

// The running head of page 2 and the lines after it: the page breaks of ReportLayoutTest.
TEST(NewPageTest, LastDigitOfThePageNumberAndPageFull) {
  // The last digit of the page number.
  ReportWriter n(run('N', 25));
  n.PageNumber = 9;
  n.NewPage();
  n.NewPage();
  EXPECT_EQ(n.PageNumber, 11);
  EXPECT_NE(n.bytes().find("-0-"), std::string::npos);
  EXPECT_NE(n.bytes().find("-1-"), std::string::npos);
  // The page is full at or above 58; a count that jumps past 58 still starts a new page.
  ReportWriter w("N");
  auto at = [&w](int pageLine) -> ReportWriter& {
    w.PageLine = pageLine;
    return w;
  };
  std::vector<int> lines = {at(57).pageFull(), at(58).pageFull()};
  at(59).newPageIfFull();
  lines.push_back(w.PageLine);
  at(57).blankLineIfRoom();
  lines.push_back(w.PageLine);
  w.blankLineIfRoom();  // none at 58
  lines.push_back(w.PageLine);
  EXPECT_EQ(lines, (std::vector<int>{0, 1, 2, 58, 58}));
}

TEST(JustifyWideningTest, BlanksGoToTheGapsRightEndFirst) {
  // Gaps of 1, 2, 1 blanks: the double blank counts once per pass.
  const std::string doubled = run('a', 20) + " " + run('b', 20) + "  " + run('c', 12) + " " + run('d', 13);
  struct Case { std::string line; std::size_t size; std::vector<int> gaps; };
  const Case cases[] = {
      {words({10, 10, 10, 10, 6, 5}), 56, {4, 4, 4, 4, 4}},  // 15 blanks over 5 gaps
      {words({10, 10, 10, 10, 9, 6}), 60, {3, 3, 3, 3, 4}},  // 11 blanks
      {words({20, 20, 11, 11}), 65, {3, 3, 3}},              // 6 blanks over 3 gaps
      {words({20, 20, 13, 11}), 67, {2, 2, 3}},              // 4 blanks over 3 gaps
      {doubled, 69, {1, 3, 2}},                              // 2 blanks
      {doubled.substr(0, 68), 68, {2, 3, 2}},                // 3 blanks, one per gap
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ASSERT_EQ(c.line.size(), c.size);
    const std::string wide = widenLine(c.line);
    EXPECT_EQ(wide.size(), 71u);
    EXPECT_EQ(gaps(wide), c.gaps);
  }
}

TEST(JustifyWideningTest, LimitsAndLinesThatCannotWiden) {
  // 55 characters, a full line, no blank, a blank only at position 1 (no gap).
  for (const std::string& line : {words({10, 10, 10, 10, 11}), words({35, 35}), run('x', 60), " " + run('x', 59)})
    EXPECT_EQ(widenLine(line), line);
  // A leading blank stays single; the one inner gap takes every added blank.
  EXPECT_EQ(widenLine(" " + run('x', 29) + " " + run('y', 29)), " " + run('x', 29) + run(' ', 12) + run('y', 29));
}

TEST(JustifyCuttingTest, WhereLinesAreCut) {
  const std::string first = words({35, 35});  // 71 characters
  using Lines = std::vector<std::string>;
  const std::pair<std::string, Lines> cases[] = {
      // A blank exactly at position 72: the line is the 71 characters before it.
      {first + " next words", {first, "next words"}},
      // A word running to position 73: cut at the blank before it.
      {words({35, 37}) + " tail", {run('a', 35), run('b', 37) + " tail"}},
      // Exactly 71 characters: one line, nothing cut.
      {first, {first}},
      // Cut at the blank at position 70; the line of 69 widens its rightmost
      // gap first, then the double blank.
      {words({30, 30}) + "  end of text", {run('a', 30) + " " + run('b', 30) + "   end  of", "text"}},
      // The second blank of a pair at position 72: the first one trails and is removed.
      {words({34, 35}) + "  end", {run('a', 34) + "  " + run('b', 35), "end"}},
      // The first blank of a pair at position 72: the rest starts with a blank.
      {first + "  end", {first, " end"}},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(justifyLines(text), lines) << text;
}

TEST(JustifyPrintTest, LinesCountedBlankLineAndPageBreaks) {
  const std::string text = words({30, 30, 30, 30, 30, 30});
  auto printed = [&](int pageLine, bool blank = true) {
    ReportWriter w("N");
    w.PageLine = pageLine;
    w.PrintJustified(text, blank);
    return w;
  };
  // Three lines of 61 characters each, widened to 71, then a blank line.
  const ReportWriter w = printed(10);
  std::string expected;
  for (char c : {'a', 'c', 'e'}) expected += "       " + run(c, 30) + run(' ', 11) + run(c + 1, 30) + "\r\n";
  EXPECT_EQ(w.bytes(), expected + "\r\n");
  EXPECT_EQ((std::pair{w.PageLine, printed(10, false).PageLine}), (std::pair{14, 13})) << "with and without the blank";
  // The second line fills the page: new page, then the third line and the blank.
  const ReportWriter p = printed(56);
  EXPECT_EQ((std::pair{p.PageNumber, p.PageLine}), (std::pair{2, 2 + 1 + 1}));
  // When the last line fills the page the blank line lands on the new page.
  const ReportWriter q = printed(55);
  EXPECT_EQ(q.PageLine, 3);
  const std::string& b = q.bytes();
  EXPECT_EQ(b.substr(b.size() - 6), "\r\n\r\n\r\n") << "running head's blank line, then the paragraph's";
}
