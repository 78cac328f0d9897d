#include <gtest/gtest.h>

#include "sheets/GridEntry.h"

using namespace zv;

TEST(GridAnswerType, FirstFiveCharactersOfAnswer2TheKeysColumnsAndHelpOfEachAndOneGridPerTypeInOrder) {
  const std::pair<const char*, int> cases[] = {
      {"False", 0},     {"False statement", 0}, {"No", 1},          {"No way", 2},       {"No ", 2},
      {"No Change", 4}, {"No Ch", 4},           {"Completely", 4},  {"Sometimes", 3},    {"Mostly True", 5},
      {"Often", 6},     {"false", 2} /* case-sensitive */,          {"", 2},             {"Once a week", 2},
      {"Falso", 2},     {"Fals\xC3\xA9", 2} /* five characters, not five bytes */};
  for (const auto& [text, type] : cases) EXPECT_EQ(answerTypeOf(text), type) << text;
  const std::tuple<int, char, bool> keys[] = {{0, '2', true},  {0, '3', false}, {1, '3', false},
                                              {3, '4', true},  {4, '5', false}, {5, '5', true},
                                              {6, '6', false}, {2, '0', true},  {2, 'a', false}};
  for (const auto& [type, key, ok] : keys) EXPECT_EQ(gridAccepts(type, key), ok) << type << ' ' << key;
  EXPECT_EQ(headerTexts(0), (std::vector<std::string>{"Num", "1", "2"}));
  EXPECT_EQ(headerTexts(5), (std::vector<std::string>{"Num", "1", "2", "3", "4", "5"}));
  std::vector<std::string> helps;
  for (int type = 0; type <= 6; ++type) {
    EXPECT_EQ(static_cast<std::size_t>(columnCount(type)), headerTexts(type).size()) << type;
    helps.push_back(gridHelp(type) ? gridHelp(type) : "(none)");
  }
  EXPECT_EQ(helps, (std::vector<std::string>{
                       "0=No answer, 1=True, 2=False, Tab=Next grid", "0=No answer, 1=Yes, 2=No, Tab=Next grid",
                       "0=No answer, 1=1, 2=2,  3=3, 4=4, Tab=Next grid",
                       "0=No answer, 1=Rare or Never, 2=Sometimes, 3=Often, 4=Very Often, Tab=Next grid", "(none)",
                       "0=No answer, 1=True, 2=Mostly True, 3=Can't Decide, 4=Mostly False, 5=False, Tab=Next grid",
                       "0=No answer, 1=Very Often, 2=Often, 3=Can't Decide, 4=Often, 5=Very Often, Tab=Next grid"}));
  // One grid per type in order of first occurrence.
  // Item 6 goes to the first grid, not a new one; items 0 and 163 are no items of the test.
  const std::vector<std::pair<int, std::string>> rows = {{1, "False"}, {2, "False"}, {3, "False"}, {4, "Sometimes"},
                                                          {5, "No"},    {6, "False"}, {7, "No Change"},
                                                          {0, "False"}, {163, "False"}};
  using Grids = std::vector<std::pair<int, std::vector<int>>>;  // type and items of each grid
  Grids grids;
  for (const GridPlan& g : planGrids(rows)) grids.push_back({g.type, g.items});
  EXPECT_EQ(grids, (Grids{{0, {1, 2, 3, 6}}, {3, {4}}, {1, {5}}, {4, {7}}}));
}

TEST(GridAnswers, StoredStringsScansAndNonDigits) {
  bool shortScan = true;
  Answers::fromResponses(std::string(162, '0'), false, &shortScan);
  EXPECT_FALSE(shortScan);
  // Items 10 and 11 hold no digit: unanswered.
  EXPECT_EQ(Answers::fromResponses(std::string(162, '1').replace(9, 2, " x"), false).joined(),
            std::string(162, '1').replace(9, 2, "00"));

  // A scan of 150 answers (the rest blank in the record) is padded with "0".
  const Answers s = Answers::fromResponses(std::string(150, '2') + std::string(12, ' '), true, &shortScan);
  EXPECT_TRUE(shortScan);
  EXPECT_EQ(s.joined(), std::string(150, '2') + std::string(12, '0'));
  Answers::fromResponses(std::string(162, '2'), true, &shortScan);
  EXPECT_FALSE(shortScan);
}

namespace {

// Each move ('a' advance, 'u' up, 'b' backspace) as "grid.row" after it, with
// "!" for a beep and "*" for a change of grid.
std::vector<std::string> trace(GridNavigator& n, const std::string& moves) {
  std::vector<std::string> out;
  for (char m : moves) {
    const auto s = m == 'a' ? n.advance() : m == 'u' ? n.up() : n.backspace();
    out.push_back(std::to_string(n.focus()) + "." + std::to_string(n.row(n.focus())) + (s.beep ? "!" : "") +
                  (s.gridChanged ? "*" : ""));
  }
  return out;
}

}  // namespace

TEST(GridNavigation, KeysAndClicksMoveAcrossGridsBeepAtTheEndsAndScrollSeventeenRows) {
  GridNavigator n({3, 2, 2});
  EXPECT_EQ((std::vector<int>{n.focus(), n.row(0)}), (std::vector<int>{0, 1}));
  // The last item of a grid leads to the next grid's first; the last of all stays and beeps.
  EXPECT_EQ(trace(n, "aaaaaaa"), (std::vector<std::string>{"0.2", "0.3", "1.1*", "1.2", "2.1*", "2.2", "2.2!"}));
  EXPECT_EQ((std::vector<int>{n.row(0), n.row(1)}), (std::vector<int>{3, 2})) << "each grid keeps its row";
  // Up and Backspace at row 1 lead to the previous grid's last item, Backspace elsewhere beeps.
  GridNavigator m({3, 2, 2});
  EXPECT_EQ(trace(m, "ub"), (std::vector<std::string>{"0.1!", "0.1!"}));
  m.focusGrid(2);
  EXPECT_EQ(trace(m, "uubb"), (std::vector<std::string>{"1.2*", "1.1", "0.3*", "0.3!"}));
  // A click past the last row selects it; out of the grids, keys beep.
  m.setRow(1, 9);
  EXPECT_EQ(m.row(1), 2);
  m.leaveGrids();
  EXPECT_EQ(m.focus(), -1);
  EXPECT_TRUE(m.advance().beep);
  GridNavigator empty({});
  EXPECT_EQ(empty.grids(), 1);
  EXPECT_EQ(trace(empty, "au"), (std::vector<std::string>{"0.0!", "0.0!"}));
  // Scrolling, 17 rows visible: {cursor row, rows, first visible row, expected first visible row}.
  const int cases[][4] = {{5, 105, 1, 1} /* visible: unchanged */, {17, 105, 1, 1}, {1, 105, 40, 1}, {30, 105, 40, 29},
                          {18, 105, 1, 17} /* one row of context above */, {10, 12, 1, 1},
                          {100, 105, 1, 89} /* near the end: the last 17 rows */};
  for (const auto& c : cases) EXPECT_EQ(scrolledFirstRow(c[0], c[1], c[2]), c[3]) << c[0] << ' ' << c[1] << ' ' << c[2];
}
