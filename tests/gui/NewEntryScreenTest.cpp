#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScrollBar>
#include <cerrno>

#include "sheets/qt/frmNewEntry.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

const QColor kWhite(255, 255, 255), kDarkBlue(0, 0, 128), kGreen(0, 255, 0), kCyan(0, 255, 255), kBlack(0, 0, 0);

// Every answer type occurs; a late "False" item joins the first grid.
std::vector<std::pair<int, std::string>> mixedRows() {
  const std::pair<int, const char*> upTo[] = {{105, "False"}, {139, "Sometimes"},   {145, "Once"},
                                              {146, "No"},    {147, "No Change"},   {150, "Mostly True"},
                                              {153, "Often"}, {154, "False"},       {162, "Nope"}};
  std::vector<std::pair<int, std::string>> rows;
  int i = 1;
  for (const auto& [last, answer2] : upTo)
    for (; i <= last; ++i) rows.push_back({i, answer2});
  return rows;
}

struct GridScreen {
  IntakeRig rig;
  std::unique_ptr<frmNewEntry> screen;
  // A new client in slot RecordCount + 1 (or, editing, stored client 2).
  explicit GridScreen(const std::vector<std::pair<int, std::string>>& rows = mixedRows(), bool edit = false,
                      int stored = 2) {
    rig.questionTable(rows);
    rig.storeClients(stored);
    ClientTable& t = rig.state.clients;
    if (edit) {
      t.CurrentRecord = 2;
      t.EditMode = true;
    } else {
      t.CurrentRecord = static_cast<std::int16_t>(t.RecordCount + 1);
      t.current().setRaw(Field::Name, "Keyed Client");
      t.current().setRaw(Field::Responses, std::string(162, '0'));
      t.current().setRaw(Field::NameDeleted, "0");
      t.EditMode = false;
    }
  }
  void open() {
    screen = std::make_unique<frmNewEntry>(rig.state);
    ASSERT_TRUE(screen->ready());
    showActive(screen.get());
  }
  QTableWidget* grid(int g) { return screen->grid(g); }
  int row(int g) { return screen->navigator().row(g); }
  QColor back(int g, int row, int col) { return grid(g)->item(row - 1, col)->background().color(); }
  QColor fore(int g, int row, int col) { return grid(g)->item(row - 1, col)->foreground().color(); }
  QString cell(int g, int row, int col) { return grid(g)->item(row - 1, col)->text(); }
  void focusGrid(int g) {
    grid(g)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }
};

}  // namespace

TEST(NewEntryScreen, OneGridPerAnswerTypeWithItsLabelHeaderAndItems) {
  GridScreen s;
  s.open();
  ASSERT_EQ(s.screen->gridCount(), 7);
  const int types[] = {0, 3, 2, 1, 4, 5, 6};
  const int rows[] = {106, 34, 14, 1, 1, 3, 3};
  for (int g = 0; g < 7; ++g) {
    EXPECT_EQ(s.screen->gridType(g), types[g]) << g;
    EXPECT_EQ(s.grid(g)->property("Tag").toString(), QString::number(types[g]));
    EXPECT_EQ(s.grid(g)->rowCount(), rows[g]) << g;
    EXPECT_EQ(s.screen->sectionLabel(g)->text(), QString("Section %1").arg(g + 1));
    EXPECT_EQ(s.grid(g)->columnCount(), columnCount(types[g]));
  }
  EXPECT_EQ(s.grid(0)->horizontalHeaderItem(0)->text(), "Num");
  EXPECT_EQ(s.grid(0)->horizontalHeaderItem(2)->text(), "2");
  EXPECT_EQ(s.grid(5)->horizontalHeaderItem(5)->text(), "5");
  EXPECT_EQ(s.cell(0, 1, 0), "1.");
  EXPECT_EQ(s.cell(0, 106, 0), "154.");  // a type-0 item after other types joins grid 0
  // "No" alone is type 1; a longer text beginning with "No" is type 2 unless it begins "No Ch".
  EXPECT_EQ(s.screen->itemAt(3, 1), 146);
  EXPECT_EQ(s.screen->itemAt(4, 1), 147);
  EXPECT_EQ(s.screen->itemAt(2, 7), 155);
  // Side by side, each label right above its grid.
  for (int g = 1; g < 7; ++g) {
    EXPECT_GT(s.grid(g)->x(), s.grid(g - 1)->x() + s.grid(g - 1)->width());
    EXPECT_EQ(s.grid(g)->y(), s.grid(0)->y());
    EXPECT_EQ(s.screen->sectionLabel(g)->x(), s.grid(g)->x());
    EXPECT_EQ(s.screen->sectionLabel(g)->geometry().bottom() + 1, s.grid(g)->y());
  }
  EXPECT_EQ(s.screen->clientName()->text(), "Keyed Client" + QString(13, ' '));
}

TEST(NewEntryScreen, KeysEachGridTakes) {
  GridScreen s;
  s.open();
  EXPECT_EQ(focused(), s.grid(0));
  EXPECT_EQ(s.screen->msgPanel()->text(), "0=No answer, 1=True, 2=False, Tab=Next grid");
  type("3");
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(s.screen->answers().code(1), '0');
  EXPECT_EQ(s.row(0), 1);
  type("a");
  EXPECT_EQ(s.rig.prompter.beeps, 2);
  press(Qt::Key_Return);
  EXPECT_EQ(s.rig.prompter.beeps, 3);
  press(Qt::Key_Right);
  press(Qt::Key_Left);
  EXPECT_EQ(s.rig.prompter.beeps, 3);
  type("2");
  EXPECT_EQ(s.screen->answers().code(1), '2');
  EXPECT_EQ(s.row(0), 2);
  // Frequency grid: 4 is taken, 5 is not.
  s.focusGrid(1);
  EXPECT_EQ(s.screen->msgPanel()->text(),
            "0=No answer, 1=Rare or Never, 2=Sometimes, 3=Often, 4=Very Often, Tab=Next grid");
  type("5");
  EXPECT_EQ(s.rig.prompter.beeps, 4);
  type("4");
  EXPECT_EQ(s.screen->answers().code(106), '4');
  // Five-choice grid: 5 is stored as code 5.
  const QString fiveChoices = "0=No answer, 1=True, 2=Mostly True, 3=Can't Decide, 4=Mostly False, 5=False, Tab=Next grid";
  s.focusGrid(5);
  EXPECT_EQ(s.screen->msgPanel()->text(), fiveChoices);
  type("5");
  EXPECT_EQ(s.screen->answers().code(148), '5');
  // Type 4 shows no help text of its own: the panel keeps what it had.
  s.focusGrid(4);
  EXPECT_EQ(s.screen->msgPanel()->text(), fiveChoices);
  s.focusGrid(3);
  EXPECT_EQ(s.screen->msgPanel()->text(), "0=No answer, 1=Yes, 2=No, Tab=Next grid");
  type("3");
  EXPECT_EQ(s.screen->answers().code(146), '0');
  s.focusGrid(6);
  EXPECT_EQ(s.screen->msgPanel()->text(),
            "0=No answer, 1=Very Often, 2=Often, 3=Can't Decide, 4=Often, 5=Very Often, Tab=Next grid");
  s.focusGrid(2);
  EXPECT_EQ(s.screen->msgPanel()->text(), "0=No answer, 1=1, 2=2,  3=3, 4=4, Tab=Next grid");
}

TEST(NewEntryScreen, ColoursOfNormalChosenAndHighlightedCells) {
  GridScreen s;
  s.open();
  // Row 1 highlighted on arrival.
  EXPECT_EQ(s.back(0, 1, 1), kCyan);
  EXPECT_EQ(s.fore(0, 1, 1), kBlack);
  EXPECT_EQ(s.back(0, 1, 0), kWhite);
  EXPECT_EQ(s.fore(0, 1, 0), kDarkBlue);
  EXPECT_EQ(s.back(0, 2, 1), kWhite);
  EXPECT_EQ(s.fore(0, 2, 1), kDarkBlue);
  type("1");
  EXPECT_EQ(s.cell(0, 1, 1), "X");
  EXPECT_EQ(s.back(0, 1, 1), kGreen);
  EXPECT_EQ(s.fore(0, 1, 1), kBlack);
  EXPECT_EQ(s.cell(0, 1, 2), "");
  EXPECT_EQ(s.back(0, 1, 2), kWhite);
  EXPECT_EQ(s.back(0, 2, 1), kCyan);
  EXPECT_EQ(s.back(0, 2, 2), kCyan);
  // Changing an answer moves the X.
  press(Qt::Key_Up);
  type("2");
  EXPECT_EQ(s.cell(0, 1, 1), "");
  EXPECT_EQ(s.cell(0, 1, 2), "X");
  // Leaving the grid takes its highlight away.
  press(Qt::Key_Tab);
  EXPECT_EQ(focused(), s.grid(1));
  EXPECT_EQ(s.back(0, 2, 1), kWhite);
  EXPECT_EQ(s.back(1, 1, 1), kCyan);
}

TEST(NewEntryScreen, GridEndsLeadOnBeepAtTheOuterEndsAndUpComesBack) {
  GridScreen s;
  s.open();
  // Up at row 1 of the first grid beeps.
  press(Qt::Key_Up);
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(focused(), s.grid(0));
  EXPECT_EQ(s.row(0), 1);
  press(Qt::Key_Down);
  press(Qt::Key_Down);
  EXPECT_EQ(s.row(0), 3);
  press(Qt::Key_Up);
  EXPECT_EQ(s.row(0), 2);
  EXPECT_EQ(s.grid(0)->currentRow(), 1);
  s.rig.prompter.beeps = 0;
  s.focusGrid(1);
  press(Qt::Key_Up);  // row 1 of grid 1: the last item of grid 0
  EXPECT_EQ(focused(), s.grid(0));
  EXPECT_EQ(s.row(0), 106);
  EXPECT_EQ(s.rig.prompter.beeps, 0);
  type("1");  // last item of grid 0: stored, then row 1 of grid 1
  EXPECT_EQ(s.screen->answers().code(154), '1');
  EXPECT_EQ(focused(), s.grid(1));
  EXPECT_EQ(s.row(1), 1);
  s.focusGrid(2);
  press(Qt::Key_Up);  // Up at row 1 of grid 2: the last item of grid 1
  EXPECT_EQ(focused(), s.grid(1));
  EXPECT_EQ(s.row(1), 34);
  s.focusGrid(0);
  EXPECT_EQ(s.row(0), 106);
  s.focusGrid(1);
  press(Qt::Key_Backspace);  // Backspace at a row other than 1 moves nothing and beeps
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(s.row(1), 34);
  // The last item of the last grid stays and beeps.
  s.rig.prompter.beeps = 0;
  s.focusGrid(6);
  press(Qt::Key_Down);
  press(Qt::Key_Down);
  EXPECT_EQ(s.row(6), 3);
  EXPECT_EQ(s.rig.prompter.beeps, 0);
  type("4");
  EXPECT_EQ(s.screen->answers().code(153), '4');
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(focused(), s.grid(6));
  EXPECT_EQ(s.row(6), 3);
  EXPECT_EQ(s.cell(6, 3, 4), "X");
  EXPECT_EQ(s.back(6, 3, 4), kCyan);  // still the highlighted row
  press(Qt::Key_Down);
  EXPECT_EQ(s.rig.prompter.beeps, 2);
  EXPECT_EQ(s.row(6), 3);
}

TEST(NewEntryScreen, SeventeenRowGridScrollsWithTheCursor) {
  GridScreen s;
  s.open();
  QScrollBar* bar = s.grid(0)->verticalScrollBar();
  EXPECT_EQ(bar->value(), 0);
  for (int i = 0; i < 16; ++i) type("1");
  EXPECT_EQ(s.row(0), 17);
  EXPECT_EQ(bar->value(), 0);  // row 17 is still in view
  type("2");
  EXPECT_EQ(s.row(0), 18);
  EXPECT_EQ(bar->value(), 16);  // row 17 is now the first visible row
  s.focusGrid(1);
  press(Qt::Key_Up);  // to item 154, row 106 of grid 0
  EXPECT_EQ(bar->value(), 106 - 17);
}

TEST(NewEntryScreen, SaveStoresANewClientAsTheNextRecord) {
  GridScreen s;
  s.open();
  type("12");
  EXPECT_EQ(s.rig.state.clients.RecordCount, 2);
  s.screen->menu()->button(0)->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(s.screen->msgPanel()->text(), "SAVE data, close this window and return to Main Menu");
  press(Qt::Key_Return);
  EXPECT_TRUE(s.screen->saved());
  EXPECT_FALSE(s.screen->isVisible());
  const ClientTable& t = s.rig.state.clients;
  EXPECT_EQ(t.RecordCount, 3);
  EXPECT_EQ(t.CurrentRecord, 3);
  EXPECT_FALSE(t.EditMode);
  const std::string disk = readBytes(s.rig.clientFile());
  ASSERT_EQ(disk.size(), 3 * kRecordSize);
  EXPECT_EQ(disk.substr(2 * kRecordSize), t.slot[3].bytes());
  EXPECT_EQ(disk.substr(2 * kRecordSize + 91, 162), "12" + std::string(160, '0'));
}

TEST(NewEntryScreen, SaveWithoutTypingStores162Zeros) {
  GridScreen s;
  s.open();
  for (int g = 0; g < s.screen->gridCount(); ++g)
    for (int r = 1; r <= s.grid(g)->rowCount(); ++r)
      for (int c = 1; c < s.grid(g)->columnCount(); ++c) ASSERT_EQ(s.cell(g, r, c), "");
  s.screen->save();
  EXPECT_EQ(readBytes(s.rig.clientFile()).substr(2 * kRecordSize + 91, 162), std::string(162, '0'));
}

TEST(NewEntryScreen, DiscardOfANewClientLeavesTheFileAndFreesTheSlot) {
  GridScreen s;
  s.open();
  const std::string disk = readBytes(s.rig.clientFile());
  type("1");
  s.screen->menu()->button(1)->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(s.screen->msgPanel()->text(), "DISCARD data, close this window and return to Main Menu");
  press(Qt::Key_Return);
  EXPECT_FALSE(s.screen->saved());
  EXPECT_FALSE(s.screen->isVisible());
  EXPECT_EQ(readBytes(s.rig.clientFile()), disk);
  EXPECT_EQ(s.rig.state.clients.RecordCount, 2);
  // Escape does not throw the answers away.
  GridScreen again;
  again.open();
  type("2");
  press(Qt::Key_Escape);
  EXPECT_TRUE(again.screen->isVisible());
  EXPECT_EQ(again.screen->answers().code(1), '2');
}

TEST(NewEntryScreen, FailedSaveKeepsTheGridOpenWithItsAnswers) {
  GridScreen s;
  s.open();
  type("21");
  s.rig.fs.arm({"write", "", EROFS, 1});
  s.rig.prompter.script(Answer::Cancel);
  s.screen->menu()->button(0)->setFocus();
  QApplication::processEvents();
  press(Qt::Key_Return);
  EXPECT_FALSE(s.screen->saved());
  EXPECT_TRUE(s.screen->isVisible());
  ASSERT_EQ(s.rig.prompter.asked.size(), 1u);
  EXPECT_EQ(s.rig.prompter.asked[0].title, "Data Disk Error");
  EXPECT_EQ(s.rig.state.clients.RecordCount, 2);
  EXPECT_EQ(readBytes(s.rig.clientFile()).size(), 2 * kRecordSize);
  EXPECT_EQ(s.screen->answers().code(1), '2');
  EXPECT_EQ(s.screen->answers().code(2), '1');
  EXPECT_TRUE(s.screen->menu()->button(0)->isEnabled());
  EXPECT_TRUE(s.screen->menu()->button(1)->isEnabled());
  EXPECT_EQ(focused(), s.screen->menu()->button(0));
  press(Qt::Key_Return);  // the disk is writable again
  EXPECT_TRUE(s.screen->saved());
  EXPECT_EQ(s.rig.state.clients.RecordCount, 3);
  EXPECT_EQ(readBytes(s.rig.clientFile()).substr(2 * kRecordSize + 91, 3), "210");
}

TEST(NewEntryScreen, EditedClientShowsItsAnswersAndNonDigitsAsUnanswered) {
  GridScreen s(mixedRows(), true);
  std::string stored(162, '1');
  stored[2] = ' ';
  stored[3] = 'x';
  stored[147] = '5';
  s.rig.state.clients.slot[2].setRaw(Field::Responses, stored);
  s.open();
  EXPECT_EQ(s.cell(0, 1, 1), "X");
  EXPECT_EQ(s.back(0, 2, 1), kGreen);
  EXPECT_EQ(s.cell(0, 3, 1), "");
  EXPECT_EQ(s.cell(0, 3, 2), "");
  EXPECT_EQ(s.cell(0, 4, 1), "");
  EXPECT_EQ(s.cell(5, 1, 5), "X");
  s.screen->save();
  const std::string disk = readBytes(s.rig.clientFile());
  ASSERT_EQ(disk.size(), 2 * kRecordSize);
  std::string expected = stored;
  expected[2] = '0';
  expected[3] = '0';
  EXPECT_EQ(disk.substr(kRecordSize + 91, 162), expected);
  EXPECT_EQ(s.rig.state.clients.RecordCount, 2);
}

TEST(NewEntryScreen, ScannedAnswersWarningOnlyForAShortString) {
  {
    GridScreen s;
    s.rig.state.ScannedAnswers = true;
    s.rig.state.clients.current().setText(Field::Responses, std::string(150, '2'));
    s.open();
    ASSERT_EQ(s.rig.prompter.asked.size(), 1u);
    EXPECT_EQ(s.rig.prompter.asked[0].title, "Scanned Answers Warning");
    EXPECT_EQ(s.rig.prompter.asked[0].text,
              "Scanned answers being populated for editing but\rsome answers did not scan correctly.\rCheck responses "
              "carefully.");
    EXPECT_EQ(s.screen->answers().joined(), std::string(150, '2') + std::string(12, '0'));
  }
  {
    GridScreen s;
    s.rig.state.ScannedAnswers = true;
    s.rig.state.clients.current().setText(Field::Responses, std::string(161, '1') + "0");
    s.open();
    EXPECT_TRUE(s.rig.prompter.asked.empty());
    EXPECT_EQ(s.cell(6, 3, 1), "X");  // item 153
    EXPECT_EQ(s.screen->answers().code(162), '0');
  }
}

TEST(NewEntryScreen, TabOrderRunsThroughTheGridsToSaveAndDiscard) {
  GridScreen s;
  s.open();
  for (int g = 1; g < s.screen->gridCount(); ++g) {
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), s.grid(g));
  }
  press(Qt::Key_Tab);
  EXPECT_EQ(focused(), s.screen->menu()->button(0));
  press(Qt::Key_Tab);
  EXPECT_EQ(focused(), s.screen->menu()->button(1));
}

TEST(NewEntryScreen, WorksWithTheInstalledQuestionBankAndReportsAMissingOne) {
  IntakeRig rig;
  rig.state.clients.CurrentRecord = 1;
  rig.state.clients.current().setRaw(Field::Responses, std::string(162, '0'));
  frmNewEntry screen(rig.state);
  ASSERT_TRUE(screen.ready());
  // Whatever the bank holds, every item is in the grid of its answer type.
  Database db = rig.state.workspace.OpenDatabase(rig.state.questionDbPath());
  Recordset rs = db.OpenTable("English");
  int items = 0;
  for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
    const int id = static_cast<int>(rs.fieldInt("ID"));
    if (id < 1 || id > 162) continue;
    ++items;
    const int type = answerTypeOf(rs.field("ANSWER2"));
    bool found = false;
    for (int g = 0; g < screen.gridCount() && !found; ++g)
      for (int r = 1; r <= screen.grid(g)->rowCount(); ++r)
        if (screen.itemAt(g, r) == id) {
          EXPECT_EQ(screen.gridType(g), type) << id;
          found = true;
          break;
        }
    EXPECT_TRUE(found) << id;
  }
  int rows = 0;
  for (int g = 0; g < screen.gridCount(); ++g) rows += screen.grid(g)->rowCount();
  EXPECT_EQ(rows, items);
  // Without the question database the grid screen is reported and not opened.
  std::filesystem::remove(rig.program.file("ZV.db"));
  frmNewEntry missing(rig.state);
  EXPECT_FALSE(missing.ready());
  ASSERT_EQ(rig.prompter.asked.size(), 1u);
  EXPECT_EQ(rig.prompter.asked[0].title, "Zorvex");
}

