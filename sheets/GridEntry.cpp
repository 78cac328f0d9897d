#include "sheets/GridEntry.h"

#include <algorithm>


namespace zv {
namespace {

// The first `n` characters of a UTF-8 text (whole characters).
std::string_view firstChars(std::string_view s, std::size_t n) {
  std::size_t i = 0, count = 0;
  while (i < s.size() && count < n) {
    const auto c = static_cast<unsigned char>(s[i]);
    i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++count;
  }
  return s.substr(0, std::min(i, s.size()));
}

}  // namespace

int answerTypeOf(std::string_view answer2) {
  const std::string_view five = firstChars(answer2, 5);
  if (five == "False") return 0;
  if (five == "Somet") return 3;
  if (five == "Mostl") return 5;
  if (five == "Often") return 6;
  if (five == "No") return 1;
  if (five == "No Ch" || five == "Compl") return 4;
  return 2;
}

int highestCode(int answerType) { return answerType <= 1 ? 2 : answerType <= 4 ? 4 : 5; }

int columnCount(int answerType) { return highestCode(answerType) + 1; }

int gridWidthTwips(int answerType) { return answerType <= 1 ? 1120 : answerType <= 4 ? 1550 : 1750; }

int columnWidthTwips(int column) { return column == 0 ? 400 : 200; }

std::vector<std::string> headerTexts(int answerType) {
  std::vector<std::string> h = {"Num"};
  for (int c = 1; c <= highestCode(answerType); ++c) h.push_back(std::to_string(c));
  return h;
}

const char* gridHelp(int answerType) {
  switch (answerType) {
    case 0: return "0=No answer, 1=True, 2=False, Tab=Next grid";
    case 1: return "0=No answer, 1=Yes, 2=No, Tab=Next grid";
    case 2: return "0=No answer, 1=1, 2=2,  3=3, 4=4, Tab=Next grid";
    case 3: return "0=No answer, 1=Rare or Never, 2=Sometimes, 3=Often, 4=Very Often, Tab=Next grid";
    case 5: return "0=No answer, 1=True, 2=Mostly True, 3=Can't Decide, 4=Mostly False, 5=False, Tab=Next grid";
    case 6: return "0=No answer, 1=Very Often, 2=Often, 3=Can't Decide, 4=Often, 5=Very Often, Tab=Next grid";
    default: return nullptr;
  }
}

bool gridAccepts(int answerType, char c) { return c >= '0' && c - '0' <= highestCode(answerType); }

std::vector<GridPlan> planGrids(const std::vector<std::pair<int, std::string>>& rows) {
  std::vector<GridPlan> grids;
  for (const auto& [id, answer2] : rows) {
    if (id < 1 || id > kItemCount) continue;
    const int type = answerTypeOf(answer2);
    auto g = std::find_if(grids.begin(), grids.end(), [type](const GridPlan& p) { return p.type == type; });
    if (g == grids.end()) {
      grids.push_back({type, {}});
      g = grids.end() - 1;
    }
    g->items.push_back(id);
  }
  return grids;
}

Answers Answers::fromResponses(std::string_view stored, bool scanned, bool* shortScan) {
  std::string s = trimRight(stored);
  if (s.size() > static_cast<std::size_t>(kItemCount)) s.resize(kItemCount);
  const bool pad = scanned && s.size() < static_cast<std::size_t>(kItemCount);
  if (shortScan) *shortScan = pad;
  Answers a;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (s[i] >= '0' && s[i] <= '9') a.codes_[i] = s[i];
  return a;
}

int scrolledFirstRow(int row, int items, int firstVisible, int visible) {
  if (row >= firstVisible && row < firstVisible + visible) return firstVisible;
  // With the header the grid has items + 1 rows.
  if (row - 1 + visible > items + 1) return std::max(1, items + 1 - visible);
  return row == 1 ? 1 : row - 1;
}

GridNavigator::GridNavigator(std::vector<int> rowsPerGrid) : rows_(std::move(rowsPerGrid)) {
  if (rows_.empty()) rows_.push_back(0);
  for (int n : rows_) row_.push_back(n > 0 ? 1 : 0);
}

void GridNavigator::focusGrid(int g) {
  if (g >= 0 && g < grids()) focus_ = g;
}

void GridNavigator::setRow(int g, int r) {
  if (g < 0 || g >= grids() || rows(g) == 0) return;
  row_[static_cast<std::size_t>(g)] = std::clamp(r, 1, rows(g));
}

GridNavigator::Step GridNavigator::advance() {
  Step s;
  const int g = focus_;
  if (g < 0 || rows(g) == 0) return {true, false};
  const bool lastGrid = g == grids() - 1;
  int& r = row_[static_cast<std::size_t>(g)];
  if (r >= rows(g) && !lastGrid) {
    focus_ = g + 1;
    row_[static_cast<std::size_t>(focus_)] = rows(focus_) > 0 ? 1 : 0;
    s.gridChanged = true;
  } else if (r >= rows(g)) {
    s.beep = true;  // the last item stays the current one
  } else {
    ++r;
  }
  return s;
}

GridNavigator::Step GridNavigator::up() {
  const int g = focus_;
  if (g < 0 || rows(g) == 0) return {true, false};
  int& r = row_[static_cast<std::size_t>(g)];
  if (r > 1) {
    --r;
    return {};
  }
  if (g == 0) return {true, false};
  focus_ = g - 1;
  row_[static_cast<std::size_t>(focus_)] = rows(focus_);
  return {false, true};
}

GridNavigator::Step GridNavigator::backspace() {
  const int g = focus_;
  if (g > 0 && row(g) <= 1) return up();
  return {true, false};
}

}  // namespace zv
