#pragma once
// Keyed entry of a paper answer sheet without the screen: the answer type of
// an item, the grids built from the question table, the 162 answers, and the
// cursor rules that move through the grids.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "records/ClientRecord.h"
#include "records/ClientTable.h"
#include "records/FileSystem.h"

namespace zv {

// Answer type 0 to 6 from the first five characters of ANSWER2 (a shorter
// text is compared whole); exact and case-sensitive.
int answerTypeOf(std::string_view answer2);

// The highest code a grid of the type takes: 2, 4 or 5.
int highestCode(int answerType);
// Columns of the grid: "Num" and one per code.
int columnCount(int answerType);
// Grid width and column widths as designed, in twips.
int gridWidthTwips(int answerType);
int columnWidthTwips(int column);
std::vector<std::string> headerTexts(int answerType);
// The help text of a grid; nullptr for type 4 (the panel keeps its text).
const char* gridHelp(int answerType);
// Whether a typed character is an answer code the grid takes.
bool gridAccepts(int answerType, char c);

inline constexpr const char* kSaveHelp = "SAVE data, close this window and return to Main Menu";
inline constexpr const char* kDiscardHelp = "DISCARD data, close this window and return to Main Menu";
inline constexpr const char* kScannedWarningTitle = "Scanned Answers Warning";
inline constexpr const char* kScannedWarning =
    "Scanned answers being populated for editing but\rsome answers did not scan correctly.\rCheck responses carefully.";

// One grid: its answer type and its items (item numbers) in row order.
struct GridPlan {
  int type = 0;
  std::vector<int> items;
};

// Places the items of the question table, in table order, each into the grid
// of its answer type; a grid is made for a type the first time it occurs.
// Rows are (ID, ANSWER2); IDs outside 1 to 162 have no answer and are left out.
std::vector<GridPlan> planGrids(const std::vector<std::pair<int, std::string>>& rows);

// The 162 answer codes, item 1 first, each "0" to "9".
class Answers {
 public:
  Answers() { codes_.fill('0'); }
  // From the stored response field (trailing blanks are not part of it). A
  // character that is not a digit counts as unanswered. `scanned` marks a
  // string from a scan; `shortScan` tells that it had to be padded.
  static Answers fromResponses(std::string_view stored, bool scanned, bool* shortScan = nullptr);

  char code(int item) const { return codes_.at(static_cast<std::size_t>(item - 1)); }
  void set(int item, char digit) { codes_.at(static_cast<std::size_t>(item - 1)) = digit; }
  // The 162-character response string.
  std::string joined() const { return {codes_.data(), codes_.size()}; }

 private:
  std::array<char, kItemCount> codes_{};
};

// The first visible row after scrolling `row` into view; rows count items
// from 1, `items` is the number of item rows, `visible` the rows shown.
int scrolledFirstRow(int row, int items, int firstVisible, int visible = 17);

// Where the cursor is in the grids, and the moves of the keys.
class GridNavigator {
 public:
  explicit GridNavigator(std::vector<int> rowsPerGrid);

  int grids() const { return static_cast<int>(rows_.size()); }
  int rows(int g) const { return rows_.at(static_cast<std::size_t>(g)); }
  // The grid that has the focus; -1 while the buttons have it.
  int focus() const { return focus_; }
  // The cursor row of a grid (1 = first item; 0 when the grid has no items).
  int row(int g) const { return row_.at(static_cast<std::size_t>(g)); }

  // The focus reaches a grid (Tab, a click, the screen).
  void focusGrid(int g);
  // The focus leaves the grids.
  void leaveGrids() { focus_ = -1; }
  // A click or a page key puts the cursor on a row of the focused grid.
  void setRow(int g, int row);

  struct Step {
    bool beep = false;
    bool gridChanged = false;
  };
  // After an answer was keyed, or on Down: the next item, the next grid's
  // first item after a grid's last, a beep after the very last item.
  Step advance();
  // Up: the row above; from row 1 the previous grid's last item; a beep at the top.
  Step up();
  // Backspace: from row 1 back to the previous grid's last item; otherwise a beep.
  Step backspace();

 private:
  std::vector<int> rows_;
  std::vector<int> row_;
  int focus_ = 0;
};

}  // namespace zv
