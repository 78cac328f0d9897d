// The answer grid screen: grids, keys, colours, focus and its two buttons.
// The rules it applies (answer types, keys, navigation, scrolling, reading
// the stored answers, non-digits and zeros as no answer): GridEntryTest;
// storing and abandoning the slot: ClientFileTest (ClientSlot).
#include <gtest/gtest.h>

#include <QScrollBar>
#include <cerrno>

#include "records/ClientSlot.h"
#include "sheets/qt/frmNewEntry.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

const QColor kWhite(255, 255, 255), kDarkBlue(0, 0, 128), kGreen(0, 255, 0), kCyan(0, 255, 255), kBlack(0, 0, 0);

// Every answer type occurs; a late "False" item joins the first grid.
std::vector<BankItem> mixedRows() {
  const std::pair<int, const char*> upTo[] = {{105, "False"}, {139, "Sometimes"},   {145, "Once"},
                                              {146, "No"},    {147, "No Change"},   {150, "Mostly True"},
                                              {153, "Often"}, {154, "False"},       {162, "Nope"}};
  std::vector<BankItem> rows;
  int i = 1;
  for (const auto& [last, answer2] : upTo)
    for (; i <= last; ++i) rows.push_back({i, {"A", answer2}});
  return rows;
}

struct GridScreen {
  IntakeRig rig;
  std::unique_ptr<frmNewEntry> screen;
  // A new client in slot RecordCount + 1 or (editing) stored client 2, with
  // these answers (if any), scanned or not; shown.
  explicit GridScreen(bool edit = false, const std::string& responses = "", bool scanned = false) {
    rig.questionTable(mixedRows());
    rig.storeClients(2, 2);
    edit ? (void)ClientSlot(rig.state.clients).beginEdit() : rig.newClient();
    rig.state.ScannedAnswers = scanned;
    if (!responses.empty()) rig.state.clients.current().setText(Field::Responses, responses);
    screen = std::make_unique<frmNewEntry>(rig.state);
    EXPECT_TRUE(screen->ready());
    showActive(screen.get());
  }
  QTableWidget* grid(int g) { return screen->grid(g); }
  int row(int g) { return screen->navigator().row(g); }
  char code(int item) { return screen->answers().code(item); }
  // A row's look: 'L' the item label in normal colours; then per answer cell
  // '.' normal, 'X' chosen (X on green), '-' highlighted, '#' highlighted with its X.
  QString cells(int g, int row) {
    QString out;
    for (int c = 0; c < grid(g)->columnCount(); ++c) {
      const QTableWidgetItem* it = grid(g)->item(row - 1, c);
      const QColor back = it->background().color(), fore = it->foreground().color();
      const bool normal = back == kWhite && fore == kDarkBlue, x = it->text() == "X", empty = it->text().isEmpty();
      if (c == 0) out += normal && !empty ? 'L' : '?';
      else if (normal && empty) out += '.';
      else if (back == kGreen && fore == kBlack && x) out += 'X';
      else if (back == kCyan && fore == kBlack && (x || empty)) out += x ? '#' : '-';
      else out += '?';
    }
    return out;
  }
};

}  // namespace

TEST(NewEntryScreen, OneGridPerAnswerTypeWithItsLabelHeaderItemsKeysAndHelp) {
  GridScreen s;
  ASSERT_EQ(s.screen->gridCount(), 7);
  std::vector<int> types, rows;
  for (int g = 0; g < 7; ++g) {
    types.push_back(s.screen->gridType(g));
    rows.push_back(s.grid(g)->rowCount());
    EXPECT_EQ(s.screen->sectionLabel(g)->text(), QString("Section %1").arg(g + 1));
    EXPECT_EQ(s.grid(g)->columnCount(), columnCount(types[g]));
    EXPECT_EQ(s.grid(g)->horizontalHeaderItem(0)->text(), "Num");
    EXPECT_EQ(s.grid(g)->horizontalHeaderItem(columnCount(types[g]) - 1)->text(), QString::number(highestCode(types[g])));
    // Side by side, each label right above its grid.
    EXPECT_EQ(s.screen->sectionLabel(g)->x(), s.grid(g)->x());
    EXPECT_EQ(s.screen->sectionLabel(g)->geometry().bottom() + 1, s.grid(g)->y());
    EXPECT_EQ(s.grid(g)->y(), s.grid(0)->y());
    if (g > 0) { EXPECT_GT(s.grid(g)->x(), s.grid(g - 1)->x() + s.grid(g - 1)->width()); }
  }
  EXPECT_EQ(types, (std::vector<int>{0, 3, 2, 1, 4, 5, 6}));
  EXPECT_EQ(rows, (std::vector<int>{106, 34, 14, 1, 1, 3, 3}));
  EXPECT_EQ(s.grid(0)->item(0, 0)->text(), "1.");
  EXPECT_EQ(s.grid(0)->item(105, 0)->text(), "154.");  // a type-0 item after other types joins grid 0
  EXPECT_EQ(s.screen->clientName()->text(), "New Client" + QString(15, ' '));

  // Each grid takes the keys of its type and shows its help.
  type("3a");
  press(Qt::Key_Return);
  EXPECT_EQ(s.rig.prompter.beeps, 3);
  press(Qt::Key_Right);
  press(Qt::Key_Left);
  EXPECT_EQ((std::pair{s.code(1), s.row(0)}), (std::pair{'0', 1}));
  type("2");
  EXPECT_EQ((std::pair{s.code(1), s.row(0)}), (std::pair{'2', 2}));
  focusOn(s.grid(1));  // frequencies: 5 is refused, 4 taken
  type("54");
  EXPECT_EQ(s.rig.prompter.beeps, 4);
  EXPECT_EQ(s.code(106), '4');
  focusOn(s.grid(5));  // five choices: 5 is stored as code 5
  type("5");
  EXPECT_EQ(s.code(148), '5');
  // Each grid shows its help; type 4 has none and the panel keeps what it had.
  QStringList shown, expected;
  for (int g = 0; g < 7; ++g) {
    focusOn(s.grid(g));
    shown << s.screen->msgPanel()->text();
    const char* help = gridHelp(s.screen->gridType(g));
    expected << (help ? QString(help) : expected.back());
  }
  EXPECT_EQ(shown, expected);
}

TEST(NewEntryScreen, ColoursOfNormalChosenAndHighlightedCellsAndTheTabOrder) {
  GridScreen s;
  EXPECT_EQ((QStringList{s.cells(0, 1), s.cells(0, 2)}), (QStringList{"L--", "L.."}));  // row 1 highlighted on arrival
  type("1");
  EXPECT_EQ((QStringList{s.cells(0, 1), s.cells(0, 2)}), (QStringList{"LX.", "L--"}));
  press(Qt::Key_Up);  // changing an answer moves the X
  type("2");
  EXPECT_EQ((QStringList{s.cells(0, 1), s.cells(0, 2)}), (QStringList{"L.X", "L--"}));
  // Leaving the grid takes its highlight away.
  EXPECT_EQ(focusAfter(Qt::Key_Tab), s.grid(1));
  EXPECT_EQ((QStringList{s.cells(0, 2), s.cells(1, 1)}), (QStringList{"L..", "L----"}));
  // Tab runs on through the grids to SAVE and DISCARD.
  std::vector<QWidget*> order, expected{s.screen->menu()->button(0), s.screen->menu()->button(1)};
  for (int g = 2; g < s.screen->gridCount(); ++g) expected.insert(expected.end() - 2, s.grid(g));
  for (std::size_t i = 0; i < expected.size(); ++i) order.push_back(focusAfter(Qt::Key_Tab));
  EXPECT_EQ(order, expected);
}

TEST(NewEntryScreen, TheFocusFollowsTheCursorAcrossGridsScrollingAndStaysAtTheEnds) {
  GridScreen s;
  EXPECT_EQ(focusAfter(Qt::Key_Up), s.grid(0));  // row 1 of the first grid: beep
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  QScrollBar* bar = s.grid(0)->verticalScrollBar();  // 17 rows in view
  for (int i = 0; i < 16; ++i) type("1");
  EXPECT_EQ(bar->value(), 0);  // row 17 is still in view
  type("2");
  EXPECT_EQ(bar->value(), 16);  // row 17 is now the first visible row
  focusOn(s.grid(1));
  EXPECT_EQ(focusAfter(Qt::Key_Up), s.grid(0));  // row 1 of grid 1: the last item of grid 0
  EXPECT_EQ(s.grid(0)->currentRow(), 105);
  EXPECT_EQ(bar->value(), 106 - 17);
  type("1");  // last item of grid 0: stored, then row 1 of grid 1
  EXPECT_EQ(s.code(154), '1');
  EXPECT_EQ(focused(), s.grid(1));
  EXPECT_EQ(s.row(1), 1);
  // The last item of the last grid stays, shows its X highlighted and beeps.
  focusOn(s.grid(6));
  for (int row = 1; row < 3; ++row) press(Qt::Key_Down);
  type("4");
  EXPECT_EQ(s.code(153), '4');
  EXPECT_EQ(s.rig.prompter.beeps, 2);
  EXPECT_EQ(focused(), s.grid(6));
  EXPECT_EQ(s.cells(6, 3), "L---#-");
}

TEST(NewEntryScreen, SaveStoresTheAnswersAndClosesAFailedSaveKeepsTheGridOpen) {
  GridScreen s;
  type("21");
  s.rig.fs.arm({"write", "", EROFS, 1});
  s.rig.prompter.script(Answer::Cancel);
  focusOn(s.screen->menu()->button(0));
  EXPECT_EQ(s.screen->msgPanel()->text(), "SAVE data, close this window and return to Main Menu");
  press(Qt::Key_Return);
  EXPECT_EQ((std::pair{s.screen->saved(), s.screen->isVisible()}), std::pair(false, true));
  EXPECT_EQ(s.rig.prompter.asked.size(), 1u);
  EXPECT_EQ(s.screen->answers().joined().substr(0, 3), "210");
  EXPECT_TRUE(s.screen->menu()->button(1)->isEnabled());
  press(Qt::Key_Return);  // the disk is writable again; the focus stayed on SAVE
  EXPECT_EQ((std::pair{s.screen->saved(), s.screen->isVisible()}), std::pair(true, false));
  EXPECT_EQ(readBytes(s.rig.clientFile()).substr(2 * kRecordSize + 91, 162), "21" + std::string(160, '0'));
}

// What a discarded grid leaves: EntryMethodScreen (the chain frees the slot, the file stays).
TEST(NewEntryScreen, EditedClientShowsItsAnswersAndNonDigitsAsUnansweredDiscardClosesEscapeDoesNot) {
  std::string stored(162, '1');
  stored[2] = ' ';
  stored[3] = 'x';
  stored[147] = '5';
  GridScreen s(true, stored);
  EXPECT_EQ((QStringList{s.cells(0, 1), s.cells(0, 2), s.cells(0, 3), s.cells(0, 4), s.cells(5, 1)}),
            (QStringList{"L#-", "LX.", "L..", "L..", "L....X"}));
  type("2");
  press(Qt::Key_Escape);
  EXPECT_TRUE(s.screen->isVisible());
  EXPECT_EQ(s.code(1), '2');
  focusOn(s.screen->menu()->button(1));
  EXPECT_EQ(s.screen->msgPanel()->text(), "DISCARD data, close this window and return to Main Menu");
  press(Qt::Key_Return);
  EXPECT_EQ((std::pair{s.screen->saved(), s.screen->isVisible()}), std::pair(false, false));
}

// Which scans count as short: GridEntryTest.
TEST(NewEntryScreen, ScannedAnswersWarningOnlyForAShortString) {
  for (int scanned : {150, 162}) {
    const std::string answers = std::string(scanned - 1, '1') + (scanned == 162 ? "0" : "1");
    GridScreen s(false, answers, true);
    const AskedList warning{{"Scanned answers being populated for editing but\rsome answers did not scan correctly.\r"
                             "Check responses carefully.", "Scanned Answers Warning", Buttons::Ok, Icon::None}};
    EXPECT_EQ(s.rig.prompter.asked, scanned == 162 ? AskedList{} : warning);
    EXPECT_EQ(s.screen->answers().joined(), answers + std::string(162 - scanned, '0'));
  }
}

// The installed question bank's items, every one keyed in the grid of its
// type: AddClientEndToEnd (EntryMethodScreenTest); its answer types:
// InstallationCheckTest.
TEST(NewEntryScreen, AMissingQuestionBankIsReportedAndTheScreenNotOpened) {
  IntakeRig rig;
  std::filesystem::remove(rig.program.file("ZV.db"));
  frmNewEntry missing(rig.state);
  EXPECT_FALSE(missing.ready());
  ASSERT_EQ(rig.prompter.asked.size(), 1u);
  EXPECT_EQ(rig.prompter.asked[0].title, "Zorvex");
}
