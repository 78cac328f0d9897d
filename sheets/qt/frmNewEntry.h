#pragma once
// The answer grid: one grid per answer type, in which an operator keys the
// 162 answer codes of the current client from a paper answer sheet (also the
// correction screen after a scan). The rules live in sheets/GridEntry.h.
#include <QLabel>
#include <QTableWidget>
#include <optional>
#include <string>
#include <vector>

#include "sheets/GridEntry.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;

class frmNewEntry : public Form {
  Q_OBJECT
 public:
  frmNewEntry(SystemState& state, QWidget* parent = nullptr);

  // False when the question table could not be read; the error has been
  // shown and the screen is not to be opened.
  bool ready() const { return !failed_; }
  // True once SAVE has stored the answers.
  bool saved() const { return saved_; }

  int gridCount() const { return static_cast<int>(grids_.size()); }
  QTableWidget* grid(int g) const { return grids_.at(static_cast<std::size_t>(g)); }
  QLabel* sectionLabel(int g) const { return labels_.at(static_cast<std::size_t>(g)); }
  // The grid's Tag: its answer type.
  int gridType(int g) const { return plans_.at(static_cast<std::size_t>(g)).type; }
  // The item number shown in row `row` (1 = first item row) of a grid.
  int itemAt(int g, int row) const;
  QLabel* clientName() const { return lblClientName_; }
  MenuChoices* menu() const { return menu_; }
  const Answers& answers() const { return answers_; }
  const GridNavigator& navigator() const { return nav_; }

  // Paints one cell (colours &H00BBGGRR).
  void SetGridCellColor(int g, int row, int col, unsigned back, unsigned fore);

  void save();
  void discard();

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* e) override;
  void reject() override;

 private:
  void readQuestionTable(std::vector<std::pair<int, std::string>>& rows);
  void buildGrids();
  void placeGrids();
  int gridIndex(QObject* o) const;
  bool gridKey(int g, QKeyEvent* k);
  void paintRow(int g, int row, bool highlight);
  void apply(GridNavigator::Step step);
  void sync();
  void scrollIntoView(int g);

  SystemState& state_;
  std::vector<GridPlan> plans_;
  std::vector<QTableWidget*> grids_;
  std::vector<QLabel*> labels_;
  std::vector<int> paintedRow_;
  QLabel* lblClientName_;
  MenuChoices* menu_;
  Answers answers_;
  GridNavigator nav_{{}};
  bool failed_ = false;
  bool saved_ = false;
  bool shortScan_ = false;
  bool warned_ = false;
  bool loading_ = true;
  bool rowChangeBusy_ = false;
};

}  // namespace zv
