#include "sheets/qt/frmNewEntry.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/SystemState.h"
#include "records/ClientSlot.h"

namespace zv {
namespace {

constexpr unsigned kNormalBack = 0xFFFFFF;     // white
constexpr unsigned kNormalFore = 0x800000;     // dark blue
constexpr unsigned kChosenBack = 0x00FF00;     // green
constexpr unsigned kHighlightBack = 0xFFFF00;  // cyan
constexpr unsigned kBlack = 0x000000;
constexpr int kVisibleRows = 17;

// The wait pointer while the grids are built.
struct WaitPointer {
  WaitPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitPointer() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

frmNewEntry::frmNewEntry(SystemState& state, QWidget* parent) : Form("Answer Sheet Entry", parent), state_(state) {
  WaitPointer wait;
  setObjectName("frmNewEntry");
  frame()->setObjectName("frEntry");
  frame()->setFrameStyle(QFrame::Box | QFrame::Plain);

  lblClientName_ = new QLabel(frame());
  lblClientName_->setObjectName("lblClientName");
  lblClientName_->setTextFormat(Qt::PlainText);
  QFont nameFont = lblClientName_->font();
  nameFont.setBold(true);
  lblClientName_->setFont(nameFont);
  lblClientName_->setMinimumWidth(boldLabelWidthFor(lblClientName_, 25));
  const ClientTable& t = state_.clients;
  const bool slotOk = t.CurrentRecord >= 1 && t.CurrentRecord <= kMaxClients;
  if (slotOk) lblClientName_->setText(QString::fromStdString(t.current().text(Field::Name)));

  std::vector<std::pair<int, std::string>> rows;
  readQuestionTable(rows);
  plans_ = planGrids(rows);
  if (plans_.empty()) plans_.push_back({0, {}});
  if (slotOk) answers_ = Answers::fromResponses(t.current().raw(Field::Responses), state_.ScannedAnswers, &shortScan_);

  menu_ = new MenuChoices(this, msgPanel());
  const char* captions[] = {"SAVE", "DISCARD"};
  const char* helps[] = {kSaveHelp, kDiscardHelp};
  for (int i = 0; i < 2; ++i) {
    QFrame* panel = menu_->addRow(captions[i], helps[i], frame());
    panel->setFixedSize(panel->sizeHint().expandedTo(QSize(twips(1500), 0)));
  }
  connect(menu_, &MenuChoices::chosen, this, [this](int i) { i == 0 ? save() : discard(); });

  buildGrids();
  placeGrids();
  loading_ = false;
}

void frmNewEntry::readQuestionTable(std::vector<std::pair<int, std::string>>& rows) {
  try {
    Database db = state_.workspace.OpenDatabase(state_.questionDbPath());
    Recordset rs = db.OpenTable("English");
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
      rows.emplace_back(static_cast<int>(rs.fieldInt("ID")), rs.field("Answer2"));
    rs.Close();
    db.Close();
  } catch (const ZvError& e) {
    failed_ = true;
    rows.clear();
    state_.prompter.ask(e.description() + "  " + std::to_string(e.number()), kAppTitle, Buttons::Ok, Icon::None);
  }
}

void frmNewEntry::buildGrids() {
  const QFontMetrics fm(font());
  const int rowHeight = fm.height() + 4;
  const int numWidth = std::max(twips(columnWidthTwips(0)), fm.horizontalAdvance("162.") + 8);
  const int codeWidth = std::max(twips(columnWidthTwips(1)), fm.horizontalAdvance("X") + 10);
  for (std::size_t g = 0; g < plans_.size(); ++g) {
    const GridPlan& plan = plans_[g];
    auto* grid = new QTableWidget(static_cast<int>(plan.items.size()), columnCount(plan.type), frame());
    grid->setObjectName(QString("grdResponses%1").arg(g));
    grid->setProperty("Tag", QString::number(plan.type));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setTabKeyNavigation(false);
    grid->setAutoScroll(false);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setMinimumSectionSize(rowHeight);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setMinimumSectionSize(std::min(numWidth, codeWidth));
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->setCornerButtonEnabled(false);
    grid->setWordWrap(false);
    QStringList header;
    for (const auto& h : headerTexts(plan.type)) header << QString::fromStdString(h);
    grid->setHorizontalHeaderLabels(header);
    int width = 0;
    for (int c = 0; c < grid->columnCount(); ++c) {
      const int w = c == 0 ? numWidth : codeWidth;
      grid->setColumnWidth(c, w);
      width += w;
    }
    for (int r = 0; r < grid->rowCount(); ++r) {
      auto* label = new QTableWidgetItem(QString("%1.").arg(plan.items[static_cast<std::size_t>(r)]));
      label->setFlags(Qt::ItemIsEnabled);
      label->setBackground(vbColor(kNormalBack));
      label->setForeground(vbColor(kNormalFore));
      grid->setItem(r, 0, label);
      for (int c = 1; c < grid->columnCount(); ++c) {
        auto* cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setTextAlignment(Qt::AlignCenter);
        grid->setItem(r, c, cell);
      }
    }
    const int frameWidth = 2 * grid->frameWidth();
    grid->setFixedSize(std::max(twips(gridWidthTwips(plan.type)),
                                width + grid->verticalScrollBar()->sizeHint().width() + frameWidth),
                       grid->horizontalHeader()->sizeHint().height() + kVisibleRows * rowHeight + frameWidth);
    grid->installEventFilter(this);
    const int gi = static_cast<int>(g);
    connect(grid, &QTableWidget::currentCellChanged, this, [this, gi](int row, int, int, int) {
      // A click (or any move the grid makes itself) highlights the new row.
      if (loading_ || rowChangeBusy_ || row < 0) return;
      nav_.focusGrid(gi);
      nav_.setRow(gi, row + 1);
      sync();
    });
    auto* label = new QLabel(QString("Section %1").arg(g + 1), frame());
    label->setObjectName(QString("lblSection%1").arg(g));
    label->setAlignment(Qt::AlignCenter);
    grids_.push_back(grid);
    labels_.push_back(label);
    paintedRow_.push_back(0);
  }
  std::vector<int> counts;
  for (const auto& p : plans_) counts.push_back(static_cast<int>(p.items.size()));
  nav_ = GridNavigator(counts);
  for (int g = 0; g < gridCount(); ++g)
    for (int r = 1; r <= grid(g)->rowCount(); ++r) paintRow(g, r, false);
  // Tab order: the grids, then SAVE and DISCARD.
  QWidget* previous = nullptr;
  for (QTableWidget* g : grids_) {
    if (previous) setTabOrder(previous, g);
    previous = g;
  }
  setTabOrder(previous, menu_->button(0));
  setTabOrder(menu_->button(0), menu_->button(1));
}

void frmNewEntry::placeGrids() {
  const int gap = twips(200);
  const int labelHeight = labels_.front()->sizeHint().height();
  const int nameHeight = lblClientName_->sizeHint().height();
  const int top = gap + nameHeight + gap + labelHeight;
  int x = gap;
  int gridsHeight = 0;
  for (QTableWidget* g : grids_) {
    g->move(x, top);
    x += g->width() + gap;
    gridsHeight = std::max(gridsHeight, g->height());
  }
  const int blockWidth = x;  // right edge of the last grid + 200 twips
  QWidget* save = menu_->panel(0);
  QWidget* discard = menu_->panel(1);
  const int buttonsWidth = save->width() + gap + discard->width();
  const int frameWidth = std::max({blockWidth + 2 * gap, buttonsWidth + 4 * gap, lblClientName_->sizeHint().width() + 2 * gap,
                                   twips(6000)});
  // Centre the block of grids in the frame, last grid first.
  const int shift = frameWidth / 2 - blockWidth / 2;
  for (int g = gridCount() - 1; g >= 0; --g) {
    grid(g)->move(grid(g)->x() + shift, top);
    sectionLabel(g)->setGeometry(grid(g)->x(), top - labelHeight, grid(g)->width(), labelHeight);
  }
  lblClientName_->setGeometry(gap, gap, frameWidth - 2 * gap, nameHeight);
  const int buttonsTop = top + gridsHeight + gap;
  save->move(frameWidth / 2 - buttonsWidth / 2, buttonsTop);
  discard->move(save->x() + save->width() + gap, buttonsTop);
  frame()->resize(frameWidth, buttonsTop + save->height() + gap);
  resize(frameWidth + twips(720), frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(360));
}

int frmNewEntry::itemAt(int g, int row) const {
  const auto& items = plans_.at(static_cast<std::size_t>(g)).items;
  return row >= 1 && row <= static_cast<int>(items.size()) ? items[static_cast<std::size_t>(row - 1)] : 0;
}

void frmNewEntry::SetGridCellColor(int g, int row, int col, unsigned back, unsigned fore) {
  QTableWidgetItem* cell = grid(g)->item(row - 1, col);
  if (!cell) return;
  cell->setBackground(vbColor(back));
  cell->setForeground(vbColor(fore));
}

void frmNewEntry::paintRow(int g, int row, bool highlight) {
  const int item = itemAt(g, row);
  if (item == 0) return;
  QTableWidget* w = grid(g);
  const int code = answers_.code(item) - '0';
  SetGridCellColor(g, row, 0, kNormalBack, kNormalFore);
  for (int c = 1; c < w->columnCount(); ++c) {
    const bool chosen = c == code;
    w->item(row - 1, c)->setText(chosen ? QStringLiteral("X") : QString());
    if (highlight) SetGridCellColor(g, row, c, kHighlightBack, kBlack);
    else if (chosen) SetGridCellColor(g, row, c, kChosenBack, kBlack);
    else SetGridCellColor(g, row, c, kNormalBack, kNormalFore);
  }
}

void frmNewEntry::activate() {
  loading_ = true;
  menu_->ResetMenuChoices(1);
  if (shortScan_ && !warned_) {
    warned_ = true;
    state_.prompter.tell(kScannedWarning, kScannedWarningTitle);
  }
  for (int g = 0; g < gridCount(); ++g) {
    rowChangeBusy_ = true;
    if (grid(g)->rowCount() > 0) grid(g)->setCurrentCell(0, 0);
    rowChangeBusy_ = false;
    grid(g)->verticalScrollBar()->setValue(0);
  }
  nav_ = GridNavigator([this] {
    std::vector<int> counts;
    for (const auto& p : plans_) counts.push_back(static_cast<int>(p.items.size()));
    return counts;
  }());
  loading_ = false;
  grid(0)->setFocus(Qt::OtherFocusReason);
  sync();
}

int frmNewEntry::gridIndex(QObject* o) const {
  for (int g = 0; g < gridCount(); ++g)
    if (grids_[static_cast<std::size_t>(g)] == o) return g;
  return -1;
}

bool frmNewEntry::eventFilter(QObject* watched, QEvent* event) {
  const int g = gridIndex(watched);
  if (g < 0) return Form::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::FocusIn: {
      if (menu_->button(0)->isEnabled()) {
        if (const char* help = gridHelp(gridType(g))) msgPanel()->setText(help);
      } else {
        msgPanel()->clear();
      }
      nav_.focusGrid(g);
      sync();
      break;
    }
    case QEvent::FocusOut: {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
      if (nav_.focus() == g) {
        nav_.leaveGrids();
        sync();
      }
      break;
    }
    case QEvent::KeyPress:
      return gridKey(g, static_cast<QKeyEvent*>(event));
    default:
      break;
  }
  return Form::eventFilter(watched, event);
}

bool frmNewEntry::gridKey(int g, QKeyEvent* k) {
  if (nav_.focus() != g) nav_.focusGrid(g);
  switch (k->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;  // the focus moves on to the next grid or the buttons
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    case Qt::Key_Down:
      apply(nav_.advance());
      return true;
    case Qt::Key_Up:
      apply(nav_.up());
      return true;
    case Qt::Key_Backspace:
      apply(nav_.backspace());
      return true;
    case Qt::Key_PageDown:
      nav_.setRow(g, nav_.row(g) + kVisibleRows - 1);
      sync();
      return true;
    case Qt::Key_PageUp:
      nav_.setRow(g, nav_.row(g) - (kVisibleRows - 1));
      sync();
      return true;
    default:
      break;
  }
  const QString text = k->text();
  if (text.isEmpty()) return true;  // keys that type nothing do nothing here
  if (text.size() != 1 || !gridAccepts(gridType(g), text[0].toLatin1())) {
    state_.prompter.beep();
    return true;
  }
  const int row = nav_.row(g);
  const int item = itemAt(g, row);
  if (item == 0) {
    state_.prompter.beep();
    return true;
  }
  answers_.set(item, text[0].toLatin1());
  paintRow(g, row, paintedRow_[static_cast<std::size_t>(g)] == row);
  apply(nav_.advance());
  return true;
}

void frmNewEntry::apply(GridNavigator::Step step) {
  if (step.beep) state_.prompter.beep();
  sync();
  if (step.gridChanged && nav_.focus() >= 0) grid(nav_.focus())->setFocus(Qt::OtherFocusReason);
}

void frmNewEntry::sync() {
  for (int g = 0; g < gridCount(); ++g) {
    const int want = g == nav_.focus() ? nav_.row(g) : 0;
    int& painted = paintedRow_[static_cast<std::size_t>(g)];
    if (painted == want) continue;
    if (painted > 0) paintRow(g, painted, false);
    if (want > 0) paintRow(g, want, true);
    painted = want;
  }
  const int g = nav_.focus();
  if (g < 0 || nav_.row(g) < 1) return;
  QTableWidget* w = grid(g);
  rowChangeBusy_ = true;
  w->setCurrentCell(nav_.row(g) - 1, std::max(0, w->currentColumn()));
  rowChangeBusy_ = false;
  scrollIntoView(g);
}

void frmNewEntry::scrollIntoView(int g) {
  QScrollBar* bar = grid(g)->verticalScrollBar();
  const int first = bar->value() + 1;
  const int wanted = scrolledFirstRow(nav_.row(g), grid(g)->rowCount(), first, kVisibleRows);
  if (wanted != first) bar->setValue(wanted - 1);
}

void frmNewEntry::save() {
  menu_->button(0)->setEnabled(false);
  menu_->button(1)->setEnabled(false);
  msgPanel()->clear();
  ClientSlot slot(state_.clients);
  const bool ok = slot.storeAnswers(state_.fs, state_.clientFile(), state_.prompter, answers_.joined());
  menu_->button(0)->setEnabled(true);
  menu_->button(1)->setEnabled(true);
  if (!ok && !slot.active()) {
    done(QDialog::Rejected);  // the client file changed on disk and was read again
    return;
  }
  if (!ok) {
    // Nothing typed is lost: the grid stays open for another SAVE.
    menu_->button(0)->setFocus(Qt::TabFocusReason);
    return;
  }
  saved_ = true;
  done(QDialog::Accepted);
}

// Nothing is written; the chain gives up its client through the slot owner.
void frmNewEntry::discard() { done(QDialog::Rejected); }

void frmNewEntry::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) return;  // a stray Escape must not lose 162 answers
  Form::keyPressEvent(e);
}

void frmNewEntry::reject() { discard(); }

}  // namespace zv
